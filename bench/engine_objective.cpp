// The fit's objective next to its floor: a hand-written degree-day loop with the same rules
// (start day, strict S*, observation limit, interpolated date, squared deviations) over the
// same climate records, and the same loop over compact columns of the mean temperature. Each
// row prints its target ratio beside it.
// The objective is timed as a fit runs it (on threads when an evaluation is long enough) and
// on one thread. All are timed in alternating blocks in one process and the medians compared, since the
// machine is shared. Shapes: the real observation set's (289 station-years, one observation
// each, about 16 summed days per row), the example data (long sums), and 3,000 station-years
// whose records no longer fit in the caches.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "Inputs.h"
#include "SyntheticFit.h"
#include "MetaModel.h"
#include "MyMetropolis.h"
#include "UtilStuff.h"

namespace {

struct Shape {
    TWeather weather;
    TRPhenoInfos pheno;
    TRFitInfo fit;
    TMetaModel model;
    TRFunctionDesc point;
    double t0 = 0, sStar = 0, base = 0;
};

void AddModel(Shape& s, double t0, double sStar, double base) {
    synthetic::PushFittedPhase(s.model, TModelFunction::GetFunction("GDD"));
    s.model.initializeParameters(s.point);
    s.point.var_info[0].value = s.t0 = t0;
    s.point.var_info[1].value = s.sStar = sStar;
    s.point.var_info[2].value = s.base = base;
}

// Station-years of seasonal temperatures in tenths of a degree, one observation each, made by
// the model plus noise.
std::unique_ptr<Shape> Synthetic(int rows, double t0, double sStar, double base) {
    auto s = std::make_unique<Shape>();
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 1.0);
    constexpr int STATIONS = 30;
    const int perStation = (rows + STATIONS - 1) / STATIONS;
    for (int st = 0; st < STATIONS; ++st) {
        for (int k = 0; k < perStation && st * perStation + k < rows; ++k) {
            const int station = 1 + st, year = 1901 + k, index = s->weather.NbYears();
            auto y = std::make_unique<TWeatherYear>(year, station, index, &s->weather);
            const double shift = 2.0 * noise(rng);
            for (int d = 1; d <= y->numDays; ++d) {
                const double tmp =
                    std::nearbyint((10.0 - 11.0 * std::cos(2.0 * std::numbers::pi * (d - 20) / 365.0) +
                                    shift + 3.0 * noise(rng)) *
                                   10.0) /
                    10.0;
                y->SetDay(d, CreateWeatherDay(TDoubleArr{}, 0, station, 40.0 + st * 0.3, year, d, tmp,
                                              tmp - 5.0, tmp + 5.0));
            }
            s->weather.years.push_back(std::move(y));
            synthetic::AddRow(s->pheno, s->fit, station, year, index);
        }
    }
    s->pheno.weatherPTR = &s->weather;
    AddModel(*s, t0, sStar, base);
    s->model.Initialize(0, s->weather);
    s->model.setParameters(s->point);
    for (int k = 0; k < s->pheno.nb_obs(); ++k) {
        s->model.Run(k);
        s->pheno.tabPheno[static_cast<std::size_t>(k)].dates[0].date =
            std::nearbyint(s->model.DatePredictedArr[0] + 3.0 * noise(rng));
    }
    s->model.Initialize(10, s->pheno);
    return s;
}

std::unique_ptr<Shape> Example() {
    auto s = std::make_unique<Shape>();
    const std::string dir = std::string(ORVEX_SOURCE_DIR) + "/examples/";
    s->pheno = read_pheno_infos(dir + "phenology.txt");
    s->fit = read_fit_infos(dir + "fitinfo.txt");
    s->weather.LoadAndPheno(dir + "climate.txt", s->pheno);
    AddModel(*s, 1.0, 320.0, 4.0);
    s->model.Initialize(10, s->pheno);
    return s;
}

// The rows as the floor reads them: the fit row's phenology row, its observation and its days.
struct FloorRow {
    const TWeatherYear* year;
    const double* column; // mean temperature of days 1..366 at [d - 1]
    double obs;
};

// The degree-day model and its squared deviations, written by hand. The objective's rules
// for a row with too many missing values are left out: the shapes have none.
template <class Temp> double FloorSS(const Shape& s, const std::vector<FloorRow>& rows, Temp temp) {
    const double sStar = s.sStar, base = s.base;
    const int start = static_cast<int>(std::nearbyint(s.t0));
    double ss = 0.0;
    for (const FloorRow& r : rows) {
        const double limit = r.obs == MISSING ? std::numeric_limits<double>::infinity()
                                              : (r.obs + 60.0 > 365.0 ? 365.0 : r.obs + 60.0);
        double sum = 0.0, sum1 = 0.0;
        int day = start;
        while (true) {
            sum1 = sum;
            const double x = temp(r, day);
            sum += x == MISSING ? 0.0 : (x > base ? x - base : 0.0);
            ++day;
            if (sum > sStar) break;
            if (limit <= day || day >= 365) break;
        }
        const double dsum = sum - sum1, need = sStar - sum1;
        double date;
        if (need < 0.0)
            date = day - 1;
        else if (need == dsum)
            date = day;
        else if (dsum <= -ALMOST_ZERO || dsum >= ALMOST_ZERO)
            date = need / dsum + (day - 1);
        else
            date = day;
        if (date > 365.0) date = 365.0;
        if (r.obs != MISSING) ss += (date - r.obs) * (date - r.obs);
    }
    return ss;
}

// Each repetition's result is used and memory clobbered after it: a pure floor over unchanged
// inputs would otherwise be computed once, out of the repeat loop.
template <class F> double MedianNs(F&& f, int repeat, std::vector<double>& samples) {
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i) {
        double r = f();
        benchmark::DoNotOptimize(r);
        benchmark::ClobberMemory();
    }
    const auto t1 = std::chrono::steady_clock::now();
    samples.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count() / repeat);
    return samples.back();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void ObjectiveAndFloor(benchmark::State& state, std::unique_ptr<Shape> (*make)(), double target) {
    auto s = make();
    TMyMetropolis obj(s->model, s->weather, s->pheno, s->fit, 10, -1);
    TMyMetropolis one(s->model, s->weather, s->pheno, s->fit, 10, -1);
    one.SetWorkers(1);

    std::vector<std::vector<double>> columns;
    std::vector<FloorRow> rows;
    columns.reserve(s->fit.tabFit.size());
    for (const TRInfoData& fr : s->fit.tabFit) {
        for (int k = 0; k < s->pheno.nb_obs(); ++k) {
            const TRPhenoData& pr = s->pheno.tabPheno[static_cast<std::size_t>(k)];
            if (pr.station != fr.station || pr.provenance != fr.provenance || pr.year != fr.year) continue;
            const TWeatherYear& y = s->weather.Year(s->pheno.tabWeatherIdx[static_cast<std::size_t>(k)]);
            auto& c = columns.emplace_back(366);
            for (int d = 1; d <= 366; ++d)
                c[static_cast<std::size_t>(d - 1)] = y.GetDay(d)._tmp;
            rows.push_back({&y, c.data(), pr.dates[0].date});
            break;
        }
    }
    auto records = [](const FloorRow& r, int day) { return r.year->DayValue(0, day); };
    auto compact = [](const FloorRow& r, int day) { return r.column[day - 1]; };

    const double ss = -obj.f(s->point);
    if (FloorSS(*s, rows, records) != ss || FloorSS(*s, rows, compact) != ss) {
        state.SkipWithError("the floor does not compute the objective's sum of squares");
        for (auto _ : state) {
        }
        return;
    }
    long days = 0;
    for (int k = 0; k < s->pheno.nb_obs(); ++k) {
        s->model.Run(k);
        days += s->model.PhasesArr[0]->last_date - s->model.PhasesArr[0]->first_date + 1;
    }

    // Blocks of about a millisecond, alternating.
    const int repeat = std::max(1, static_cast<int>(2e5 / static_cast<double>(days)));
    std::vector<double> objective, oneThread, records_, compact_;
    for (auto _ : state) {
        for (int round = 0; round < 41; ++round) {
            // Alternate which objective goes first, so neither always follows the floors.
            if (round % 2 == 0) {
                MedianNs([&] { return obj.f(s->point); }, repeat, objective);
                MedianNs([&] { return one.f(s->point); }, repeat, oneThread);
            } else {
                MedianNs([&] { return one.f(s->point); }, repeat, oneThread);
                MedianNs([&] { return obj.f(s->point); }, repeat, objective);
            }
            MedianNs([&] { return FloorSS(*s, rows, records); }, repeat, records_);
            MedianNs([&] { return FloorSS(*s, rows, compact); }, repeat, compact_);
        }
    }
    const double o = Median(objective), o1 = Median(oneThread), r = Median(records_), c = Median(compact_);
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["days_per_row"] = static_cast<double>(days) / static_cast<double>(rows.size());
    state.counters["objective_us"] = o / 1e3;
    state.counters["floor_us"] = r / 1e3;
    state.counters["ratio"] = o / r;
    if (target > 0.0) state.counters["target_ratio_at_most"] = target;
    state.counters["threads_used"] = obj.LastWorkers();
    state.counters["one_thread_us"] = o1 / 1e3;
    state.counters["one_thread_ratio"] = o1 / r;
    state.counters["ns_per_day"] = o / static_cast<double>(days);
    state.counters["floor_ns_per_day"] = r / static_cast<double>(days);
    state.counters["compact_floor_ns_per_day"] = c / static_cast<double>(days);
}

std::unique_ptr<Shape> ShortSums() {
    return Synthetic(289, 95.0, 80.0, 5.0);
}
std::unique_ptr<Shape> ThreeThousand() {
    return Synthetic(3000, 1.0, 320.0, 4.0);
}

// Rows in climate order, as FloorSS reads them.
std::vector<FloorRow> RecordRows(const Shape& s) {
    std::vector<FloorRow> rows;
    for (int k = 0; k < s.pheno.nb_obs(); ++k)
        rows.push_back({&s.weather.Year(s.pheno.tabWeatherIdx[static_cast<std::size_t>(k)]), nullptr,
                        s.pheno.tabPheno[static_cast<std::size_t>(k)].dates[0].date});
    return rows;
}

// The time per summed day of one evaluation on one thread at 30,000 station-years against 300,
// beside the same ratio of the hand-written loop: what the larger set costs in cache misses.
// Target: at most 1.5.
void CostPerDay(benchmark::State& state) {
    auto small = Synthetic(300, 1.0, 320.0, 4.0), large = Synthetic(30000, 1.0, 320.0, 4.0);
    auto days = [](Shape& s) {
        long d = 0;
        for (int k = 0; k < s.pheno.nb_obs(); ++k) {
            s.model.Run(k);
            d += s.model.PhasesArr[0]->last_date - s.model.PhasesArr[0]->first_date + 1;
        }
        return static_cast<double>(d);
    };
    const double smallDays = days(*small), largeDays = days(*large);
    TMyMetropolis objSmall(small->model, small->weather, small->pheno, small->fit, 10, -1);
    TMyMetropolis objLarge(large->model, large->weather, large->pheno, large->fit, 10, -1);
    objSmall.SetWorkers(1);
    objLarge.SetWorkers(1);
    const std::vector<FloorRow> rowsSmall = RecordRows(*small), rowsLarge = RecordRows(*large);
    auto records = [](const FloorRow& r, int day) { return r.year->DayValue(0, day); };
    std::vector<double> os, ol, fsm, fl;
    for (auto _ : state) {
        for (int round = 0; round < 21; ++round) {
            MedianNs([&] { return objLarge.f(large->point); }, 1, ol);
            MedianNs([&] { return objSmall.f(small->point); }, 100, os);
            MedianNs([&] { return FloorSS(*large, rowsLarge, records); }, 1, fl);
            MedianNs([&] { return FloorSS(*small, rowsSmall, records); }, 100, fsm);
        }
    }
    const double small1 = Median(os) / smallDays, large1 = Median(ol) / largeDays;
    const double smallF = Median(fsm) / smallDays, largeF = Median(fl) / largeDays;
    state.counters["ns_per_day_300"] = small1;
    state.counters["ns_per_day_30000"] = large1;
    state.counters["ratio"] = large1 / small1;
    state.counters["floor_ns_per_day_300"] = smallF;
    state.counters["floor_ns_per_day_30000"] = largeF;
    state.counters["floor_ratio"] = largeF / smallF;
    state.counters["target_ratio_at_most"] = 1.5;
}

} // namespace

BENCHMARK_CAPTURE(ObjectiveAndFloor, ObservationSet289ShortSums, ShortSums, 1.5)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ObjectiveAndFloor, ExampleDataLongSums, Example, 1.1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ObjectiveAndFloor, StationYears3000, ThreeThousand, 0.0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CostPerDay)->Iterations(1)->Unit(benchmark::kSecond);
