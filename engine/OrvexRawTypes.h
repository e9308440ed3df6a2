#pragma once
// Plain records passed between readers, model, optimiser, output writers and windows.
//
// Tables the original sized once (10000 rows, 30 parameter slots) are growable here and
// indexed from 0: row k of a file (counted from 1) is element k - 1.

#include <string>
#include <vector>

#include "MathUtils.h"

class TWeather;

// Largest number of free parameters in one fit; one more is an error.
inline constexpr int MAX_FREE_PARAMETERS = 30;
// Longest parameter name kept; a longer one is cut when stored.
inline constexpr std::size_t MAX_PARAM_NAME = 20;

struct TRPhenoDate {
    double date = MISSING; // day of the year, -9999 when not observed
    int fits = 0;          // 1 when the last objective evaluation scored this date
};

struct TRPhenoData {
    int station = 0;
    int provenance = 0;
    int year = 0;
    // dates[c] holds the file's column c + 3 (columns 0..2 are station, provenance, year).
    std::vector<TRPhenoDate> dates;
};

struct TRPhenoInfos {
    std::vector<std::string> dataHeader; // every column name of the header line
    std::vector<TRPhenoData> tabPheno;   // rows in file order
    TWeather* weatherPTR = nullptr;      // climate data of the run, set by TWeather::LoadAndPheno
    std::vector<int> tabWeatherIdx;      // per row: index of its climate station-year, -1 when none
    int maxObsYear = 0;                  // largest year >= 1 of the rows (0 when none)
    int minObsYear = 9999;               // smallest year >= 1 of the rows (9999 when none)

    int nb_obs() const { return static_cast<int>(tabPheno.size()); }
};

struct TRInfoData {
    int station = 0;
    int lat = 0; // declared for a latitude, never filled
    int provenance = 0;
    int year = 0;
    int line = 0; // line in the fit-information file, for messages
};

struct TRFitInfo {
    std::vector<TRInfoData> tabFit; // rows in file order

    int nb_fit() const { return static_cast<int>(tabFit.size()); }
};

struct TRSimYear {
    int year = 0;
    int wea_id = -1;             // climate station-year of this year, set by TWeather::LoadAndT0
    std::vector<double> t0_data; // one T0 per phase, in phase order
};

struct TRSimInfo {
    std::vector<std::string> header; // declared for the header line, never assigned
    int nb_phases = 0;               // number of T0 columns
    std::vector<TRSimYear> Years;    // in file order
};

struct TRVarInfo {
    double minBound = 0.0;
    double maxBound = 0.0;
    double value = 0.0;
    double lastvalue = 0.0;          // point kept by the staged search between its stages
    double bestvalue = 0.0;          // best of the current search
    double best_overall_value = 0.0; // best over all searches of the repetition
    double step = 0.0;
    int b4_point = 0;    // digits shown before the decimal point
    int after_point = 0; // digits shown after it
    std::string name;    // at most MAX_PARAM_NAME characters; use setName

    void setName(const std::string& n) { name = n.substr(0, MAX_PARAM_NAME); }
};

struct TRFunctionDesc {
    int nb_of_parameters = 0;
    int nb_of_model_parameters = 0; // leading slots that belong to the phases (T0, S*, overlap)
    // The objective is the negated residual sum of squares: zero or negative, larger is better.
    double curr_result = 0.0;
    double best_result = 0.0;
    double best_overall_result = 0.0;
    double mean_result = 0.0;
    double var_result = 0.0;
    // Slots 0..nb_of_parameters-1 are used; at most MAX_FREE_PARAMETERS.
    std::vector<TRVarInfo> var_info;
};

struct TRMetropolisDesc {
    int ntr = 0;
    int nts = 0;
    int missing_threshold = 0;
    int veryglob = 0;
    int global = 0;
    int nb_repetitions = 0;
    int temp_confint = 0;
    int conf_interval = 0;
    double temp0 = 0.0;
    double tempf = 0.0;
    double bgeup = 0.0;
    double bgedown = 0.0;
    double tT = 0.0;
    double t0 = 0.0;
    double climbrate = 0.0;
    double pacc = 0.0;
    double precision = 0.0;
    bool skip_fisher = false;
};

struct TRRawData {
    bool used_to_fit = false;
    std::vector<double> data_row; // in the order of the table's column names
};
