// Whole fits from files on disk, with a minimal search so that what is measured is the fit
// around the search: the cores a fit keeps busy (process CPU time over wall time), and how a
// leave-one-out fit grows with the number of station-years. It makes one pass per station-year
// and each pass runs every row, so time / N grows at most in proportion to N once the fixed
// cost of a pass is small beside its rows; growing faster means work repeated in every pass.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "Fit.h"
#include "MetaModel.h"
#include "ModelsFuncLib.h"
#include "RandomDistrib.h"
#include "SyntheticFit.h"

namespace fs = std::filesystem;

namespace {

// N station-years of 10 stations, each with its observed date.
fs::path MakeFiles(int n) {
    const fs::path dir = fs::temp_directory_path() /
                         ("orvex_bench_fit_" + std::to_string(::getpid()) + "_" + std::to_string(n));
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
                if (sum <= 320.0 && t > 4.0) sum += t - 4.0;
                if (sum > 320.0 && date == 365) date = d;
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

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void RunFit(benchmark::State& state, bool leaveOneOut) {
    const int n = static_cast<int>(state.range(0));
    const fs::path dir = MakeFiles(n);
    TRMetropolisDesc md;
    md.ntr = 1;
    md.nts = leaveOneOut ? 2 : 10;
    md.veryglob = leaveOneOut ? 0 : 3;
    md.global = leaveOneOut ? 1 : 5;
    md.nb_repetitions = leaveOneOut ? 1 : 3;
    md.missing_threshold = 366;
    md.temp_confint = 1;
    md.conf_interval = 1;
    md.temp0 = 10.0;
    md.climbrate = 1.0;
    md.precision = 0.01;
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
BENCHMARK(BM_LeaveOneOutFit)
    ->Arg(75)
    ->Arg(150)
    ->Arg(300)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
