#pragma once
// One developmental stage of a phenology model: from its starting day it sums the combined
// daily output of its response functions until the sum exceeds its critical sum S*.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ModelFunction.h"
#include "OrvexRawTypes.h"
#include "Weather.h"

// Stored by ordinal in model files.
enum class TPhaseT0Mode { Fitted = 0, PickedFromPrevPhase = 1, Fixed = 2, PickedFromPheno = 3 };
// No: T0 is a day of the year; otherwise a day length reached while days lengthen or shorten.
enum class TPhotoperiodMode { No = 0, YesIncreasing = 1, YesDecreasing = 2 };
enum class TPhaseLinkMode {
    Sequential = 0,
    Alternating = 1,
    Overlap_Multiplication = 2,
    Overlap_Composition = 3
};

// Days a phase can sum: the previous year, this year and the first day of the next.
inline constexpr int FIRST_RUN_DAY = -365;
inline constexpr int LAST_RUN_DAY = 365;
inline constexpr int SUM_TAB_SIZE = LAST_RUN_DAY - FIRST_RUN_DAY + 1;

class TMetaModel;
using TFunctionList = std::vector<std::unique_ptr<TModelFunction>>;

class TPhase {
public:
    // The first phase starts Fitted, later ones PickedFromPrevPhase.
    TPhase(TMetaModel* owner, TFunctionList funcs, int idx);
    TPhase(const TPhase&) = delete;
    TPhase& operator=(const TPhase&) = delete;

    // 1, times 24 per hourly function, times every function's coeffCrit; renumbers the functions.
    void calculateCoeffSStar();
    // First day of the phase when its T0 is not picked from the previous phase; raises when
    // that day lies outside -365..365 or a photoperiod T0 lacks the latitude.
    int InitStartingDate(const TWeather& W, int W_idx) const;
    // The same from the latitude and its day lengths on days 365 and 172 (DayLength).
    int StartingDay(double lat, double dayLength365, double dayLength172) const {
        return StartingDayOf(t0, lat, dayLength365, dayLength172);
    }
    // The same for another T0 (a simulation's T0 line), leaving the phase's own T0 as it is.
    // Inline for a day-of-year T0 within the run's days: once per phase of every run.
    int StartingDayOf(double aT0, double lat, double dayLength365, double dayLength172) const {
        // Halves go to the even day: -365.5 and 365.5 lie outside.
        if (photoperiodMode == TPhotoperiodMode::No && aT0 > FIRST_RUN_DAY - 0.5 && aT0 < LAST_RUN_DAY + 0.5) {
            constexpr double TWO52 = 4503599627370496.0; // whole doubles from here on
            return static_cast<int>(aT0 >= 0.0 ? (aT0 + TWO52) - TWO52 : (aT0 - TWO52) + TWO52);
        }
        return PhotoperiodStartOrRaise(aT0, lat, dayLength365, dayLength172);
    }
    void FixT0(double value);
    void SetT0(double value) { t0 = value; }
    void PushFunction(std::unique_ptr<TModelFunction> a_func);
    void PopFunction(); // an empty phase stays as it is
    // Same settings, functions and overlap function; no owner, no run state.
    std::unique_ptr<TPhase> Clone() const;

    // Start value, step and bounds of T0 and S* from the phase settings file beside the
    // executable, read again at every call. S* values are scaled by coeffSStar.
    TRVarInfo parameterInitT0(bool is_photoperiod) const;
    TRVarInfo parameterInitSStar(bool is_photoperiod) const;
    TRVarInfo parameterInitT0XML(const std::string& xml_file_path, bool is_photoperiod) const;
    TRVarInfo parameterInitSStarXML(const std::string& xml_file_path, bool is_photoperiod) const;
    // <executable folder>/System/Presets/Optimisation/phase.xml
    static std::string SettingsFileName();

    int index;
    TMetaModel* ownerModel;

    TFunctionList functions;
    double sStar = 0.0;
    std::array<double, SUM_TAB_SIZE> sumTab{}; // sum at the end of day d at d + 365
    int first_date = 0;
    int last_date = 0;
    int coeffSStar = 1;
    bool sStarFixed = false;
    std::unique_ptr<TModelFunction> overlapFunc; // applied to the previous phase's sum
    double overlapMultiplier = 0.0;
    double overlapCompVar = 0.0;
    bool usedToFit = true;
    TPhaseT0Mode t0Mode;
    double t0 = 0.0;
    TPhotoperiodMode photoperiodMode = TPhotoperiodMode::No;
    // Shared with the functions through workWithTempHour; none for daily sampling.
    std::unique_ptr<TTempHourFunc> tempHourFunction;
    TPhaseLinkMode phaseLinkMode = TPhaseLinkMode::Sequential;
    int phenoDataColumn = -1; // observed date in TRPhenoData::dates; -1 none
    int t0DataColumn = -1;    // T0 in TRPhenoData::dates for PickedFromPheno; -1 none

private:
    // The rest of StartingDayOf: the day a photoperiod T0 (a day length) is reached, raising
    // without a latitude or when that day lies outside the run's days; a day-of-year T0 that
    // comes here lies outside them and always raises.
    int PhotoperiodStartOrRaise(double aT0, double lat, double dayLength365, double dayLength172) const;
};
