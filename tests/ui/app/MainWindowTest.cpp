#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "ConfigSimulation.h"
#include "FakeSimulationRun.h"
#include "MainWindow.h"
#include "SimulDisplay.h"
#include "UiTestSupport.h"

namespace {

class MainWindow : public TempExeFolderTest {
protected:
    void SetUp() override {
        TempExeFolderTest::SetUp();
        window = std::make_unique<TOrvexWindow>();
        window->simulationFactory = [this](int maxMissing, const std::string& temp, const std::string& output,
                                           const std::string& model, const std::string& t0) {
            calls.push_back({std::to_string(maxMissing), temp, output, model, t0});
            runs.push_back(std::make_shared<TFakeSimulationState>());
            return std::make_unique<TFakeSimulationRun>(runs.back());
        };
    }
    // The user fills the simulation window and presses OK.
    void ConfigureSimulation(const QString& model, const QString& temps) {
        dialogs.onExec = [=](QDialog* dialog) {
            auto* config = qobject_cast<TConfigSimulationWindow*>(dialog);
            ASSERT_NE(config, nullptr);
            config->ModelAsXmlPath->setText(model);
            config->TemperaturesPath->setText(temps);
            config->SaveAsPath->setText("out.txt");
            config->maxMissingTemp->setText("3");
            config->OKBtnClick();
        };
    }
    QStringList Tabs() const { return TabTexts(window->PageControl1); }

    std::unique_ptr<TOrvexWindow> window;
    std::vector<std::vector<std::string>> calls;
    std::vector<std::shared_ptr<TFakeSimulationState>> runs;
};

} // namespace

TEST_F(MainWindow, QuittingStopsTheRunningSimulation) {
    window->show();
    ConfigureSimulation("m.xml", "c.txt");
    window->CreateSimulation();
    dialogs.confirmAnswer = true;
    window->QuitItem->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Tabs(), QStringList{"Home"}); // sheets closed, running simulation stopped
    EXPECT_EQ(runs.at(0)->quits, 1);
}

TEST_F(MainWindow, SimulationSheetsAreNumberedFromOne) {
    ConfigureSimulation("m.xml", "c.txt");
    window->CreateSimulation();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::vector<std::string>{"3", "c.txt", "out.txt", "m.xml", ""}));
    EXPECT_TRUE(runs[0]->started);
    EXPECT_EQ(Tabs(), (QStringList{"Home", "Simulation 1"}));

    // Closing asks nothing and stops the run; the next sheet still counts on.
    window->CloseTabBtn->trigger();
    EXPECT_EQ(runs[0]->quits, 1);
    window->CreateSimulation();
    EXPECT_EQ(Tabs(), (QStringList{"Home", "Simulation 2"}));
    EXPECT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
}

TEST_F(MainWindow, HelpFileMissing) {
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->HelpItem->trigger();
    QDir::setCurrent(cwd);
    EXPECT_EQ(dialogs.shown, QStringList{"Help file not found : \"OrvexHelp.chm\" !"});
    EXPECT_TRUE(dialogs.opened.isEmpty());
}
