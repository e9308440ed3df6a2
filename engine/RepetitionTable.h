#pragma once
// The information table of a repetition and its texts: model-level slots, fitted functions,
// then the six closing entries "-------", SStot, SSres, RMSE, EFF, NbObs.

#include <memory>
#include <string>
#include <vector>

#include "Hashtable.h"
#include "OrvexRawTypes.h"

class TFunctionSettings;
class TModelFunction;

// Number of closing entries every information table ends with.
inline constexpr int INFO_TABLE_STATS = 6;

struct TRInfoTableInput {
    std::string modelType;
    const TRFunctionDesc* fd = nullptr;
    // Per phase, in phase order: its T0 is not fitted (picked from the previous phase or the
    // phenology data), so the T0 slot prints "N/A".
    std::vector<bool> t0NotFitted;
    // The fitted functions, in order; their parameter names and digits come from the
    // function settings file.
    const std::vector<std::unique_ptr<TModelFunction>>* functions = nullptr;
    // The settings file parsed once for the whole fit; null reads the file beside the executable.
    const TFunctionSettings* settings = nullptr;
    // Climate file header, or null when the model has no climate data attached.
    const std::vector<std::string>* climateHeader = nullptr;
    double SStot = 0.0;
    double SSres = 0.0;
    double RMSE = 0.0; // mean squared residual; the table prints its square root
    double EFF = 0.0;
    int nbObs = 0;
};

THashtable BuildInfoTable(const TRInfoTableInput& in);

// General notation with `precision` significant digits and at least `expDigits` exponent
// digits when the exponent form is used ("1.2345678E-05").
std::string FloatToStrGeneralExp(double value, int precision, int expDigits);

// title + LF (when not empty), then key + ":" + TAB + value + LF for the last five entries.
std::string TableStatsText(const THashtable& table, const std::string& title);
// The same for every entry before "-------".
std::string TableParametersText(const THashtable& table, const std::string& title);

// Summary rows of all repetitions: "Repetition" + TAB + 1..n, then per key of the first
// table the key and the k-th value of every table. Empty without tables.
std::vector<std::string> SummaryRows(const std::vector<THashtable>& tables);
