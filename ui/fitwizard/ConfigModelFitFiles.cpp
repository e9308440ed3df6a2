// The files tab of the fit wizard: the paths, their entry checks and the validation run.
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "AppFolder.h"
#include "ConfigModelFit.h"
#include "Dialogs.h"
#include "FileFilters.h"
#include "FileUtils.h"
#include "InputValidator.h"
#include "OrvexConfig.h"
#include "OutputFile.h"
#include "SlotGuard.h"
#include "ThreadedProgress.h"
#include "ValidationThread.h"

namespace {

std::string Resolved(const QLineEdit* edit) {
    return GetAbsolutePath(ExeFolder(), edit->text().toStdString());
}

bool CanRead(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

// An existing output file is opened for appending, so its contents survive the check; one
// that does not exist yet is created empty, and `created` says so.
bool CanWrite(const std::string& path, bool& created) {
    created = false;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return false;
    const bool exists = std::filesystem::exists(path, ec);
    std::FILE* f = std::fopen(path.c_str(), exists ? "ab" : "wb");
    if (f == nullptr) return false;
    created = !exists;
    return std::fclose(f) == 0;
}

std::string ValidationIni(bool fromDefault) {
    return ExeFolder() + PRESETS_VALID_DIR + (fromDefault ? "default.ini" : "last.ini");
}

} // namespace

void TConfigModelFitWindow::TempBtnClick() {
    const QString name = Dialogs().OpenFile(this, FIT_TXT_FILTER);
    if (!name.isEmpty()) TemperaturesPath->setText(name);
}

void TConfigModelFitWindow::PhenoBtnClick() {
    const QString name = Dialogs().OpenFile(this, FIT_TXT_FILTER);
    if (!name.isEmpty()) PhenologyPath->setText(name);
}

void TConfigModelFitWindow::FitInfoBtnClick() {
    const QString name = Dialogs().OpenFile(this, FIT_TXT_FILTER);
    if (!name.isEmpty()) FitInfoPath->setText(name);
}

void TConfigModelFitWindow::SaveFitAsBtnClick() {
    const QString name = Dialogs().SaveFile(this, FIT_TXT_FILTER);
    if (!name.isEmpty()) SaveFitAsPath->setText(name);
}

// The other side's boxes change with their signals blocked: otherwise ticking "Skip whole
// validation" over a ticked box would bounce back and untick it again.
void TConfigModelFitWindow::SkipValidationCB1Click() {
    for (QCheckBox* box : {SkipMeanTempValidationCB2, SkipMinMaxValidationCB4, SkipLatitudeValidationCB3}) {
        const QSignalBlocker block(box);
        box->setChecked(false);
    }
}

void TConfigModelFitWindow::SkipOneValidationClick() {
    const QSignalBlocker block(SkipValidationCB1);
    SkipValidationCB1->setChecked(false);
}

void TConfigModelFitWindow::DefaultValidationButton1Click() {
    gui_LoadValidationParams(true);
}

void TConfigModelFitWindow::gui_LoadValidationParams(bool fromDefault) {
    const TValidationOptions o = fromDefault
                                     ? LoadValidationOptions(ValidationIni(true))
                                     : LoadValidationOptions(ValidationIni(false), ValidationIni(true));
    SkipValidationCB1->setChecked(o.SkipAll);
    if (o.SkipAll) {
        SkipValidationCB1Click(); // also when the box was checked already
        return;
    }
    SkipLatitudeValidationCB3->setChecked(o.SkipLatitude);
    SkipMeanTempValidationCB2->setChecked(o.SkipMeanTemp);
    SkipMinMaxValidationCB4->setChecked(o.SkipMinMaxTemp);
}

void TConfigModelFitWindow::gui_SaveValidationParams() {
    TValidationOptions o;
    o.SkipAll = SkipValidationCB1->isChecked();
    o.SkipLatitude = SkipLatitudeValidationCB3->isChecked();
    o.SkipMeanTemp = SkipMeanTempValidationCB2->isChecked();
    o.SkipMinMaxTemp = SkipMinMaxValidationCB4->isChecked();
    SaveValidationOptions(ValidationIni(false), o);
}

bool TConfigModelFitWindow::gui_ValidateSourcesFilesEntries() {
    struct TEntry {
        QLineEdit* edit;
        const char* empty;
        const char* what;
        const char* cannot;
        const char* field;
    };
    const TEntry inputs[] = {
        {TemperaturesPath, "Please select a temperatures file.", "The given temperatures file \"",
         "\" doesn't exist,\nor is already in use.", "temperatures file"},
        {PhenologyPath, "Please select a phenology file.", "The given phenology file \"",
         "\" doesn't exist,\nor is already in use.", "phenology file"},
        {FitInfoPath, "Please select a fit informations file.", "The given fit informations file \"",
         "\" doesn't exist,\nor is already in use.", "fit informations file"},
        {SaveFitAsPath, "Please choose a \"model fit\" output filename.", "The given output filename \"",
         "\" isn't writable,\nmaybe already in use.", nullptr},
    };
    for (const TEntry& e : inputs) {
        if (e.edit->text().isEmpty()) {
            Dialogs().Warning(this, QString::fromUtf8(e.empty));
            return false;
        }
        bool ok = false;
        if (e.edit != SaveFitAsPath) {
            ok = CanRead(Resolved(e.edit));
        } else {
            // The fit's output replaces its file whole: an input named again would be lost.
            for (const TEntry& in : inputs) {
                if (in.edit == SaveFitAsPath || !SameFile(Resolved(SaveFitAsPath), Resolved(in.edit)))
                    continue;
                Dialogs().Warning(this, QStringLiteral("The output filename \"") + SaveFitAsPath->text() +
                                            QStringLiteral("\" and the ") + QString::fromUtf8(in.field) +
                                            QStringLiteral(" \"") + in.edit->text() +
                                            QStringLiteral("\" are the same file.\nPlease choose another "
                                                           "output filename."));
                SaveFitAsPath->setFocus();
                return false;
            }
            bool created = false;
            ok = CanWrite(Resolved(e.edit), created);
            if (created) createdOutputs_.push_back(Resolved(e.edit));
        }
        if (!ok) {
            Dialogs().Warning(this, QString::fromUtf8(e.what) + e.edit->text() + QString::fromUtf8(e.cannot));
            return false;
        }
    }
    return true;
}

void TConfigModelFitWindow::InputValidationButton1Click() {
    Guarded(this, [&] {
        if (PageControl1->currentIndex() != 0) return;
        if (!gui_ValidateSourcesFilesEntries()) return;
        try {
            gui_SaveValidationParams();
        } catch (const std::exception& e) {
            // Remembering the options is a convenience: the validation still runs.
            Dialogs().Warning(this, QString::fromStdString(e.what()));
        }
        if (SkipValidationCB1->isChecked()) {
            gui_ShowNextStep();
            return;
        }
        RunValidation();
    });
}

void TConfigModelFitWindow::RunValidation() {
    TRValidationSettings settings;
    // Resolved as the entry checks resolved them, against the application's folder.
    settings.meteo_path = Resolved(TemperaturesPath);
    settings.pheno_path = Resolved(PhenologyPath);
    settings.fit_path = Resolved(FitInfoPath);
    settings.skip_lat = SkipLatitudeValidationCB3->isChecked();
    settings.skip_tmean = SkipMeanTempValidationCB2->isChecked();
    settings.skip_tminmax = SkipMinMaxValidationCB4->isChecked();
    filesValidator = std::make_unique<TInputValidator>(settings, ExeFolder() + ERRLOG_PATH + N_ERRLOG);
    logPath_ = filesValidator->LogFilePath();

    debugProgressbar = new TThreadProgressbar(this);
    debugProgressbar->winOwner = this;
    outcome_ = TOutcome::None;
    suspended_ = false;
    const int run = ++run_;
    validationThread = std::make_unique<TValidationThread>(*filesValidator, [this, run] {
        QMetaObject::invokeMethod(
            this, [this, run] { ThreadDone(run); }, Qt::QueuedConnection);
    });
    TInputValidator* validator = filesValidator.get();
    debugProgressbar->progressProvider = {validator->dataSize(),
                                          [validator] { return validator->dataProgress(); }};
    debugProgressbar->Start();
    const QRect wizard = frameGeometry();
    const QSize bar = debugProgressbar->size();
    debugProgressbar->move(wizard.left() + wizard.width() / 2 - bar.width() / 2,
                           wizard.top() + wizard.height() / 2 - bar.height() / 2 - 12);
    Dialogs().Exec(debugProgressbar);

    // The window closes only when the run has ended; should it come back early, stop the run.
    if (validationThread) EndValidation(TOutcome::Aborted);
    delete debugProgressbar;
    debugProgressbar = nullptr;

    switch (outcome_) {
    case TOutcome::Success:
        gui_ShowNextStep();
        break;
    case TOutcome::Failed:
        ShowDebuggerReport();
        break;
    default:
        break;
    }
}

void TConfigModelFitWindow::ThreadDone(int run) {
    if (run != run_ || !validationThread) return; // already stopped
    EndValidation(TOutcome::Success);
}

void TConfigModelFitWindow::EndValidation(TOutcome outcome) {
    // Stop also opens the pause gate, so a paused run ends too.
    if (outcome == TOutcome::Aborted) filesValidator->Stop();
    if (debugProgressbar) debugProgressbar->Terminate();
    validationThread->Join();
    if (outcome != TOutcome::Aborted) {
        validationError_ = validationThread->error();
        outcome = validationThread->success() ? TOutcome::Success : TOutcome::Failed;
    }
    validationThread.reset();
    filesValidator.reset();
    suspended_ = false;
    outcome_ = outcome;
    if (debugProgressbar) debugProgressbar->accept();
}

void TConfigModelFitWindow::ShowDebuggerReport() {
    activateWindow();
    if (!validationError_.empty()) {
        Dialogs().Error(this, QString::fromStdString(validationError_));
    } else if (Dialogs().Confirm(this,
                                 QStringLiteral("Errors were found in the source files !!!\nLog file can be "
                                                "found at \"") +
                                     QString::fromStdString(logPath_) +
                                     QStringLiteral("\".\nPress \"OK\" to display the report."))) {
        // A machine without a desktop viewer opens nothing: the user must still find the log.
        const QString report = QFileInfo(QString::fromStdString(logPath_)).absoluteFilePath();
        if (!Dialogs().OpenDocument(report))
            Dialogs().Warning(this, QStringLiteral("No viewer could open the report.\nIts full path is \"") +
                                        report + QStringLiteral("\"."));
    }
    SwitchTab(0);
}

std::string TConfigModelFitWindow::CreatedOutput() const {
    for (const std::string& path : createdOutputs_)
        if (SameFile(path, Resolved(SaveFitAsPath))) return path;
    return {};
}

void TConfigModelFitWindow::DropCreatedOutputs(const std::string& kept) {
    for (const std::string& path : createdOutputs_)
        if (path != kept) RemoveIfEmpty(path);
    createdOutputs_.clear();
    if (!kept.empty()) createdOutputs_.push_back(kept);
}

bool TConfigModelFitWindow::ValidationRunning() const {
    return validationThread != nullptr;
}

bool TConfigModelFitWindow::IsValidationSuspended() {
    return suspended_;
}

void TConfigModelFitWindow::SuspendValidation() {
    if (!filesValidator) return;
    filesValidator->Pause();
    suspended_ = true;
}

void TConfigModelFitWindow::ResumeValidation() {
    if (!filesValidator) return;
    filesValidator->Resume();
    suspended_ = false;
}

void TConfigModelFitWindow::AbortValidation() {
    if (validationThread) EndValidation(TOutcome::Aborted);
}
