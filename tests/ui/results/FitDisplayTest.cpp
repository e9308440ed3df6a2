#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QThread>
#include <fstream>

#include "FakeFitRun.h"
#include "FitDisplay.h"
#include "RunClock.h"
#include "UiTestSupport.h"

namespace {

class FitFrame : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        state = std::make_shared<TFakeFitState>();
    }
    std::unique_ptr<TFitDisplay> Frame() {
        return std::make_unique<TFitDisplay>(nullptr, std::make_unique<TFakeFitRun>(state));
    }
    void WriteOutput(const std::string& text) {
        std::ofstream(Folder() + state->output, std::ios::binary) << text;
    }
    std::shared_ptr<TFakeFitState> state;
};

} // namespace

TEST(RunClock, PausedSpansAreLeftOut) {
    TRunClock clock(1000);
    EXPECT_EQ(clock.Elapsed(3500), 2500);
    clock.Pause(4000);
    EXPECT_EQ(clock.Elapsed(9000), 3000); // stands still while paused
    clock.Pause(10000);                   // a second pause keeps the first
    clock.Resume(14000);
    EXPECT_EQ(clock.Elapsed(15000), 4000); // ten seconds behind the wall clock
    clock.Resume(20000);                   // not paused: nothing moves
    EXPECT_EQ(clock.Elapsed(21000), 10000);

    EXPECT_EQ(TRunClock::Format(3723004), "01:02:03.004");
    EXPECT_EQ(TRunClock::Format(360000000), "100:00:00.000");
}

TEST_F(FitFrame, FollowsTheRunUnlessPaused) {
    auto frame = Frame();

    state->advancement = 110; // the run passes 100 before its end
    state->treatment = "Repetition : 1/2";
    state->progress = {"SEARCH", "line 1"};
    frame->Timer1Timer();
    EXPECT_EQ(frame->ProgressBar1->value(), 100);
    EXPECT_EQ(frame->RichEdit1->toPlainText(), "SEARCH\nline 1");

    frame->PauseFit();
    const std::int64_t atPause = frame->ElapsedMs();
    state->treatment = "Repetition : 2/2";
    QThread::msleep(60);
    frame->Timer1Timer();
    EXPECT_EQ(frame->Label2->text(), "Repetition : 1/2"); // paused: nothing changes
    EXPECT_EQ(frame->ElapsedMs(), atPause);

    frame->PlayFit();
    frame->Timer1Timer();
    EXPECT_EQ(frame->Label2->text(), "Repetition : 2/2");
}

TEST_F(FitFrame, FinishedFitShowsItsOutputInSlices) {
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "Repetition\t" + std::to_string(i) + "\r\n";
    WriteOutput(text);
    state->leaveOneOut = true;
    auto frame = Frame();
    state->finished = true;
    frame->Timer1Timer();
    EXPECT_FALSE(frame->ParamSelectBtn->isEnabled()); // no parameter choice after a leave-one-out fit
    EXPECT_TRUE(frame->Loading());                    // the window keeps answering while the rest goes in
    WaitWhile([&] { return frame->Loading(); }, 10000);
    ASSERT_FALSE(frame->Loading());
    EXPECT_EQ(frame->RichEdit1->blockCount(), 5000);
    EXPECT_EQ(frame->RichEdit1->document()->findBlockByNumber(4999).text(), "Repetition\t4999");

    frame.reset(); // a finished fit is freed without a word
    EXPECT_TRUE(state->destroyed && state->quits == 0);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
}

TEST_F(FitFrame, OutputColumnsLineUpUnderTheirNames) {
    // Names wider and narrower than their values, in tables of different shapes.
    const std::vector<std::vector<int>> tables = {{0, 1}, {3, 4, 5}};
    WriteOutput("Model Type:\tExample GDD\r\nT0<1>:\t1.0\r\n\r\n"
                "station_code\tprovenance/family\tyear\tpredicted <0>\tobserved <0>\tused to fit <0>\r\n"
                "1\t1\t2001\t123.4\t124.0\t1\r\n"
                "100245\tA long provenance name\t2002\t-9999.0\t125.0\t0\r\n");
    auto frame = Frame();
    state->finished = true;
    frame->Timer1Timer();
    ASSERT_TRUE(WaitWhile([&] { return frame->Loading(); }, 10000));
    QTextDocument* doc = frame->RichEdit1->document();
    // Where each cell of a line starts and ends, as the text box lays it out.
    const auto cells = [&](int number) {
        const QTextBlock block = doc->findBlockByNumber(number);
        doc->documentLayout()->blockBoundingRect(block);
        const QTextLine line = block.layout()->lineAt(0);
        std::vector<std::pair<qreal, qreal>> spans;
        qsizetype from = 0;
        for (const QString& cell : block.text().split('\t')) {
            spans.push_back({line.cursorToX(static_cast<int>(from)),
                             line.cursorToX(static_cast<int>(from + cell.size()))});
            from += cell.size() + 1;
        }
        return spans;
    };
    for (const auto& table : tables) {
        const auto header = cells(table[0]);
        for (int row : table) {
            SCOPED_TRACE("line " + std::to_string(row));
            const auto spans = cells(row);
            ASSERT_EQ(spans.size(), header.size());
            for (size_t j = 0; j < spans.size(); ++j) {
                EXPECT_EQ(spans[j].first, header[j].first) << "column " << j;
                if (j > 0) {
                    EXPECT_LT(spans[j - 1].second, spans[j].first) << "column " << j;
                }
            }
        }
    }
}

TEST_F(FitFrame, FailuresAreShownOnce) {
    {
        auto frame = Frame();
        state->finished = state->error = true;
        state->errorInfo = "The number of NON-MISSING observations for the Fit <0>";
        frame->Timer1Timer();
        EXPECT_EQ(dialogs.shown, QStringList{"The number of NON-MISSING observations for the Fit <0>"});
        EXPECT_EQ(state->quits, 1);
        frame->Timer1Timer(); // the timer has stopped; a stray tick shows nothing again
        EXPECT_EQ(dialogs.shown.size(), 1);
    }
    // An output that cannot be read leaves the text box as it was.
    dialogs.shown.clear();
    state = std::make_shared<TFakeFitState>();
    state->output = "missing.txt";
    state->progress = {"SEARCH"};
    auto frame = Frame();
    frame->Timer1Timer();
    state->finished = true;
    frame->Timer1Timer();
    EXPECT_EQ(dialogs.shown, QStringList{"Output file cannot be read (may be already in use) : missing.txt"});
    EXPECT_EQ(frame->RichEdit1->toPlainText(), "SEARCH");
}

TEST_F(FitFrame, ClosingARunningFitStopsTheTimerBeforeItsMessage) {
    // The message box runs the event loop while it is shown.
    class TLingeringDialogs : public TFakeDialogs {
    public:
        void Message(QWidget* parent, const QString& text) override {
            TFakeDialogs::Message(parent, text);
            WaitWhile([] { return true; }, 350);
        }
    } lingering;
    state->output = "missing.txt";
    Frame().reset();
    EXPECT_EQ(lingering.shown, QStringList{"Fit canceled !"});
    EXPECT_EQ(state->quits, 1);
}
