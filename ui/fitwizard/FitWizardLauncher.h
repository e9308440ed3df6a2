#pragma once
// The main window's door to the fit configuration wizard.

#include <optional>
#include <string>

#include "FitRequest.h"

class QWidget;

// The paths the wizard's files tab starts with (the remembered ones).
struct TFitPaths {
    std::string temperatures;
    std::string phenology;
    std::string fitInfo;
    std::string saveFitAs;
};

// Shows the wizard modally (through Dialogs().Exec) with these paths filled in. Returns the
// request when the user chose "FIT NOW !", nothing when the wizard was cancelled or closed.
// Raises EOrvexError when a search setting cannot be converted to a number.
std::optional<TFitRequest> RunFitWizard(QWidget* parent, const TFitPaths& paths);
