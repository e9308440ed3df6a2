// The optimisation tab of the fit wizard, its settings files and the checks of "FIT NOW !".
#include <QCheckBox>
#include <QLineEdit>
#include <utility>
#include <vector>

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

using S = TOptimSettingsText;

// Each text of the settings with the edit that holds it.
std::vector<std::pair<std::string TOptimSettingsText::*, QLineEdit*>>
OptimEdits(const TConfigModelFitWindow& w) {
    return {{&S::NbVeryGlobalSearch, w.NbVeryGlobalSearch},
            {&S::NbGlobalSearch, w.NbGlobalSearch},
            {&S::NbConfidenceInterval, w.NbConfidenceInterval},
            {&S::TemperatureConfInt, w.TemperatureConfInt},
            {&S::MetropolisTemperature, w.MetropolisTemperature},
            {&S::TemperatureClimbRate, w.TemperatureClimbRate},
            {&S::NtrLoops, w.NtrLoops},
            {&S::NtsLoops, w.NtsLoops},
            {&S::NbRepetitions, w.NbRepetitions},
            {&S::MetPrecision, w.MetPrecision},
            {&S::MaxMissingTemp, w.MaxMissingTemp}};
}

} // namespace

TOptimSettingsText TConfigModelFitWindow::OptimSettings() const {
    TOptimSettingsText s;
    for (const auto& [field, edit] : OptimEdits(*this))
        s.*field = edit->text().toStdString();
    s.SkipFisher = SkipFisherCB1->isChecked();
    s.LeaveOneOut = LeaveOneOutCB1->isChecked();
    return s;
}

void TConfigModelFitWindow::SetOptimSettings(const TOptimSettingsText& s) {
    for (const auto& [field, edit] : OptimEdits(*this))
        edit->setText(QString::fromStdString(s.*field));
    SkipFisherCB1->setChecked(s.SkipFisher);
    LeaveOneOutCB1->setChecked(s.LeaveOneOut);
}

void TConfigModelFitWindow::gui_LoadOptimParams(bool fromDefault) {
    // A fresh install has no last.ini, and an older one may lack a newer key.
    SetOptimSettings(fromDefault ? LoadOptimSettings(OptimIni(true))
                                 : LoadOptimSettings(OptimIni(false), OptimIni(true)));
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
    const TOptimSettingsText settings = OptimSettings();
    std::string wrongData;
    const std::string* wrongText = nullptr;
    if (!::ValidateMetropolisValues(settings, wrongData, &wrongText)) {
        Dialogs().Warning(this, QStringLiteral("\"") + QString::fromStdString(wrongData) +
                                    QStringLiteral("\" is not a valid value!"));
        SwitchTab(2);
        // The text alone may not tell which field it is (an empty one, a value held twice).
        for (const auto& [field, edit] : OptimEdits(*this)) {
            if (&(settings.*field) == wrongText) {
                edit->setFocus();
                edit->selectAll();
            }
        }
        return false;
    }
    message = designer.CheckHourlyConversion();
    if (!message.empty()) {
        Dialogs().Warning(this, QString::fromStdString(message));
        return false;
    }
    return true;
}
