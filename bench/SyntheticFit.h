#pragma once
// A fit data set made by a known model: synthetic daily climate, a one-phase degree-day model
// (T0, S* and the GDD base temperature free), observed dates from the model plus noise, and
// the shipped default optimisation settings. Shared by the search tests and benchmark.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <random>
#include <stdexcept>
#include <string>

#include "FileUtils.h"
#include "MetaModel.h"
#include "MyMetropolis.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "UtilStuff.h"

namespace synthetic {

inline std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The keys of section [option] of a settings file (keys in lower case).
inline std::map<std::string, std::string> ReadOptions(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::map<std::string, std::string> keys;
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            section = Lower(line.substr(1, line.find(']') - 1));
        } else if (const auto eq = line.find('='); section == "option" && eq != std::string::npos) {
            keys[Lower(line.substr(0, eq))] = line.substr(eq + 1);
        }
    }
    return keys;
}

// Settings keys (lower case) turned into the optimiser's settings as the main window does.
inline TRMetropolisDesc SettingsFromKeys(const std::map<std::string, std::string>& keys) {
    auto text = [&](const char* key) {
        const auto it = keys.find(Lower(key));
        return it == keys.end() ? std::string() : it->second;
    };
    auto whole = [&](const char* key) {
        int v = 0;
        if (!TryParseInt(text(key), v)) throw std::runtime_error(std::string("bad ") + key);
        return v;
    };
    auto real = [&](const char* key) { return SettingToFloat(text(key)); };
    TRMetropolisDesc md;
    md.ntr = whole("NtrLoops");
    md.nts = whole("NtsLoops");
    md.missing_threshold = whole("MaxMissingTemp");
    md.veryglob = whole("NbVeryGlobalSearch");
    md.global = whole("NbGlobalSearch");
    md.nb_repetitions = whole("NbRepetitions");
    md.temp_confint = whole("TemperatureConfInt");
    md.conf_interval = whole("NbConfidenceInterval");
    md.temp0 = md.tempf = real("MetropolisTemperature");
    md.climbrate = real("TemperatureClimbRate");
    md.precision = real("MetPrecision");
    md.skip_fisher = myStrToBool2(text("SkipFisher"));
    return md;
}

// The shipped default.ini.
inline TRMetropolisDesc DefaultSettings() {
    return SettingsFromKeys(ReadOptions(GetExecutableDir() + PRESETS_OPTIM_DIR + "default.ini"));
}

// The objective, counting its evaluations.
class CountingObjective : public TMyMetropolis {
public:
    using TMyMetropolis::TMyMetropolis;
    double f(const TRFunctionDesc& fd) override {
        ++calls;
        return TMyMetropolis::f(fd);
    }
    long long calls = 0;
};

// One observed row on the station-year at index; its date is filled in from a known model.
// One fitted phase summing `f` over the first climate column, observed in the first date column.
inline void PushFittedPhase(TMetaModel& model, std::unique_ptr<TModelFunction> f) {
    f->SetWeatherDataColumn(0);
    auto phase = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    phase->PushFunction(std::move(f));
    phase->t0Mode = TPhaseT0Mode::Fitted;
    phase->phenoDataColumn = 0;
    phase->usedToFit = true;
    model.PushPhase(std::move(phase));
}

inline void AddRow(TRPhenoInfos& pheno, TRFitInfo& fit, int station, int year, int index) {
    TRPhenoData pr;
    pr.station = station;
    pr.year = year;
    pr.dates.push_back({MISSING, 0});
    pheno.tabPheno.push_back(pr);
    pheno.tabWeatherIdx.push_back(index);
    fit.tabFit.push_back({station, 0, 0, year});
}

// Slots of the model's parameter vector.
enum Slot { T0 = 0, SSTAR = 1, TBASE = 2 };

struct Known {
    double t0 = 30.0;     // day of the year the sum starts
    double sStar = 250.0; // degree-days above the base
    double tBase = 5.0;
};

// Everything a fit needs; it never moves (the records point at the climate data).
struct FitData {
    TWeather weather;
    TRPhenoInfos pheno;
    TRFitInfo fit;
    TMetaModel model;
    Known known;
    TRFunctionDesc knownPoint; // the model's parameter vector at the known values
};

// nbRows observed station-years (ten stations) of seasonal daily temperatures with day-to-day and
// year-to-year noise; each row's observed date is the known model's date, plus noise of
// about dateNoise days, rounded to a whole day as observers record it.
inline std::unique_ptr<FitData> Make(int nbRows, double dateNoise = 3.0, unsigned seed = 7) {
    auto data = std::make_unique<FitData>();
    std::mt19937 rng(seed);
    auto uniform = [&rng] { return static_cast<double>(rng()) / 4294967296.0; };
    auto noise = [&] {
        return (uniform() + uniform() + uniform() + uniform() - 2.0) * std::sqrt(3.0);
    }; // sd 1

    // Each station's years in order, with the year before its first observation, so that a
    // start day before 1 January reads real days rather than missing ones.
    constexpr int STATIONS = 10;
    const int yearsPerStation = (nbRows + STATIONS - 1) / STATIONS;
    for (int s = 0; s < STATIONS; ++s) {
        for (int k = 0; k <= yearsPerStation; ++k) {
            const int station = 1 + s, year = 1979 + k, index = data->weather.NbYears();
            auto y = std::make_unique<TWeatherYear>(year, station, index, &data->weather);
            const double yearShift = 2.0 * noise();
            for (int d = 1; d <= y->numDays; ++d) {
                const double tmp = 10.0 - 11.0 * std::cos(2.0 * std::numbers::pi * (d - 20) / 365.0) +
                                   yearShift + 3.0 * noise();
                y->SetDay(
                    d, CreateWeatherDay(TDoubleArr{}, 0, station, 45.0, year, d, tmp, tmp - 5.0, tmp + 5.0));
            }
            data->weather.years.push_back(std::move(y));
            const int row = s * yearsPerStation + k - 1;
            if (k == 0 || row >= nbRows) continue;
            synthetic::AddRow(data->pheno, data->fit, station, year, index);
        }
    }
    data->pheno.weatherPTR = &data->weather;

    PushFittedPhase(data->model, TModelFunction::GetFunction("GDD"));

    // Observed dates from the known model.
    data->model.initializeParameters(data->knownPoint);
    data->knownPoint.var_info[T0].value = data->known.t0;
    data->knownPoint.var_info[SSTAR].value = data->known.sStar;
    data->knownPoint.var_info[TBASE].value = data->known.tBase;
    // Simulation mode runs climate year k without reading observations.
    data->model.Initialize(0, data->weather);
    data->model.setParameters(data->knownPoint);
    for (int k = 0; k < nbRows; ++k) {
        data->model.Run(data->pheno.tabWeatherIdx[static_cast<std::size_t>(k)]);
        const double date = std::nearbyint(data->model.DatePredictedArr[0] + dateNoise * noise());
        data->pheno.tabPheno[static_cast<std::size_t>(k)].dates[0].date = date;
    }
    data->model.Initialize(0, data->pheno);
    return data;
}

} // namespace synthetic
