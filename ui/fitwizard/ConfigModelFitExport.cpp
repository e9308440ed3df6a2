// The export tab of the fit wizard.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "AppFolder.h"
#include "ConfigModelFit.h"
#include "Dialogs.h"
#include "FileFilters.h"
#include "FileUtils.h"
#include "FitExport.h"
#include "ModelDesignTab.h"
#include "OrvexError.h"
#include "SlotGuard.h"

void TConfigModelFitWindow::NewFitFileButton2Click() {
    OpenExistingFilePanel3->hide();
}

void TConfigModelFitWindow::OpenFitFileButton3Click() {
    OpenExistingFilePanel3->show();
}

void TConfigModelFitWindow::OpenExistingFileButton1Click() {
    const QString name = Dialogs().OpenFile(this, FIT_XML_FILTER);
    if (!name.isEmpty()) OpenExistingFilePathEdit1->setText(name);
}

void TConfigModelFitWindow::SaveFullFitButton1Click() {
    Guarded(this, [&] { ExportFullFit(); });
}

void TConfigModelFitWindow::ExportFullFit() {
    const bool append = OpenFitFileButton3->isChecked();
    const std::string existing = OpenExistingFilePathEdit1->text().toStdString();
    if (append && existing.empty()) throw EOrvexError("You must select an input file first !");
    if (!gui_CheckModel()) return;
    const QString chosen = Dialogs().SaveFile(this, FIT_XML_FILTER);
    if (chosen.isEmpty()) return;

    TFitExport fit;
    const auto absolute = [](const QLineEdit* edit) {
        return GetAbsolutePath(ExeFolder(), edit->text().toStdString());
    };
    fit.meteoFile = absolute(TemperaturesPath);
    fit.phenoFile = absolute(PhenologyPath);
    fit.fitInfoFile = absolute(FitInfoPath);
    fit.outputFile = absolute(SaveFitAsPath);
    fit.optim = OptimSettings();
    fit.model = &ModelTab->Designer().Model();
    if (append)
        AppendFitToFile(existing, WithXmlExtension(existing), fit);
    else
        ExportNewFitFile(WithXmlExtension(chosen.toStdString()), fit);
}
