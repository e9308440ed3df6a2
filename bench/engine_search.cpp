// A whole staged search with the shipped settings on about 300 observations from a known
// degree-day model, next to the cost of the model runs alone: the search should add little.
#include <benchmark/benchmark.h>

#include "SyntheticFit.h"
#include "AutomaticMetropolis.h"
#include "MyMetropolis.h"
#include "RandomDistrib.h"
#include "SearchProgress.h"

namespace {

constexpr int ROWS = 300;

using synthetic::CountingObjective;

// One repetition as the fit thread runs it.
void BM_StagedSearch(benchmark::State& state) {
    auto data = synthetic::Make(ROWS);
    const TRMetropolisDesc settings = synthetic::DefaultSettings();
    CountingObjective obj(data->model, data->weather, data->pheno, data->fit, settings.missing_threshold, -1);
    TUniDistrib rd(12, 34, 56, 78);
    TSearchProgress progress;
    TRFunctionDesc bestFit;
    double ss = 0.0;
    for (auto _ : state) {
        TRMetropolisDesc md = settings;
        TMetropolis::InitMetropolisDesc(md, settings.temp0);
        TRFunctionDesc fd;
        data->model.initializeParameters(fd);
        fd.best_overall_result = -1e10;
        obj.f(fd);
        AutoMetropolis(obj, fd, md, rd, 1, nullptr, progress, bestFit);
        ss = -fd.best_result;
    }
    state.counters["evaluations"] =
        benchmark::Counter(static_cast<double>(obj.calls), benchmark::Counter::kAvgIterations);
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(obj.calls), benchmark::Counter::kIsRate);
    state.counters["SSres"] = ss;
}

// The objective alone at one point: 300 model runs and their scoring.
void BM_ObjectiveEvaluation(benchmark::State& state) {
    auto data = synthetic::Make(ROWS);
    TMyMetropolis obj(data->model, data->weather, data->pheno, data->fit, 0, -1);
    for (auto _ : state)
        benchmark::DoNotOptimize(obj.f(data->knownPoint));
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The model runs of one evaluation without the objective around them.
void BM_ModelRunsOfOneEvaluation(benchmark::State& state) {
    auto data = synthetic::Make(ROWS);
    for (auto _ : state) {
        for (int k = 0; k < ROWS; ++k) {
            data->model.setParameters(data->knownPoint);
            data->model.Run(k);
        }
        benchmark::DoNotOptimize(data->model.DatePredictedArr[0]);
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_StagedSearch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ObjectiveEvaluation)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ModelRunsOfOneEvaluation)->Unit(benchmark::kMicrosecond);
