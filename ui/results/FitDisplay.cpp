#include "FitDisplay.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "AppFolder.h"
#include "Dialogs.h"
#include "FileUtils.h"
#include "OutputFile.h"
#include "SlotGuard.h"
#include "StatsManager.h"
#include "TabColumns.h"

namespace {
// Lines put into the text box per event-loop turn: a large output never holds the window.
constexpr qsizetype LOAD_SLICE = 2000;
} // namespace

TFitDisplay::TFitDisplay(QWidget* owner, std::unique_ptr<TFitRun> run, std::string createdOutput)
    : QWidget(owner), fit(std::move(run)), createdOutput_(std::move(createdOutput)), clock_(0) {
    steady_.start(); // the clock's zero
    Label1 = new QLabel(QStringLiteral("Execution time:"));
    Label2 = new QLabel;
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    OutputLabel = new QLabel(QString::fromStdString(fit->OutputFile()));
    OutputLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    RichEdit1 = new QPlainTextEdit;
    RichEdit1->setReadOnly(true);
    RichEdit1->setUndoRedoEnabled(false);
    // The output's tables line up only in a fixed-width font.
    RichEdit1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setRange(0, 100);
    ParamSelectBtn = new QPushButton(QStringLiteral("Select a Set of Parameters..."));
    ParamSelectBtn->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(Label1);
    top->addStretch();
    top->addWidget(Label2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1, 1);
    bottom->addStretch();
    bottom->addWidget(ParamSelectBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(OutputLabel);
    layout->addWidget(RichEdit1, 1);
    layout->addLayout(bottom);

    loader_ = new QTimer(this);
    loader_->setInterval(0);
    connect(loader_, &QTimer::timeout, this, &TFitDisplay::LoadSlice);
    connect(ParamSelectBtn, &QPushButton::clicked, this, &TFitDisplay::ParamSelectBtnClick);
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TFitDisplay::Timer1Timer);
    Timer1->start();
}

TFitDisplay::~TFitDisplay() {
    if (!fit) return;
    // The message box runs the event loop: a tick then would take the stopped fit for a
    // finished one.
    Timer1->stop();
    if (!fit->Finished()) {
        fit->Quit();
        RemoveIfEmpty(createdOutput_);
        try {
            Dialogs().Message(this, QStringLiteral("Fit canceled !"));
        } catch (...) {
            // Nothing may leave a destructor; the fit is stopped all the same.
        }
    } else if (fit->Error()) {
        RemoveIfEmpty(createdOutput_); // failed before a tick could show it
    }
    fit.reset();
}

bool TFitDisplay::IsRunning() const {
    return fit && !fit->Finished() && !fit->Paused();
}

bool TFitDisplay::IsFinished() const {
    return !fit || fit->Finished();
}

bool TFitDisplay::Waiting() const {
    return Timer1->isActive();
}

void TFitDisplay::PauseFit() {
    if (IsFinished()) return;
    fit->Pause();
    clock_.Pause(Now());
}

void TFitDisplay::PlayFit() {
    if (IsFinished()) return;
    fit->Resume();
    clock_.Resume(Now());
}

std::int64_t TFitDisplay::ElapsedMs() const {
    return clock_.Elapsed(Now());
}

void TFitDisplay::Timer1Timer() {
    Guarded(this, [&] {
        // Once the end is shown the frame only keeps the run for the statistics grid.
        if (!fit || !Timer1->isActive()) return;
        if (fit->Finished()) {
            Timer1->stop();
            ShowElapsedTime(); // a run shorter than a tick still tells its time
            if (fit->Error())
                ShowFailure();
            else
                ShowOutput();
            return;
        }
        if (fit->Paused()) return;
        ProgressBar1->setValue(std::clamp(fit->Advancement(), 0, 100));
        Label2->setText(QString::fromStdString(fit->CurrentTreatment()));
        ShowLines(fit->MetropolisProgress());
        ShowElapsedTime();
    });
}

void TFitDisplay::ShowElapsedTime() {
    Label1->setText(QStringLiteral("Execution time: ") +
                    QString::fromStdString(TRunClock::Format(ElapsedMs())));
}

void TFitDisplay::ShowLines(const std::vector<std::string>& lines) {
    if (lines == shownProgress_) return; // the view keeps its place while nothing changes
    shownProgress_ = lines;
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    RichEdit1->setPlainText(text.join(QLatin1Char('\n')));
    RichEdit1->moveCursor(QTextCursor::Start);
}

void TFitDisplay::ShowFailure() {
    Dialogs().Error(this, QString::fromStdString(fit->ErrorInfo()));
    Label2->setText(QStringLiteral("Fit Failed!"));
    fit->Quit();
    RemoveIfEmpty(createdOutput_);
    ProgressBar1->hide();
    RichEdit1->clear();
    RichEdit1->appendPlainText(Label2->text());
}

void TFitDisplay::ShowOutput() {
    ProgressBar1->hide();
    Label2->setText(QStringLiteral("Fit is over!"));
    ParamSelectBtn->setEnabled(!fit->LeaveOneOut());
    QFile file(QString::fromStdString(GetAbsolutePath(ExeFolder(), fit->OutputFile())));
    if (!file.open(QIODevice::ReadOnly)) {
        Dialogs().Error(this, QStringLiteral("Output file cannot be read (may be already in use) : ") +
                                  QString::fromStdString(fit->OutputFile()));
        return;
    }
    QString text = QString::fromUtf8(file.readAll());
    text.remove(QLatin1Char('\r'));
    pending_ = text.split(QLatin1Char('\n'));
    // The line break ending the file opens no line of its own; an empty file still gives one.
    if (pending_.size() > 1 && pending_.back().isEmpty()) pending_.removeLast();
    loadAt_ = 0;
    RichEdit1->clear();
    // The tables line up under their names, however wide the names or the values.
    QTextOption option = RichEdit1->document()->defaultTextOption();
    option.setTabs(ColumnTabStops(pending_, RichEdit1->document()->defaultFont()));
    RichEdit1->document()->setDefaultTextOption(option);
    LoadSlice();
    if (Loading()) loader_->start();
}

void TFitDisplay::LoadSlice() {
    const qsizetype count = std::min(LOAD_SLICE, pending_.size() - loadAt_);
    RichEdit1->appendPlainText(pending_.mid(loadAt_, count).join(QLatin1Char('\n')));
    loadAt_ += count;
    if (Loading()) return;
    loader_->stop();
    pending_.clear();
    loadAt_ = 0;
    RichEdit1->moveCursor(QTextCursor::Start);
}

void TFitDisplay::ParamSelectBtnClick() {
    Guarded(this, [&] {
        TStatsManager stats(this, fit->Repetitions());
        Dialogs().Exec(&stats);
    });
}
