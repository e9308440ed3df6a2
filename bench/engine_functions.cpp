// Daily evaluation of a few response functions over a year, as a phase does it in a fit.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "ModelsFuncLib.h"

namespace {
TWeatherYear MakeYear() {
    TWeatherYear y(2001, 1, 0, nullptr);
    for (int d = 1; d <= 365; ++d) {
        const double mean = 10.0 - 12.0 * std::cos(2.0 * 3.141592653589793 * (d + 10) / 365.0);
        TRWeatherDay wd = CreateWeatherDay(TDoubleArr{}, 0, 1, 45.5, 2001, d, mean, mean - 5.0, mean + 5.0);
        y.SetDay(d, wd);
    }
    return y;
}

double LinearHour(const TWeatherYear& Wi, int i, int h) {
    const TRWeatherDay& d = Wi.GetDay(i);
    return h < 13 ? d._tmn + (d._tmx - d._tmn) * h / 12.0 : d._tmx - (d._tmx - d._tmn) * (h - 12) / 12.0;
}

void DailyYear(benchmark::State& state, const char* kind, std::initializer_list<double> params) {
    const TWeatherYear y = MakeYear();
    auto f = TModelFunction::GetFunction(kind);
    int i = 0;
    for (double v : params)
        f->setParameterValue(i++, v);
    for (auto _ : state) {
        double sum = 0.0;
        for (int d = 1; d <= 365; ++d) {
            const TRWeatherDay& wd = y.GetDay(d);
            sum += f->runDaily(wd, GetWeatherDayDataAt(wd, f->GetWeatherDataColumn()), OPTIM_LVL);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 365);
}

void HourlyYear(benchmark::State& state, const char* kind, std::initializer_list<double> params) {
    const TWeatherYear y = MakeYear();
    TTempHourFunc hf(LinearHour, "tempheur");
    auto f = TModelFunction::GetFunction(kind);
    int i = 0;
    for (double v : params)
        f->setParameterValue(i++, v);
    f->workWithTempHour(&hf);
    for (auto _ : state) {
        f->ResetState();
        double sum = 0.0;
        for (int d = 1; d <= 365; ++d)
            sum += f->runHourly(y, d, OPTIM_LVL);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 365);
}
// Per day over the rows of a fit: 289 station-years at 29 latitudes, temperatures in tenths of a
// degree as climate files hold them, each row in turn. A kind that remembers terms meets here
// what it meets in a fit, not one year over and over.
void FitRows(benchmark::State& state, const char* kind, std::initializer_list<double> params) {
    constexpr int ROWS = 289, DAYS = 365;
    std::vector<TRWeatherDay> days;
    days.reserve(ROWS * DAYS);
    for (int r = 0; r < ROWS; ++r) {
        const double lat = 38.0 + (r % 29) * 0.5;
        for (int d = 1; d <= DAYS; ++d) {
            const double wobble = 4.0 * std::sin(d * 0.9 + r * 1.7) + 2.0 * std::sin(r * 0.37);
            const double mean =
                std::nearbyint((10.0 - 12.0 * std::cos(2.0 * 3.141592653589793 * (d + 10) / 365.0) + wobble) *
                               10.0) /
                10.0;
            days.push_back(CreateWeatherDay(TDoubleArr{}, 0, 1 + r % 29, lat, 1990 + r / 29, d, mean,
                                            mean - 5.0, mean + 5.0));
        }
    }
    auto f = TModelFunction::GetFunction(kind);
    int i = 0;
    for (double v : params)
        f->setParameterValue(i++, v);
    for (auto _ : state) {
        double sum = 0.0;
        for (const TRWeatherDay& wd : days)
            sum += f->runDaily(wd, wd._tmp, OPTIM_LVL);
        benchmark::DoNotOptimize(sum);
    }
    // Seconds per day: 12.3n is 12.3 ns.
    state.counters["per_day"] =
        benchmark::Counter(static_cast<double>(days.size()),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
} // namespace

BENCHMARK_CAPTURE(FitRows, GDD_floor, "GDD", {5.0})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitRows, Wang, "Wang", {25.0, 0.0, 40.0})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FitRows, Delpierre, "Delpierre", {14.0, 20.0, 2.0, 1.0})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DailyYear, GDD, "GDD", {5.0});
BENCHMARK_CAPTURE(DailyYear, Sigmoid, "Sigmoid", {0.5, 5.0});
BENCHMARK_CAPTURE(DailyYear, Wang, "Wang", {25.0, 0.0, 40.0});
BENCHMARK_CAPTURE(DailyYear, SmoothedUtah, "Smoothed Utah", {2.0, 7.0, 13.0, -0.5});
BENCHMARK_CAPTURE(DailyYear, Delpierre, "Delpierre", {14.0, 20.0, 2.0, 1.0});
BENCHMARK_CAPTURE(HourlyYear, Erez, "Erez", {1.6, 277.0, 4153.5, 12888.8, 139500.0, 2.567e18});
