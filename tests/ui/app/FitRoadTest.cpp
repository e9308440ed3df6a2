// The fit road end to end: "Fit Model" and the wizard, the engine's fit thread and the sheet,
// the statistics grid saving the best repetition, and a simulation of that model giving the
// fit's dates.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include "ConfigModelFit.h"
#include "FillSimulationWindow.h"
#include "FitDisplay.h"
#include "FitOutputFile.h"
#include "MainWindow.h"
#include "ModelDesignTab.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "Repetition.h"
#include "SimulDisplay.h"
#include "StatsManager.h"
#include "fitwizard/WizardTestSupport.h"

namespace {

const std::string kSource = ORVEX_SOURCE_DIR;

class FitRoad : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        const std::string preset = std::string(PRESETS_MODEL_DIR) + "Example_GDD.xml";
        QDir(dir.path()).mkpath(PRESETS_MODEL_DIR);
        QFile::copy(Source(preset), QString::fromStdString(Folder() + preset));
    }
    // The user fills the wizard: the example files, the example preset model, short search
    // settings, then "FIT NOW !".
    void AskForAFit() {
        dialogs.onExec = [this](QDialog* dialog) {
            auto* w = qobject_cast<TConfigModelFitWindow*>(dialog);
            ASSERT_NE(w, nullptr);
            PassFilesTab(*w);
            w->ModelTab->PrebuildPanel3->click();
            ASSERT_EQ(w->ModelTab->PresetsCB1->findText("Example_GDD"), 0);
            w->ModelTab->PresetsCB1Change(0);
            w->DefaultOptimButton1Click();
            // clang-format off
            const std::pair<QLineEdit*, const char*> settings[] = {
                {w->NtrLoops, "5"}, {w->NtsLoops, "5"}, {w->NbVeryGlobalSearch, "2"}, {w->NbGlobalSearch, "3"},
                {w->NbRepetitions, "2"}, {w->NbConfidenceInterval, "1"}, {w->TemperatureConfInt, "1"},
                {w->MetropolisTemperature, "1"}, {w->TemperatureClimbRate, "1"}, {w->MetPrecision, "0,01"},
                {w->MaxMissingTemp, "10"}};
            // clang-format on
            for (const auto& [edit, text] : settings)
                edit->setText(text);
            w->SkipFisherCB1->setChecked(true);
            w->LeaveOneOutCB1->setChecked(false);
            w->OKBtnClick();
            ASSERT_EQ(w->result(), QDialog::Accepted);
        };
        window.FitButton->trigger();
    }

    TOrvexWindow window;
};

} // namespace

TEST_F(FitRoad, BestRepetitionSimulatesTheFittedDates) {
    AskForAFit();
    ASSERT_EQ(window.PageControl1->count(), 2) << dialogs.shown.join("|").toStdString();
    auto* frame = qobject_cast<TFitDisplay*>(window.PageControl1->widget(1));
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitWhile([&] { return frame->Waiting() || frame->Loading(); }));
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();
    std::string output = ReadWholeFile(Folder() + "fit.txt");
    std::erase(output, '\r');
    if (!output.empty() && output.back() == '\n') output.pop_back();
    EXPECT_EQ(frame->RichEdit1->toPlainText().toStdString(), output);

    // The statistics grid lists every repetition; the best one is saved.
    const std::vector<TRepetition*>& reps = frame->Fit()->Repetitions();
    ASSERT_EQ(reps.size(), 2u);
    size_t best = 0;
    for (size_t k = 1; k < reps.size(); ++k)
        if (reps[k]->SSres < reps[best]->SSres) best = k;
    dialogs.fileAnswer = QString::fromStdString(Folder() + "best");
    dialogs.onExec = [&](QDialog* dialog) {
        auto* stats = qobject_cast<TStatsManager*>(dialog);
        ASSERT_NE(stats, nullptr);
        stats->ComboBox1->setCurrentIndex(static_cast<int>(best));
        stats->saveAsBtnClick();
    };
    frame->ParamSelectBtn->click();
    ASSERT_TRUE(QFile::exists(dir.filePath("best.xml")));

    // A simulation of the saved model on the example climate.
    dialogs.onExec = FillSimulationWindow("best.xml", kSource + "/examples/climate.txt", "", "10");
    window.SimulationButton->trigger();
    ASSERT_EQ(window.PageControl1->tabText(2), "Simulation 1");
    auto* sim = qobject_cast<TSimulDisplay*>(window.PageControl1->widget(2));
    ASSERT_TRUE(WaitWhile([&] { return sim->Waiting(); }));
    ASSERT_TRUE(dialogs.shown.isEmpty()) << dialogs.shown.join("|").toStdString();

    // The simulation prints dates to a tenth: the fit's dates must print the same.
    const TRepetition& rep = *reps[best];
    ASSERT_EQ(sim->StringGrid1->rowCount(), static_cast<int>(rep.simResults.size()));
    int compared = 0;
    for (size_t k = 0; k < rep.simResults.size(); ++k) {
        const int row = static_cast<int>(k);
        EXPECT_EQ(sim->StringGrid1->item(row, 1)->text().toInt(), rep.simResults[k].year);
        if (rep.simResults[k].values[0].observed == MISSING) continue;
        EXPECT_EQ(sim->StringGrid1->item(row, 2)->text().toStdString(),
                  FormatFloat("0.#", rep.simResultsAsRaw[k].data_row[1]))
            << "row " << row;
        ++compared;
    }
    EXPECT_GE(compared, 29);
}
