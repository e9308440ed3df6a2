#include "FitWizardLauncher.h"

std::optional<TFitRequest> RunFitWizard(QWidget*, const TFitPaths&) {
    return std::nullopt;
}
