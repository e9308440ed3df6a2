#include "OptimSettings.h"

#include <utility>
#include <vector>

#include "IniFile.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "UtilStuff.h"

namespace {

const char* const SECTION = "option";

enum class TKind { Whole, AtLeastOne, Decimal };

// The checked values in the order of the check.
std::vector<std::pair<const std::string*, TKind>> CheckOrder(const TOptimSettingsText& s) {
    // The search divides by and loops over these: fewer than one run of them cannot run.
    return {{&s.NbVeryGlobalSearch, TKind::Whole},
            {&s.NbGlobalSearch, TKind::AtLeastOne},
            {&s.NbConfidenceInterval, TKind::AtLeastOne},
            {&s.TemperatureConfInt, TKind::Whole},
            {&s.MetropolisTemperature, TKind::Decimal},
            {&s.TemperatureClimbRate, TKind::Decimal},
            {&s.NtrLoops, TKind::AtLeastOne},
            {&s.NtsLoops, TKind::AtLeastOne},
            {&s.NbRepetitions, TKind::AtLeastOne},
            {&s.MetPrecision, TKind::Decimal},
            // Checked last, with the others: an empty value would pass "FIT NOW !", be saved to
            // last.ini and only then fail its conversion, taking the designed model with it.
            {&s.MaxMissingTemp, TKind::Whole}};
}

bool Passes(const std::string& text, TKind kind) {
    int whole = 0;
    switch (kind) {
    case TKind::Whole:
        return TryParseInt(text, whole);
    case TKind::AtLeastOne:
        return TryParseInt(text, whole) && whole >= 1;
    case TKind::Decimal:
        return IsFloat(text);
    }
    return false;
}

double ToDecimal(const std::string& text) {
    return SettingToFloat(StrNormalizeFloat(text));
}

} // namespace

TOptimSettingsText LoadOptimSettings(const std::string& iniPath, const std::string& fallbackPath) {
    const TIniFile ini(iniPath, fallbackPath);
    const auto read = [&](const char* key) { return ini.ReadString(SECTION, key, ""); };
    TOptimSettingsText s;
    s.NbVeryGlobalSearch = read("NbVeryGlobalSearch");
    s.NbGlobalSearch = read("NbGlobalSearch");
    s.NbConfidenceInterval = read("NbConfidenceInterval");
    s.TemperatureConfInt = read("TemperatureConfInt");
    s.MetropolisTemperature = StrNormalizeFloat(read("MetropolisTemperature"));
    s.TemperatureClimbRate = StrNormalizeFloat(read("TemperatureClimbRate"));
    s.NtrLoops = read("NtrLoops");
    s.NtsLoops = read("NtsLoops");
    s.NbRepetitions = read("NbRepetitions");
    s.MetPrecision = StrNormalizeFloat(read("MetPrecision"));
    s.MaxMissingTemp = read("MaxMissingTemp");
    s.SkipFisher = myStrToBool2(read("SkipFisher"));
    s.LeaveOneOut = myStrToBool2(read("LeaveOneOut"));
    return s;
}

void SaveOptimSettings(const std::string& iniPath, const TOptimSettingsText& s) {
    TIniFile ini(iniPath);
    const auto write = [&](const char* key, const std::string& value) {
        ini.WriteString(SECTION, key, value);
    };
    write("NbVeryGlobalSearch", s.NbVeryGlobalSearch);
    write("NbGlobalSearch", s.NbGlobalSearch);
    write("NbConfidenceInterval", s.NbConfidenceInterval);
    write("TemperatureConfInt", s.TemperatureConfInt);
    write("MetropolisTemperature", s.MetropolisTemperature);
    write("TemperatureClimbRate", s.TemperatureClimbRate);
    write("NtrLoops", s.NtrLoops);
    write("NtsLoops", s.NtsLoops);
    write("NbRepetitions", s.NbRepetitions);
    write("MetPrecision", s.MetPrecision);
    write("MaxMissingTemp", s.MaxMissingTemp);
    write("SkipFisher", myBoolToStr2(s.SkipFisher));
    write("LeaveOneOut", myBoolToStr2(s.LeaveOneOut));
}

bool ValidateMetropolisValues(const TOptimSettingsText& s, std::string& wrongData,
                              const std::string** wrongText) {
    for (const auto& [text, kind] : CheckOrder(s)) {
        if (!Passes(*text, kind)) {
            wrongData = *text;
            if (wrongText) *wrongText = text;
            return false;
        }
    }
    wrongData.clear();
    return true;
}

int ToWholeNumber(const std::string& text) {
    int v = 0;
    if (!TryParseInt(text, v)) throw EOrvexError("'" + text + "' is not a valid integer value");
    return v;
}

TRMetropolisDesc ToMetropolisDesc(const TOptimSettingsText& s) {
    TRMetropolisDesc d;
    d.ntr = ToWholeNumber(s.NtrLoops);
    d.nts = ToWholeNumber(s.NtsLoops);
    d.missing_threshold = ToWholeNumber(s.MaxMissingTemp);
    d.veryglob = ToWholeNumber(s.NbVeryGlobalSearch);
    d.global = ToWholeNumber(s.NbGlobalSearch);
    d.nb_repetitions = ToWholeNumber(s.NbRepetitions);
    d.temp_confint = ToWholeNumber(s.TemperatureConfInt);
    d.conf_interval = ToWholeNumber(s.NbConfidenceInterval);
    d.temp0 = ToDecimal(s.MetropolisTemperature);
    d.tempf = d.temp0;
    d.climbrate = ToDecimal(s.TemperatureClimbRate);
    d.precision = ToDecimal(s.MetPrecision);
    d.skip_fisher = s.SkipFisher;
    return d;
}

TValidationOptions LoadValidationOptions(const std::string& iniPath, const std::string& fallbackPath) {
    const TIniFile ini(iniPath, fallbackPath);
    const auto read = [&](const char* key) { return myStrToBool2(ini.ReadString(SECTION, key, "")); };
    TValidationOptions o;
    o.SkipAll = read("SkipAll");
    if (o.SkipAll) return o;
    o.SkipLatitude = read("SkipLatitude");
    o.SkipMeanTemp = read("SkipMeanTemp");
    o.SkipMinMaxTemp = read("SkipMinMaxTemp");
    return o;
}

void SaveValidationOptions(const std::string& iniPath, const TValidationOptions& o) {
    TIniFile ini(iniPath);
    ini.WriteString(SECTION, "SkipAll", myBoolToStr2(o.SkipAll));
    ini.WriteString(SECTION, "SkipLatitude", myBoolToStr2(o.SkipLatitude));
    ini.WriteString(SECTION, "SkipMeanTemp", myBoolToStr2(o.SkipMeanTemp));
    ini.WriteString(SECTION, "SkipMinMaxTemp", myBoolToStr2(o.SkipMinMaxTemp));
}
