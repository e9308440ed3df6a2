// One objective evaluation of a fit: setParameters and Run for every phenology row of 200
// synthetic station-years (20 stations, 10 consecutive years each). The counter "per_day" is the
// time per station-year-day summed; the hand-written degree-day loop over the same days is the floor.

#include <benchmark/benchmark.h>

#include <cmath>

#include "MetaModel.h"
#include "ModelsFuncLib.h"
#include "UtilStuff.h"

namespace {
constexpr int STATIONS = 20;
constexpr int YEARS = 10;

struct Data {
    TWeather W;
    TRPhenoInfos pheno;
    Data() {
        for (int s = 0; s < STATIONS; ++s) {
            const double lat = 40.0 + s * 0.5;
            for (int y = 0; y < YEARS; ++y) {
                const int year = 1990 + y;
                auto wy = std::make_unique<TWeatherYear>(year, s + 1, W.NbYears(), &W);
                for (int d = 1; d <= wy->numDays; ++d) {
                    const double noise = 3.0 * std::sin(d * 0.7 + s * 1.3 + y * 2.1);
                    const double mean =
                        10.0 + 0.1 * s - 11.0 * std::cos(2.0 * 3.141592653589793 * (d + 10) / 365.0) + noise;
                    wy->SetDay(d, CreateWeatherDay(TDoubleArr{}, 0, s + 1, lat, year, d, mean, mean - 5.0,
                                                   mean + 5.0));
                }
                TRPhenoData row;
                row.station = s + 1;
                row.year = year;
                row.dates.push_back({100.0 + (s + y) % 30, 0});
                pheno.tabPheno.push_back(row);
                pheno.tabWeatherIdx.push_back(W.NbYears());
                W.years.push_back(std::move(wy));
            }
        }
        pheno.weatherPTR = &W;
    }
};

const Data& Climate() {
    static const Data data;
    return data;
}

std::unique_ptr<TPhase> Phase(int index, const char* kind, std::initializer_list<double> params, double t0,
                              double sStar, bool hourly = false) {
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, index);
    if (hourly) ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    auto f = TModelFunction::GetFunction(kind);
    int i = 0;
    for (double v : params)
        f->setParameterValue(i++, v);
    f->workWithTempHour(ph->tempHourFunction.get());
    ph->PushFunction(std::move(f));
    ph->t0Mode = index == 0 ? TPhaseT0Mode::Fitted : TPhaseT0Mode::PickedFromPrevPhase;
    ph->t0 = t0;
    ph->sStar = sStar;
    ph->usedToFit = false;
    return ph;
}

// The parameter vector of the model as it stands.
TRFunctionDesc CurrentVector(const TMetaModel& m) {
    TRFunctionDesc fd;
    for (const auto& ph : m.PhasesArr) {
        fd.var_info.emplace_back().value = ph->t0;
        fd.var_info.emplace_back().value = ph->sStar;
    }
    for (const TModelFunction* f : m.FunctionsArr)
        for (int j = 0; j < f->nbOfFittedParameters(); ++j)
            fd.var_info.emplace_back().value = f->getParameterValue(f->realParamID(j));
    fd.nb_of_parameters = static_cast<int>(fd.var_info.size());
    return fd;
}

void Evaluate(benchmark::State& state, TMetaModel& m) {
    const Data& data = Climate();
    m.PhasesArr.back()->usedToFit = true;
    m.PhasesArr.back()->phenoDataColumn = 0;
    m.Initialize(1000, data.pheno);
    const TRFunctionDesc fd = CurrentVector(m);
    long days = 0;
    for (int k = 0; k < data.pheno.nb_obs(); ++k) {
        m.Run(k);
        for (const auto& ph : m.PhasesArr)
            days += ph->last_date - ph->first_date + 1;
    }
    for (auto _ : state) {
        for (int k = 0; k < data.pheno.nb_obs(); ++k) {
            m.setParameters(fd);
            m.Run(k);
        }
        benchmark::DoNotOptimize(m.DatePredictedArr.data());
    }
    state.counters["days"] = static_cast<double>(days);
    state.counters["per_day"] =
        benchmark::Counter(static_cast<double>(days),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DegreeDays(benchmark::State& state) {
    TMetaModel m;
    m.PushPhase(Phase(0, "GDD", {5.0}, 1.0, 250.0));
    Evaluate(state, m);
}

void BM_ChillingThenForcing(benchmark::State& state) {
    TMetaModel m;
    m.PushPhase(Phase(0, "Triangular", {5.0, -2.0, 12.0}, -120.0, 60.0));
    m.PushPhase(Phase(1, "GDD", {5.0}, 0.0, 150.0));
    Evaluate(state, m);
}

void BM_HourlyDegreeDays(benchmark::State& state) {
    TMetaModel m;
    m.PushPhase(Phase(0, "GDD", {5.0}, 1.0, 250.0 * 23, true));
    Evaluate(state, m);
}

// The floor: the degree-day model written by hand over the same climate records.
void BM_HandWrittenDegreeDays(benchmark::State& state) {
    const Data& data = Climate();
    const double base = 5.0, sStar = 250.0;
    std::vector<double> dates(static_cast<std::size_t>(data.pheno.nb_obs()));
    long days = 0;
    auto evaluate = [&](bool count) {
        for (int k = 0; k < data.pheno.nb_obs(); ++k) {
            const TWeatherYear& y = data.W.Year(data.pheno.tabWeatherIdx[static_cast<std::size_t>(k)]);
            const double limit =
                std::min(data.pheno.tabPheno[static_cast<std::size_t>(k)].dates[0].date + 60.0, 365.0);
            double sum = 0.0, date = 365.0;
            for (int d = 1; d < 365; ++d) {
                const double t = y.DayValue(0, d);
                const double rate = t > base ? t - base : 0.0;
                const double before = sum;
                sum += rate;
                if (count) ++days;
                if (sum > sStar) {
                    date = (sStar - before) / rate + d;
                    break;
                }
                if (limit <= d + 1) break;
            }
            dates[static_cast<std::size_t>(k)] = date;
        }
    };
    evaluate(true);
    for (auto _ : state) {
        evaluate(false);
        benchmark::DoNotOptimize(dates.data());
    }
    state.counters["days"] = static_cast<double>(days);
    state.counters["per_day"] =
        benchmark::Counter(static_cast<double>(days),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK(BM_HandWrittenDegreeDays);
BENCHMARK(BM_DegreeDays);
BENCHMARK(BM_ChillingThenForcing);
BENCHMARK(BM_HourlyDegreeDays);
