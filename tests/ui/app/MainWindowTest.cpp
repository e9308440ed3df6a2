// The main window's sheets, with a stand-in wizard and stand-in fit and simulation runs.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <deque>
#include <fstream>

#include "FakeFitRun.h"
#include "FakeSimulationRun.h"
#include "FillSimulationWindow.h"
#include "FitDisplay.h"
#include "MainWindow.h"
#include "UiTestSupport.h"

namespace {

// Answers the questions in turn and notes which sheet was active at each.
class TScriptedDialogs : public TFakeDialogs {
public:
    bool Confirm(QWidget* parent, const QString& text) override {
        TFakeDialogs::Confirm(parent, text);
        activeAtQuestion << (tabs ? tabs->tabText(tabs->currentIndex()) : QString());
        if (answers.empty()) return true;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<bool> answers;
    QStringList activeAtQuestion;
    QTabWidget* tabs = nullptr;
};

class MainWindow : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        window = std::make_unique<TOrvexWindow>();
        scripted.tabs = window->PageControl1;
        window->fitWizard = [this](QWidget*, const TFitPaths& paths) -> std::optional<TFitRequest> {
            shownPaths.push_back(paths);
            if (cancelWizard) return std::nullopt;
            TFitRequest request;
            request.temperaturesPath = Folder() + "data/clim.txt";
            request.phenologyPath = "/elsewhere/pheno.txt";
            request.fitInfoPath = "info.txt";
            request.saveFitAsPath = Folder() + "out.txt";
            request.savePathValues = keepPaths;
            request.maxMissingTemp = 4;
            if (makeOutput) { // as the wizard's check does
                std::ofstream(request.saveFitAsPath);
                request.createdOutput = request.saveFitAsPath;
            }
            return request;
        };
        window->fitFactory = [this](TFitRequest request) {
            fits.push_back(std::make_shared<TFakeFitState>());
            fits.back()->prepareError = !prepareError.empty();
            fits.back()->errorInfo = prepareError;
            fits.back()->request = std::move(request);
            return std::make_unique<TFakeFitRun>(fits.back());
        };
        window->simulationFactory = [this](int maxMissing, const std::string& temp, const std::string& output,
                                           const std::string& model, const std::string& t0) {
            simulationCalls.push_back({std::to_string(maxMissing), temp, output, model, t0});
            simulations.push_back(std::make_shared<TFakeSimulationState>());
            return std::make_unique<TFakeSimulationRun>(simulations.back());
        };
    }
    void TearDown() override {
        window.reset();
        TempExeFolderTest::TearDown();
    }
    QStringList Tabs() const { return TabTexts(window->PageControl1); }
    std::string Remembered(const char* key) const { return window->IniFile().ReadString("path-fit", key); }

    TScriptedDialogs scripted; // installed after the fixture's dialogs: it answers
    std::unique_ptr<TOrvexWindow> window;
    std::vector<TFitPaths> shownPaths;
    std::vector<std::shared_ptr<TFakeFitState>> fits;
    std::string prepareError;
    bool cancelWizard = false;
    bool keepPaths = true;
    bool makeOutput = false;
    std::vector<std::vector<std::string>> simulationCalls;
    std::vector<std::shared_ptr<TFakeSimulationState>> simulations;
};

} // namespace

TEST_F(MainWindow, FitSheetPausesAndPlays) {
    ASSERT_TRUE(window->FitButton->isEnabled());
    window->FitButton->trigger();
    ASSERT_EQ(fits.size(), 1u);
    EXPECT_TRUE(fits[0]->started);
    EXPECT_EQ(fits[0]->request.metropolis.missing_threshold, 4);
    EXPECT_TRUE(window->PlayPauseBtn->isVisible());

    window->PlayPauseBtn->trigger();
    EXPECT_TRUE(fits[0]->paused);
    EXPECT_EQ(window->PlayPauseBtn->text(), "Play");
    // Back on the sheet after a look at Home: the button still says what the fit needs.
    window->PageControl1->setCurrentIndex(0);
    window->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(window->PlayPauseBtn->text(), "Play");
    window->PlayPauseBtn->trigger();
    EXPECT_FALSE(fits[0]->paused);

    fits[0]->finished = true; // a finished fit ignores the button
    window->PlayPauseBtn->trigger();
    EXPECT_FALSE(fits[0]->paused);
    // Nor does a finished fit offer to play, back from another sheet.
    window->PageControl1->setCurrentIndex(0);
    window->PageControl1->setCurrentIndex(1);
    EXPECT_EQ(window->PlayPauseBtn->text(), "Pause");
    EXPECT_TRUE(scripted.shown.isEmpty()) << scripted.shown.join("|").toStdString();
}

TEST_F(MainWindow, StoppingARunningFitAsksFirst) {
    window->CreateFit();
    scripted.answers = {false};
    window->CloseTabBtn->trigger();
    EXPECT_EQ(scripted.shown, QStringList{"Do you really want to stop a running fit ?"});
    EXPECT_TRUE(Tabs().contains("Model fit 1"));
    EXPECT_FALSE(fits[0]->paused || fits[0]->quits); // Cancel lets it run on

    scripted.answers = {true};
    window->CloseTabBtn->trigger();
    EXPECT_TRUE(fits[0]->quits == 1 && fits[0]->destroyed);
    EXPECT_EQ(Tabs(), QStringList{"Home"});

    // Sheet numbers only grow; a fit seen finished closes without a question.
    scripted.shown.clear();
    window->CreateFit();
    EXPECT_EQ(Tabs(), (QStringList{"Home", "Model fit 2"}));
    fits[1]->finished = true;
    qobject_cast<TFitDisplay*>(window->PageControl1->widget(1))->Timer1Timer();
    window->CloseTabBtn->trigger();
    EXPECT_EQ(Tabs(), QStringList{"Home"});
    EXPECT_EQ(fits[1]->quits, 0);
}

TEST_F(MainWindow, QuittingAsksForTheLastRunningFitFirst) {
    window->show();
    window->CreateFit();
    window->CreateFit();
    scripted.answers = {false}; // refused: every sheet and fit stays, the window too
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(scripted.shown, QStringList{"Do you really want to quit Orvex ?"});
    EXPECT_EQ(Tabs(), (QStringList{"Home", "Model fit 1", "Model fit 2"}));
    EXPECT_FALSE(fits[0]->quits || fits[1]->quits || fits[0]->paused || fits[1]->paused);

    scripted.shown.clear();
    scripted.answers = {true, false}; // quit, then keep "Model fit 2"
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(scripted.shown, (QStringList{"Do you really want to quit Orvex ?",
                                           "Do you really want to stop a running fit ?"}));
    EXPECT_EQ(scripted.activeAtQuestion.last(), "Model fit 2");
    EXPECT_EQ(Tabs().size(), 3);

    scripted.shown.clear();
    scripted.activeAtQuestion.clear();
    scripted.answers = {true, true, true};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(scripted.activeAtQuestion.mid(1), (QStringList{"Model fit 2", "Model fit 1"}));
    EXPECT_EQ(fits[0]->quits + fits[1]->quits, 2);
}

TEST_F(MainWindow, FailedPreparationShowsItsErrorAndAddsNoSheet) {
    prepareError = "The phenology date file does not exist.";
    window->CreateFit();
    EXPECT_EQ(scripted.shown, QStringList{"The phenology date file does not exist."});
    EXPECT_EQ(Tabs(), QStringList{"Home"});
    EXPECT_TRUE(!fits[0]->started && fits[0]->destroyed);

    // A cancelled wizard starts nothing.
    cancelWizard = true;
    window->CreateFit();
    EXPECT_EQ(fits.size(), 1u);
}

TEST_F(MainWindow, TheWizardsEmptyOutputGoesUnlessAFitFillsIt) {
    makeOutput = true;
    const QString out = QString::fromStdString(Folder() + "out.txt");
    const auto frame = [&] { return qobject_cast<TFitDisplay*>(window->PageControl1->currentWidget()); };

    prepareError = "The phenology date file does not exist.";
    window->CreateFit();
    EXPECT_FALSE(QFile::exists(out)) << "failed preparation";
    prepareError.clear();

    window->CreateFit();
    window->CloseTabBtn->trigger();
    EXPECT_FALSE(QFile::exists(out)) << "stopped";

    window->CreateFit();
    fits.back()->finished = fits.back()->error = true;
    frame()->Timer1Timer();
    EXPECT_FALSE(QFile::exists(out)) << "failed";

    window->CreateFit();
    fits.back()->finished = fits.back()->error = true;
    window->CloseTabBtn->trigger(); // before a tick showed the failure
    EXPECT_FALSE(QFile::exists(out)) << "failed, unseen";

    // Filled by the fit, or there before the wizard even empty: kept.
    window->CreateFit();
    std::ofstream(out.toStdString()) << "Orvex fit";
    fits.back()->finished = true;
    window->CloseTabBtn->trigger();
    EXPECT_TRUE(QFile::exists(out));
    makeOutput = false;
    std::ofstream(out.toStdString()).close();
    window->CreateFit();
    window->CloseTabBtn->trigger();
    EXPECT_TRUE(QFile::exists(out));

    // Quitting stops the fit.
    makeOutput = true;
    window->CreateFit();
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(QFile::exists(out)) << "quit";
}

TEST_F(MainWindow, RemembersPathsInsideTheExecutablesTreeRelative) {
    window->CreateFit();
    EXPECT_EQ(Remembered("temperatures"), "data/clim.txt");
    EXPECT_EQ(Remembered("phenology"), "/elsewhere/pheno.txt"); // outside: absolute, never "../.."
    EXPECT_EQ(Remembered("savefitas"), "out.txt");
    window->CreateFit();
    ASSERT_EQ(shownPaths.size(), 2u);
    EXPECT_EQ(shownPaths[1].phenology, "/elsewhere/pheno.txt");

    // Unticked, nothing is written.
    window->IniFile().WriteString("path-fit", "fitinfo", "kept.txt");
    keepPaths = false;
    window->CreateFit();
    EXPECT_EQ(Remembered("fitinfo"), "kept.txt");
}

TEST_F(MainWindow, SimulationSheetsCountOnAndQuittingStopsTheRunningOne) {
    window->show();
    scripted.onExec = FillSimulationWindow("m.xml", "c.txt", "", "3");
    window->CreateSimulation();
    ASSERT_EQ(simulationCalls.size(), 1u);
    EXPECT_EQ(simulationCalls[0], (std::vector<std::string>{"3", "c.txt", "out.txt", "m.xml", ""}));
    EXPECT_TRUE(simulations[0]->started);

    // Closing asks nothing and stops the run; the next sheet still counts on.
    window->CloseTabBtn->trigger();
    EXPECT_EQ(simulations[0]->quits, 1);
    window->CreateSimulation();
    EXPECT_EQ(Tabs(), (QStringList{"Home", "Simulation 2"}));
    EXPECT_TRUE(scripted.shown.isEmpty()) << scripted.shown.join("|").toStdString();

    window->QuitItem->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Tabs(), QStringList{"Home"});
    EXPECT_EQ(simulations[1]->quits, 1);
}

TEST_F(MainWindow, HelpFileMissing) {
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->HelpItem->trigger();
    QDir::setCurrent(cwd);
    EXPECT_EQ(scripted.shown, QStringList{"Help file not found : \"OrvexHelp.chm\" !"});
    EXPECT_TRUE(scripted.opened.isEmpty());
}
