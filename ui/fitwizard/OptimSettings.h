#pragma once
// The search settings of the fit wizard as the user typed them, their check, their settings
// files (section "option" of default.ini / last.ini) and their conversion for the search.

#include <string>

#include "OrvexRawTypes.h"

struct TOptimSettingsText {
    std::string NbVeryGlobalSearch, NbGlobalSearch, NbConfidenceInterval, TemperatureConfInt;
    std::string MetropolisTemperature, TemperatureClimbRate; // decimals, '.' or ','
    std::string NtrLoops, NtsLoops, NbRepetitions;
    std::string MetPrecision; // decimal
    std::string MaxMissingTemp;
    bool SkipFisher = false;
    bool LeaveOneOut = false;
};

// A key missing from iniPath is read from fallbackPath (when given); missing from both, it
// gives an empty text or false. Decimals come back with '.'.
TOptimSettingsText LoadOptimSettings(const std::string& iniPath, const std::string& fallbackPath = "");
// Every key in order, texts as they stand. Raises EOrvexError when the file cannot be written.
void SaveOptimSettings(const std::string& iniPath, const TOptimSettingsText& s);

// The first text the search cannot use, in the check's order, goes to wrongData (false) and
// its address in s to wrongText when given; wrongData is empty when all pass. MaxMissingTemp
// comes last.
bool ValidateMetropolisValues(const TOptimSettingsText& s, std::string& wrongData,
                              const std::string** wrongText = nullptr);

// The search settings as the main window hands them on; the search sets the other fields.
// Raises EOrvexError when a text is not a number.
TRMetropolisDesc ToMetropolisDesc(const TOptimSettingsText& s);
int ToWholeNumber(const std::string& text);

struct TValidationOptions {
    bool SkipAll = false, SkipLatitude = false, SkipMeanTemp = false, SkipMinMaxTemp = false;
};

// A checked SkipAll leaves the three others false, unread. Missing keys as for the settings.
TValidationOptions LoadValidationOptions(const std::string& iniPath, const std::string& fallbackPath = "");
void SaveValidationOptions(const std::string& iniPath, const TValidationOptions& o);
