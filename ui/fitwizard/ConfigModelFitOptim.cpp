// The optimisation tab of the fit wizard, its settings files and the checks of "FIT NOW !".
#include <QCheckBox>
#include <QLineEdit>

#include "AppFolder.h"
#include "ConfigModelFit.h"
#include "Dialogs.h"
#include "ModelDesignTab.h"
#include "OrvexConfig.h"
#include "SlotGuard.h"

namespace {

std::string OptimIni(bool fromDefault) {
    return ExeFolder() + PRESETS_OPTIM_DIR + (fromDefault ? "default.ini" : "last.ini");
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

void SetText(QLineEdit* edit, const std::string& text) {
    edit->setText(QString::fromStdString(text));
}

} // namespace

TOptimSettingsText TConfigModelFitWindow::OptimSettings() const {
    TOptimSettingsText s;
    s.NbVeryGlobalSearch = Text(NbVeryGlobalSearch);
    s.NbGlobalSearch = Text(NbGlobalSearch);
    s.NbConfidenceInterval = Text(NbConfidenceInterval);
    s.TemperatureConfInt = Text(TemperatureConfInt);
    s.MetropolisTemperature = Text(MetropolisTemperature);
    s.TemperatureClimbRate = Text(TemperatureClimbRate);
    s.NtrLoops = Text(NtrLoops);
    s.NtsLoops = Text(NtsLoops);
    s.NbRepetitions = Text(NbRepetitions);
    s.MetPrecision = Text(MetPrecision);
    s.MaxMissingTemp = Text(MaxMissingTemp);
    s.SkipFisher = SkipFisherCB1->isChecked();
    s.LeaveOneOut = LeaveOneOutCB1->isChecked();
    return s;
}

void TConfigModelFitWindow::SetOptimSettings(const TOptimSettingsText& s) {
    SetText(NbVeryGlobalSearch, s.NbVeryGlobalSearch);
    SetText(NbGlobalSearch, s.NbGlobalSearch);
    SetText(NbConfidenceInterval, s.NbConfidenceInterval);
    SetText(TemperatureConfInt, s.TemperatureConfInt);
    SetText(MetropolisTemperature, s.MetropolisTemperature);
    SetText(TemperatureClimbRate, s.TemperatureClimbRate);
    SetText(NtrLoops, s.NtrLoops);
    SetText(NtsLoops, s.NtsLoops);
    SetText(NbRepetitions, s.NbRepetitions);
    SetText(MetPrecision, s.MetPrecision);
    SetText(MaxMissingTemp, s.MaxMissingTemp);
    SkipFisherCB1->setChecked(s.SkipFisher);
    LeaveOneOutCB1->setChecked(s.LeaveOneOut);
}

void TConfigModelFitWindow::gui_LoadOptimParams(bool fromDefault) {
    SetOptimSettings(LoadOptimSettings(OptimIni(fromDefault)));
}

void TConfigModelFitWindow::gui_SaveOptimParams() {
    SaveOptimSettings(OptimIni(false), OptimSettings());
}

void TConfigModelFitWindow::DefaultOptimButton1Click() {
    gui_LoadOptimParams(true);
}

bool TConfigModelFitWindow::ValidateMetropolisValues(std::string& wrongData) const {
    return ::ValidateMetropolisValues(OptimSettings(), wrongData);
}

bool TConfigModelFitWindow::gui_CheckModel() {
    const TModelDesigner& designer = ModelTab->Designer();
    std::string message = designer.CheckPhaseCount();
    if (!message.empty()) {
        Dialogs().Warning(this, QString::fromStdString(message));
        SwitchTab(1);
        return false;
    }
    std::string wrongData;
    if (!ValidateMetropolisValues(wrongData)) {
        Dialogs().Warning(this, QStringLiteral("\"") + QString::fromStdString(wrongData) +
                                    QStringLiteral("\" is not a valid value!"));
        SwitchTab(2);
        return false;
    }
    message = designer.CheckHourlyConversion();
    if (!message.empty()) {
        Dialogs().Warning(this, QString::fromStdString(message));
        return false;
    }
    return true;
}
