#pragma once
// A phenology model: an ordered chain of phases. One Run simulates one year of one site and
// stores one predicted date per phase. The same object serves a fit and a simulation; it is
// used by one thread at a time.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ClimateTable.h"
#include "OrvexRawTypes.h"
#include "Phase.h"
#include "Weather.h"

namespace pugi {
class xml_node;
}

struct TRResult {
    double predicted = MISSING;
    double observed = MISSING;
    bool used_to_fit = false;
};

struct TRSimulationResult {
    int station_code = 0;
    int provenance = 0;
    int year = 0;
    std::vector<TRResult> values; // one per phase, in phase order
};

class TMetaModel {
public:
    TMetaModel() = default;
    TMetaModel(const TMetaModel&) = delete;
    TMetaModel& operator=(const TMetaModel&) = delete;

    // --- set-up before runs ---
    // Fit: the rows of dpheno, linked to the climate data through dpheno.weatherPTR.
    void Initialize(int dmax_missing_temp, const TRPhenoInfos& dpheno);
    // Simulation: one run per climate year of wea, or per line of simInfo once it is set.
    void Initialize(int dmax_missing_temp, const TWeather& wea);
    // Both read the climate data once: call them again when it changes.
    // Fit: as `other` was initialised, reading its climate look-ups rather than building its own.
    void InitializeLike(const TMetaModel& other);

    // --- editing ---
    void PushPhase(std::unique_ptr<TPhase> a_phase);
    void PopPhase();
    // Replaces a function in its phase and in FunctionsArr; returns the replaced one. The
    // phase's coeffSStar is left for the caller to recompute.
    std::unique_ptr<TModelFunction> UpdateFunctionAt(int phase_num, int phase_pos,
                                                     std::unique_ptr<TModelFunction> func);
    // FunctionsArr from the phases: phase by phase, each phase's functions in order.
    void SortFunctions();
    // Same name and phases; Wea is the fit's climate data. Not initialised: never run.
    std::unique_ptr<TMetaModel> Clone() const;

    // --- runs ---
    // Fit: phenology row i_obs (from 0). Simulation: T0 line i_obs, or climate year i_obs.
    // Allocates nothing. Raises EOrvexError on input that does not fit the model (a row
    // without climate data, a start day outside -365..365, ...) and on floating-point faults.
    void Run(int i_obs);
    // Fit: brings the climate look-ups of phenology row i_obs toward the cache ahead of its Run,
    // a station-year of its own far from the last: its entry's head, or with `days` also the
    // first phase's first days (the head should have been fetched a row earlier). A hint only.
    void PrefetchRow(int i_obs, bool days) const;
    int GetNbMissingTemp() const { return nbMissingTemp; }
    // Of those, the ones met on days the climate data does not reach (before its first day or
    // after its last).
    int GetNbMissingOutsideData() const { return nbMissingOutside_; }
    int GetNbPhases() const { return static_cast<int>(PhasesArr.size()); }
    bool HasPhenoInfo() const { return Pheno.weatherPTR != nullptr; }
    bool HasT0SimInfo() const { return !simInfo.Years.empty(); }

    // --- results ---
    // "station_code\tyear" then "\tpredicted k" per phase.
    std::string ToStringHeader() const;
    // Station and year of climate year i_obs of W, then the predicted dates ("0.#").
    std::string ToString(const TWeather& W, int i_obs) const;
    TRSimulationResult ToSimResult(const TRPhenoData& real_data) const;
    // Runs every row of pheno (T0 picked from its row where the phase says so; a row without
    // one uses the T0 the phase has at the call). The phases' T0 are as before afterwards.
    std::vector<TRSimulationResult> SaveSimResults(const TRPhenoInfos& pheno);

    // --- free parameters of a fit (slots from 0) ---
    // Lays out fd: per phase T0 and S*, the overlap parameters of linked phases, then the
    // functions' free parameters; sets the model to the start values.
    void initializeParameters(TRFunctionDesc& fd);
    // Writes the slot values back in the same layout. Allocates nothing.
    void setParameters(const TRFunctionDesc& fd);

    // --- model file ---
    // Appends a Model element to parent.
    void SaveToXML(pugi::xml_node parent) const;
    // Writes the model file through a temporary file that replaces the old one.
    void SaveToXML(const std::string& a_filename) const;
    // Appends the phases of the file to the model and takes its name; on any error the
    // model stays as it was and the error names the file and line.
    void LoadFromXML(const std::string& a_filename);
    void LoadFromXML(pugi::xml_node model_node);

    // --- fields ---
    int nbMissingTemp = 0;   // missing climate values met by the last Run
    int maxMissingTemp_ = 0; // more than this in one Run make the dates missing
    std::string name = "Meta Model";
    std::vector<std::unique_ptr<TPhase>> PhasesArr;
    std::vector<TModelFunction*> FunctionsArr; // all functions, phase by phase; not owned
    std::vector<double> DatePredictedArr;      // one per phase; -9999 no date
    TRPhenoInfos Pheno;
    TRSimInfo simInfo;
    const TWeather* Wea = nullptr;
    bool initialized = false;
    // Every phase takes the general day loop, which the faster loops must match to the bit (tests).
    bool generalDayLoopOnly = false;

private:
    using YearDays = TClimateTable::YearDays;
    void BuildClimateCache(const TWeather& W);
    // Day -365..366 of the station-year as a record.
    static TRWeatherDay DayAt(const YearDays& yd, int day);
    // GetWeatherDayDataAt(DayAt(yd, day), col) without the record.
    static double ValueAt(const YearDays& yd, int day, int col);
    // What a run carries from phase to phase.
    struct RunState {
        int day = 0;
        double a_sum = 0.0; // the last increment: a phase without functions adds it day after day
        bool prev_failed = false;
    };
    // A phase's sum after its last day and the day before, and the S* it ran to.
    struct PhaseSums {
        double Sum = 0.0, Sum1 = 0.0, sStar = 0.0;
    };
    void RunPhases(const YearDays& yd, const TRPhenoData* row, const TRSimYear* simYear);
    // The phase's first day: its own T0, or after a failed previous phase sixty days after the
    // observation; a linked phase starts no earlier than the previous one.
    void StartPhase(TPhase& ph, const TPhase* prev, double t0, double obs, const YearDays& yd,
                    RunState& st) const;
    PhaseSums RunSimplePhase(TPhase& ph, const YearDays& yd, double limit, RunState& st);
    PhaseSums RunGeneralPhase(TPhase& ph, const TPhase* prev, const YearDays& yd, double limit, RunState& st);
    double DayIncrement(TPhase& ph, const YearDays& yd, int day, double a_sum);
    double PredictedDate(const TPhase& ph, const PhaseSums& s, int day) const;
    void LoadPhases(pugi::xml_node model_node, const std::string& fileName, const std::string& text);

    int nbMissingOutside_ = 0;
    // Shared with the model's copies on threads, never written after it is built.
    std::shared_ptr<const TClimateTable> climate_;
};
