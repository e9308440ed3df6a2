#include <QCheckBox>
#include <QLineEdit>

#include "FitWizardLauncher.h"
#include "WizardTestSupport.h"

namespace {
class FitWizardLauncher : public WizardTest {};
} // namespace

TEST_F(FitWizardLauncher, FitNowHandsOverPathsSettingsAndModel) {
    const TFitPaths paths{"t.txt", "p.txt", "f.txt", "o.txt"};
    dialogs.onExec = [&](QDialog* d) {
        auto* w = qobject_cast<TConfigModelFitWindow*>(d);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->FitInfoPath->text(), "f.txt");
        PassFilesTab(*w);
        GiveExampleModel(*w);
        w->DefaultOptimButton1Click();
        w->MetropolisTemperature->setText("2,5");
        w->MetPrecision->setText("0.001");
        w->NbGlobalSearch->setText("7");
        w->MaxMissingTemp->setText("4");
        w->LeaveOneOutCB1->setChecked(true);
        w->savePathValues->setChecked(false);
        w->OKBtnClick();
    };
    std::optional<TFitRequest> request = RunFitWizard(nullptr, paths);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->temperaturesPath, Source("examples/climate.txt").toStdString());
    EXPECT_EQ(request->saveFitAsPath, "fit.txt");
    EXPECT_FALSE(request->savePathValues);
    EXPECT_EQ(request->maxMissingTemp, 4);
    EXPECT_EQ(request->metropolis.missing_threshold, 4);
    EXPECT_TRUE(request->leaveOneOut);
    EXPECT_TRUE(request->skipFisher);
    EXPECT_TRUE(request->metropolis.skip_fisher);
    EXPECT_DOUBLE_EQ(request->metropolis.temp0, 2.5);
    EXPECT_DOUBLE_EQ(request->metropolis.tempf, 2.5);
    EXPECT_DOUBLE_EQ(request->metropolis.precision, 0.001);
    EXPECT_EQ(request->metropolis.global, 7);
    ASSERT_NE(request->model, nullptr);
    EXPECT_EQ(request->model->GetNbPhases(), 1);

    dialogs.onExec = [](QDialog* d) { static_cast<TConfigModelFitWindow*>(d)->CancelBtnClick(); };
    EXPECT_FALSE(RunFitWizard(nullptr, paths).has_value());
}
