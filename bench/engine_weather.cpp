// Loading a climate file of 10 station-years with two extra columns.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "Weather.h"

namespace {

std::string MakeClimateFile() {
    std::string path = (std::filesystem::temp_directory_path() / "orvex_bench_weather_XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    std::ofstream out(path, std::ios::binary);
    out << "Station\tLatitude\tYear\tDOY\tTmean\tTmin\tTmax\tRain\tRH\n";
    for (int sta = 1; sta <= 2; ++sta)
        for (int year = 2001; year <= 2005; ++year)
            for (int day = 1; day <= 365; ++day) {
                const double t = 10.0 + (day % 37) * 0.25;
                out << sta << "\t45.25\t" << year << '\t' << day << '\t' << t << '\t' << t - 5.5 << '\t'
                    << t + 6.125 << '\t' << (day % 7) * 0.5 << '\t' << 61.5 << "\r\n";
            }
    return path;
}

void BM_WeatherLoadAll(benchmark::State& state) {
    const std::string path = MakeClimateFile();
    if (path.empty()) {
        state.SkipWithError("cannot create the climate file");
        return;
    }
    for (auto _ : state) {
        TWeather w;
        w.LoadAll(path);
        benchmark::DoNotOptimize(w.NbYears());
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WeatherLoadAll)->Unit(benchmark::kMicrosecond);

} // namespace
