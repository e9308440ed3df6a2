#include <QCheckBox>
#include <QLineEdit>

#include "FitWizardLauncher.h"
#include "WizardTestSupport.h"
#include <tuple>

using FitWizardLauncher = WizardTest;

TEST_F(FitWizardLauncher, FitNowHandsOverPathsSettingsAndModel) {
    const TFitPaths paths{"t.txt", "p.txt", "f.txt", "o.txt"};
    dialogs.onExec = [&](QDialog* d) {
        auto* w = qobject_cast<TConfigModelFitWindow*>(d);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->FitInfoPath->text(), "f.txt");
        FillExampleFiles(*w);
        w->SaveFitAsPath->setText("first.txt"); // checked, then changed: its empty file goes
        w->SkipValidationCB1->setChecked(true);
        w->InputValidationButton1Click();
        w->PageControl1->setCurrentIndex(0);
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
    EXPECT_EQ(request->saveFitAsPath, "fit.txt");
    EXPECT_EQ(request->createdOutput, Folder() + "fit.txt"); // kept for the fit to fill
    EXPECT_TRUE(QFile::exists(QString::fromStdString(request->createdOutput)));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + "first.txt")));
    EXPECT_FALSE(request->savePathValues);
    EXPECT_TRUE(request->leaveOneOut && request->metropolis.skip_fisher);
    const TRMetropolisDesc& m = request->metropolis;
    EXPECT_EQ(std::tuple(m.missing_threshold, m.temp0, m.tempf, m.precision, m.global),
              std::tuple(4, 2.5, 2.5, 0.001, 7));
    ASSERT_NE(request->model, nullptr);

    dialogs.onExec = [](QDialog* d) { static_cast<TConfigModelFitWindow*>(d)->CancelBtnClick(); };
    EXPECT_FALSE(RunFitWizard(nullptr, paths).has_value());
}
