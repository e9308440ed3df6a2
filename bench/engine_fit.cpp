// Whole fits from files on disk: the fit with the objective's threads as shipped beside the
// same fit on the fit thread alone, at 289 station-years of short sums with the shipped
// settings and at 300, 3,000 and 30,000 station-years with a short search, their times (whole
// fit, and the search after the files are read), the cores kept busy and the peak heap; and
// how a leave-one-out fit grows with the number of station-years (one pass per station-year,
// each running every row: time / N may grow in step with N; faster means work repeated in
// every pass). Each row prints its target beside it.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "Fit.h"
#include "MetaModel.h"
#include "ModelsFuncLib.h"
#include "RandomDistrib.h"
#include "SyntheticFit.h"
#include "engine_heap.h"

namespace fs = std::filesystem;

namespace {

// N station-years of 10 stations, each with its observed date: the degree days above `base`
// from day t0 exceed sStar on it, give or take two days.
fs::path MakeFiles(int n, int t0 = 1, double sStar = 320.0, double base = 4.0) {
    const fs::path dir = fs::temp_directory_path() / ("orvex_bench_fit_" + std::to_string(::getpid()) + "_" +
                                                      std::to_string(n) + "_" + std::to_string(t0));
    fs::create_directories(dir);
    std::ofstream climate(dir / "climate.txt", std::ios::binary),
        pheno(dir / "phenology.txt", std::ios::binary), info(dir / "fitinfo.txt", std::ios::binary);
    climate << "Station\tLatitude\tYear\tDay\tTmean\tTmin\tTmax\n";
    pheno << "Station\tProvenance\tYear\tBudburst\n";
    info << "Station\tProvenance\tYear\n";
    const int perStation = (n + 9) / 10;
    char line[128];
    int rows = 0;
    for (int s = 1; s <= 10; ++s)
        for (int k = 0; k < perStation && rows < n; ++k, ++rows) {
            const int year = 1901 + k;
            double sum = 0.0;
            int date = 365;
            for (int d = 1; d <= 365; ++d) {
                const double t =
                    std::nearbyint((10.0 - 11.0 * std::cos(2.0 * 3.141592653589793 * (d - 20) / 365.0) +
                                    3.0 * std::sin(d * 0.7 + s * 1.3 + k * 2.1)) *
                                   10.0) /
                    10.0;
                std::snprintf(line, sizeof line, "%d\t%.1f\t%d\t%d\t%.1f\t%.1f\t%.1f\n", s, 44.0 + s * 0.3,
                              year, d, t, t - 5.0, t + 5.0);
                climate << line;
                if (d >= t0 && sum <= sStar && t > base) sum += t - base;
                if (sum > sStar && date == 365) date = d;
            }
            pheno << s << "\t1\t" << year << '\t' << date + (rows % 5) - 2 << '\n';
            info << s << "\t1\t" << year << '\n';
        }
    return dir;
}

std::unique_ptr<TMetaModel> Model() {
    auto m = std::make_unique<TMetaModel>();
    synthetic::PushFittedPhase(*m, TModelFunction::GetFunction("GDD"));
    return m;
}

// A search short enough for what is measured to be the fit around it.
TRMetropolisDesc ShortSearch(int nts, int veryglob, int global, int repetitions) {
    TRMetropolisDesc md;
    md.ntr = 1;
    md.nts = nts;
    md.veryglob = veryglob;
    md.global = global;
    md.nb_repetitions = repetitions;
    md.missing_threshold = 366;
    md.temp_confint = 1;
    md.conf_interval = 1;
    md.temp0 = 10.0;
    md.climbrate = 1.0;
    md.precision = 0.01;
    return md;
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

struct FitTimes {
    double wall = 0.0, search = 0.0, cpu = 0.0; // seconds
    long long peak = 0;                          // heap bytes above what was in use before
};

// One fit from the files of dir; workers as TFit::SetRowWorkers.
FitTimes TimedFit(const fs::path& dir, const TRMetropolisDesc& md, int workers, benchmark::State& state) {
    FitTimes t;
    HeapPeakReset();
    const long long base = HeapInUse();
    {
        TFit fit(Model(), md, (dir / "climate.txt").string(), (dir / "phenology.txt").string(),
                 (dir / "fitinfo.txt").string(), (dir / "out.txt").string(), 366, false);
        fit.SetRandomGenerator(std::make_unique<TUniDistrib>(5, 17, 29, 41));
        fit.SetRowWorkers(workers);
        fit.Prepare();
        const double c0 = CpuSeconds();
        const auto w0 = std::chrono::steady_clock::now();
        auto searchStart = w0;
        fit.Start();
        // The search starts once the files are read (progress 50).
        bool searching = false;
        while (!fit.Finished()) {
            if (!searching && fit.Advancement() >= 50) {
                searching = true;
                searchStart = std::chrono::steady_clock::now();
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        fit.WaitFor();
        const auto w1 = std::chrono::steady_clock::now();
        t.wall = std::chrono::duration<double>(w1 - w0).count();
        t.search = std::chrono::duration<double>(w1 - searchStart).count();
        t.cpu = CpuSeconds() - c0;
        if (fit.Error()) state.SkipWithError(fit.ErrorInfo().c_str());
    }
    t.peak = HeapPeak() - base;
    return t;
}

// Threads as shipped against the fit thread alone, in alternating pairs; the medians of the
// pairs' ratios. Targets: never slower than one thread, 5 times faster at 30,000 station-years
// where 8 cores are free, at most 1.3 times the peak memory.
void BM_FitThreadsAgainstOneThread(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool shipped = state.range(1) != 0; // the shipped settings on short sums
    const fs::path dir = shipped ? MakeFiles(n, 95, 80.0, 5.0) : MakeFiles(n);
    const bool huge = n >= 30000;
    const TRMetropolisDesc md =
        shipped ? synthetic::DefaultSettings() : ShortSearch(10, huge ? 0 : 3, huge ? 1 : 5, huge ? 1 : 3);
    std::vector<double> wall, search, cpu;
    FitTimes threads, one;
    for (auto _ : state) {
        for (int pair = 0; pair < (n >= 30000 ? 1 : 3); ++pair) {
            const bool threadsFirst = pair % 2 == 0;
            FitTimes a = TimedFit(dir, md, threadsFirst ? 0 : 1, state);
            FitTimes b = TimedFit(dir, md, threadsFirst ? 1 : 0, state);
            if (!threadsFirst) std::swap(a, b);
            wall.push_back(a.wall / b.wall);
            search.push_back(a.search / b.search);
            cpu.push_back(a.cpu / b.cpu);
            threads = a;
            one = b;
        }
    }
    fs::remove_all(dir);
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["threads_s"] = threads.wall;
    state.counters["one_thread_s"] = one.wall;
    state.counters["threads_over_one_wall"] = median(wall);
    state.counters["threads_over_one_search"] = median(search);
    state.counters["threads_over_one_cpu"] = median(cpu);
    state.counters["target_wall_at_most"] = n >= 30000 ? 0.2 : 1.0;
    state.counters["cores_used"] = threads.cpu / threads.wall;
    state.counters["peak_MB_threads"] = static_cast<double>(threads.peak) / 1e6;
    state.counters["peak_MB_one"] = static_cast<double>(one.peak) / 1e6;
    state.counters["peak_ratio"] = static_cast<double>(threads.peak) / static_cast<double>(one.peak);
    state.counters["target_peak_ratio_at_most"] = 1.3;
}

void RunFit(benchmark::State& state, bool leaveOneOut) {
    const int n = static_cast<int>(state.range(0));
    const fs::path dir = MakeFiles(n);
    const TRMetropolisDesc md = leaveOneOut ? ShortSearch(2, 0, 1, 1) : ShortSearch(10, 3, 5, 3);
    double wall = 0.0, cpu = 0.0;
    for (auto _ : state) {
        TFit fit(Model(), md, (dir / "climate.txt").string(), (dir / "phenology.txt").string(),
                 (dir / "fitinfo.txt").string(), (dir / "out.txt").string(), 366, leaveOneOut);
        fit.SetRandomGenerator(std::make_unique<TUniDistrib>(5, 17, 29, 41));
        fit.Prepare();
        const double c0 = CpuSeconds();
        const auto w0 = std::chrono::steady_clock::now();
        fit.Start();
        fit.WaitFor();
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        cpu += CpuSeconds() - c0;
        if (fit.Error()) state.SkipWithError(fit.ErrorInfo().c_str());
    }
    fs::remove_all(dir);
    state.counters["cores_used"] = cpu / wall;
    state.counters["ms_per_station_year"] = 1e3 * wall / static_cast<double>(state.iterations()) / n;
}

void BM_Fit(benchmark::State& state) {
    RunFit(state, false);
}
void BM_LeaveOneOutFit(benchmark::State& state) {
    RunFit(state, true);
}

} // namespace

BENCHMARK(BM_Fit)->Arg(300)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_FitThreadsAgainstOneThread)
    ->ArgNames({"station_years", "shipped_settings"})
    ->Args({289, 1})
    ->Args({300, 0})
    ->Args({3000, 0})
    ->Args({30000, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK(BM_LeaveOneOutFit)
    ->Arg(75)
    ->Arg(150)
    ->Arg(300)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
