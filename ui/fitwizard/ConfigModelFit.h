#pragma once
// The modal "Fit Model Config" window: the three input files and the output file of a fit,
// their validation on a thread of its own, the model (its own tab), the search settings and the
// export of the whole configuration. "FIT NOW !" closes it once everything checks; the caller
// then reads the fields and takes the model.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "OptimSettings.h"
#include "ValidationForm.h"

class QCheckBox;
class QCommandLinkButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TInputValidator;
class TModelDesignTab;
class TThreadProgressbar;
class TValidationThread;

class TConfigModelFitWindow : public QDialog, public IValidationForm {
    Q_OBJECT
public:
    explicit TConfigModelFitWindow(QWidget* owner = nullptr);
    ~TConfigModelFitWindow() override;

    // --- checks and settings ---
    // The four paths in order; the first failure shows its warning and gives false.
    bool gui_ValidateSourcesFilesEntries();
    // Phases, then the search settings, then the hourly conversions; switches to the tab at fault.
    bool gui_CheckModel();
    bool ValidateMetropolisValues(std::string& wrongData) const;
    void gui_LoadOptimParams(bool fromDefault);
    void gui_SaveOptimParams();
    void gui_LoadValidationParams(bool fromDefault);
    void gui_SaveValidationParams();
    // The texts and boxes of the optimisation tab.
    TOptimSettingsText OptimSettings() const;
    void SetOptimSettings(const TOptimSettingsText& s);
    void gui_ShowNextStep();
    void ShowDebuggerReport();
    bool ValidationRunning() const;
    // The output file the entry checks created empty, when it is still the one named; empty
    // when that file was there before.
    std::string CreatedOutput() const;

    // IValidationForm, for the progress window.
    bool IsValidationSuspended() override;
    void SuspendValidation() override;
    void ResumeValidation() override;
    void AbortValidation() override;

    QTabWidget* PageControl1 = nullptr;
    TModelDesignTab* ModelTab = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    // Files tab.
    QPushButton* TempBtn = nullptr;
    QPushButton* PhenoBtn = nullptr;
    QPushButton* FitInfoBtn = nullptr;
    QPushButton* SaveFitAsBtn = nullptr;
    QLineEdit* TemperaturesPath = nullptr;
    QLineEdit* PhenologyPath = nullptr;
    QLineEdit* FitInfoPath = nullptr;
    QLineEdit* SaveFitAsPath = nullptr;
    QCheckBox* savePathValues = nullptr;
    QCheckBox* SkipValidationCB1 = nullptr;
    QCheckBox* SkipLatitudeValidationCB3 = nullptr;
    QCheckBox* SkipMeanTempValidationCB2 = nullptr;
    QCheckBox* SkipMinMaxValidationCB4 = nullptr;
    QPushButton* DefaultValidationButton1 = nullptr;
    QCommandLinkButton* InputValidationButton1 = nullptr;

    // Optimisation tab.
    QLineEdit* NbRepetitions = nullptr;
    QLineEdit* NbVeryGlobalSearch = nullptr;
    QLineEdit* NbGlobalSearch = nullptr;
    QLineEdit* MetPrecision = nullptr;
    QLineEdit* MetropolisTemperature = nullptr;
    QLineEdit* TemperatureClimbRate = nullptr;
    QLineEdit* NtrLoops = nullptr;
    QLineEdit* NtsLoops = nullptr;
    QLineEdit* NbConfidenceInterval = nullptr;
    QLineEdit* TemperatureConfInt = nullptr;
    QLineEdit* MaxMissingTemp = nullptr;
    QCheckBox* LeaveOneOutCB1 = nullptr;
    QCheckBox* SkipFisherCB1 = nullptr;
    QPushButton* DefaultOptimButton1 = nullptr;

    // Export tab.
    QRadioButton* NewFitFileButton2 = nullptr;
    QRadioButton* OpenFitFileButton3 = nullptr;
    QWidget* OpenExistingFilePanel3 = nullptr;
    QPushButton* OpenExistingFileButton1 = nullptr;
    QLineEdit* OpenExistingFilePathEdit1 = nullptr;
    QPushButton* SaveFullFitButton1 = nullptr;
    QLabel* Label11 = nullptr;

    bool allowNextStep = false;
    bool cancelled = false;

public slots:
    void TempBtnClick();
    void PhenoBtnClick();
    void FitInfoBtnClick();
    void SaveFitAsBtnClick();
    void SkipValidationCB1Click();
    void SkipOneValidationClick();
    void DefaultValidationButton1Click();
    void InputValidationButton1Click();
    void TabChange(int index);
    void OKBtnClick();
    void CancelBtnClick();
    void HelpBtnClick();
    void DefaultOptimButton1Click();
    void NewFitFileButton2Click();
    void OpenFitFileButton3Click();
    void OpenExistingFileButton1Click();
    void SaveFullFitButton1Click();
    // Any close but "FIT NOW !" frees the model the window holds and removes the empty output
    // files its checks made; "FIT NOW !" keeps the one the fit will fill.
    void done(int result) override;

private:
    enum class TOutcome { None, Success, Failed, Aborted };

    QWidget* BuildFilesTab();
    QWidget* BuildOptimTab();
    QWidget* BuildExportTab();
    // A page change made by the window itself, which the tab lock does not see.
    void SwitchTab(int index);
    void RunValidation();
    // On the user-interface thread once validation run `run` has ended.
    void ThreadDone(int run);
    // Waits for the thread, then releases it and the validator, and closes the progress window.
    void EndValidation(TOutcome outcome);
    void ExportFullFit();
    // Removes the files the entry checks created, still empty, except `kept`.
    void DropCreatedOutputs(const std::string& kept);

    std::unique_ptr<TInputValidator> filesValidator;
    std::unique_ptr<TValidationThread> validationThread;
    TThreadProgressbar* debugProgressbar = nullptr;
    bool suspended_ = false;
    bool switching_ = false;
    int run_ = 0;
    TOutcome outcome_ = TOutcome::None;
    std::string validationError_;
    std::string logPath_;
    std::vector<std::string> createdOutputs_;
};
