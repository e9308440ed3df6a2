#pragma once
// Base of the response functions that a phase sums day by day, and their factory.
//
// A function object is used by one thread at a time. Evaluation (runDaily, runHourly, Run)
// allocates nothing: it is the inner loop of a fit.

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "DaySums.h"
#include "OrvexConfig.h"
#include "OrvexRawTypes.h"
#include "Weather.h"

class TFunctionSettings;

// The parameter vector of a function; a fixed parameter is left out of the fit.
struct f_param {
    int number_of_parameters = 0;
    std::vector<double> var_value;
    std::vector<bool> fixed_param;
};

// How a function's output joins the phase's daily value; stored by ordinal.
enum class TVarLinkMode { Multiplicative = 0, Additive = 1, Composition = 2 };

// The kinds in the order the editors list them; files store a function by name.
enum class TAvailableFunctions {
    Bidabe,
    Varnel,
    Delpierre,
    Dormphot,
    Erez,
    Four_Phases,
    GDD,
    GDD_Inverse,
    Identity,
    Landsberg,
    Negative_Exponential,
    Parabolic,
    Richardson,
    Richardson_Inverse,
    Sigmoid,
    Sigmoid_Negative,
    Smoothed_Utah,
    STICS_Simple,
    Threshold_Superior,
    Threshold_Inferior,
    Triangular,
    Triangular_Inverse,
    Wang,
    White
};

// Why a start value, step and bounds read from a settings file cannot be fitted (the optimiser
// would never move the parameter or would start it out of bounds); empty when they can.
std::string SettingsBoundsFault(double value, double step, double min, double max);

class TModelFunction {
public:
    virtual ~TModelFunction() = default;
    TModelFunction(const TModelFunction&) = delete;
    TModelFunction& operator=(const TModelFunction&) = delete;

    // --- identity and factory ---
    const std::string& getName() const { return name; }
    // Member name of a kind, e.g. "Smoothed_Utah".
    static std::string GetFuncName(TAvailableFunctions f);
    static int GetNbFunc() { return 24; }
    // Display names ("Smoothed Utah") and member names ("Smoothed_Utah") both reach a kind;
    // any other name raises "Error: Invalid function: '<name>'".
    static std::unique_ptr<TModelFunction> GetFunction(const std::string& funcName);
    static std::unique_ptr<TModelFunction> GetFunction(TAvailableFunctions f);

    void SetIndices(int phase_num, int phase_pos) {
        phaseNum = phase_num;
        phasePos = phase_pos;
    }
    void SetWeatherDataColumn(int column) { weatherDataColumn = column; }
    int GetWeatherDataColumn() const { return useDayLengthAsVar ? 0 : weatherDataColumn; }

    // --- parameters: i is the function's own index, k a free-parameter index ---
    int nbOfParameters() const { return param.number_of_parameters; }
    int nbOfFittedParameters() const;
    double getParameterValue(int i) const;
    void setParameterValue(int i, double value);
    void fixParameter(int i, double value);
    void releaseParameter(int i);
    bool parameterFixed(int i) const;
    // Index of the k-th free parameter; -1 for k < 0.
    int realParamID(int k) const;
    void setFittedParameterValue(int k, double value);
    // The free parameter k takes its start value from the settings file.
    void initFittedParameterValue(int k, TRVarInfo& info);
    // Metadata of parameter i from the settings file beside the executable, read again
    // at every call; stored in varInfos[i] too.
    void parameterInitValues(int i, TRVarInfo& info);
    void parameterInitValuesXML(const std::string& filename, int i, TRVarInfo& info);
    // The same from a settings file already parsed.
    void parameterInitValues(const TFunctionSettings& settings, int i, TRVarInfo& info);
    // <executable folder>/System/Presets/Optimisation/functions.xml
    static std::string SettingsFileName();

    // --- evaluation ---
    // The function's output for one input value; wd is the day the value belongs to.
    // optim -1 means the function's own optimLvl. Raises EOrvexError on a floating-point
    // fault instead of returning NaN or infinity.
    // Inline: it is called once per function and day of every model run.
    double runDaily(const TRWeatherDay& wd, double weather_data, int optim) {
        const double r = compute(wd, weather_data, optim);
        if (!std::isfinite(r)) [[unlikely]]
            raiseFault(std::isnan(r) ? "invalid operation" : "overflow");
        return r;
    }
    // Sum over the hours 2..24 of the hourly routine's temperatures of day i of Wi.
    double runHourly(const TWeatherYear& Wi, int i, int optim);
    // runDaily on a day that carries no data (overlap functions).
    double Run(double value, int optim);
    // runDaily with the day's _tmu as the input (the function playground).
    double runDailyT(const TRWeatherDay& wd, int optim) { return runDaily(wd, wd._tmu, optim); }
    // Feeds the function hourly temperatures from f (not owned), or daily values for nullptr.
    void workWithTempHour(const TTempHourFunc* f);
    // Clears state carried from one call to the next; the model calls it before each run.
    virtual void ResetState() {}
    // ResetState for the kinds that carry state: no call per run for the others.
    void ResetIfStateful() {
        if (keepsState_) ResetState();
    }

    // Whether compute reads the day record besides its input value; the daily run builds the
    // record only for the kinds that do.
    virtual bool ReadsDay() const { return true; }
    // The unchecked outputs for a run of input values, out[k] for x[k], in one call: the kinds
    // whose output depends on the input value alone give them and return true (also for
    // n == 0, which asks whether the kind can); the others return false.
    virtual bool computeRun(const double* x, int n, double* out, int optim) {
        (void)x, (void)n, (void)out, (void)optim;
        return false;
    }
    // Whether outputs come from computeRun and sumDays: asked once, as the kind never changes.
    bool RunsOfValues() {
        if (runsOfValues_ < 0) runsOfValues_ = !ReadsDay() && computeRun(nullptr, 0, nullptr, 0) ? 1 : 0;
        return runsOfValues_ == 1;
    }
    // SumDays of a phase of this one function over days of one climate column, the outputs
    // computed inline: the kinds whose output depends on the input value alone do it and
    // return true; the others return false.
    virtual bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) {
        (void)s, (void)in, (void)optim;
        return false;
    }
    // runDaily's check, on an output of computeRun.
    double checked(double r) const {
        if (!std::isfinite(r)) [[unlikely]]
            raiseFault(std::isnan(r) ? "invalid operation" : "overflow");
        return r;
    }

    // --- copy and text ---
    // Same kind and settings; carried run state starts afresh.
    std::unique_ptr<TModelFunction> Clone() const;
    // Display name, then one line per parameter "name: value" (index -1) or "name<i>: value".
    std::string toString(int i = -1);

    // --- fields ---
    int optimLvl = 0; // exponential mode used when a run passes -1: 0 double, else single precision
    f_param param;
    bool tempHour = false;
    bool mustTempHour = false;
    TInterpolationFunc tempHourFunction = nullptr;
    std::string TempHourFuncName;
    std::string name; // display name, also the key in functions.xml
    std::vector<TRVarInfo> varInfos;
    int phaseNum = 0;
    int phasePos = 0;
    TVarLinkMode varLinkMode = TVarLinkMode::Multiplicative;
    double weight = 1.0;
    bool useDayLengthAsVar = false;
    bool overlapCompatible = false;
    int coeffCrit = 1; // 1 or 25: scales the phase's S* settings
    int weatherDataColumn = 0;

protected:
    TModelFunction(const char* displayName, int nbParams, int optimLevel, bool overlap, int coeff = 1);
    // The kind's formula; p is param.var_value.data().
    virtual double compute(const TRWeatherDay& wd, double T, int optim) = 0;
    const double* p() const { return param.var_value.data(); }
    // exp that raises instead of overflowing.
    double checkedExp(double x) const;
    [[noreturn]] void raiseFault(const char* what) const;
    // The level a run asks for: optim, or optimLvl for -1.
    int level(int optim) const { return optim == -1 ? optimLvl : optim; }
    bool keepsState_ = false; // set by the kinds whose ResetState clears something

private:
    void checkIndex(int i) const;
    signed char runsOfValues_ = -1; // RunsOfValues not asked yet
};
