#include "FitWizardLauncher.h"

#include <QCheckBox>
#include <QLineEdit>

#include "ConfigModelFit.h"
#include "Dialogs.h"
#include "ModelDesignTab.h"
#include "OptimSettings.h"

std::optional<TFitRequest> RunFitWizard(QWidget* parent, const TFitPaths& paths) {
    TConfigModelFitWindow window(parent);
    window.TemperaturesPath->setText(QString::fromStdString(paths.temperatures));
    window.PhenologyPath->setText(QString::fromStdString(paths.phenology));
    window.FitInfoPath->setText(QString::fromStdString(paths.fitInfo));
    window.SaveFitAsPath->setText(QString::fromStdString(paths.saveFitAs));
    if (Dialogs().Exec(&window) != QDialog::Accepted) return std::nullopt;

    const TOptimSettingsText settings = window.OptimSettings();
    TFitRequest request;
    request.temperaturesPath = window.TemperaturesPath->text().toStdString();
    request.phenologyPath = window.PhenologyPath->text().toStdString();
    request.fitInfoPath = window.FitInfoPath->text().toStdString();
    request.saveFitAsPath = window.SaveFitAsPath->text().toStdString();
    request.savePathValues = window.savePathValues->isChecked();
    request.createdOutput = window.CreatedOutput();
    request.maxMissingTemp = ToWholeNumber(settings.MaxMissingTemp);
    request.leaveOneOut = settings.LeaveOneOut;
    request.skipFisher = settings.SkipFisher;
    request.metropolis = ToMetropolisDesc(settings);
    request.model = window.ModelTab->Designer().TakeModel();
    return request;
}
