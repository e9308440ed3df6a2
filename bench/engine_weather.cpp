// Loading climate files: 10 station-years with two extra columns, and 300 station-years of the
// usual seven columns next to the floor, a hand-written reader of the same file into columns.
// Peak heap over the file's size tells how much more than the text a load holds at its worst.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "Weather.h"
#include "engine_heap.h"

namespace {

std::string TempPath() {
    std::string path = (std::filesystem::temp_directory_path() / "orvex_bench_weather_XXXXXX").string();
    const int fd = mkstemp(path.data());
    if (fd < 0) return {};
    close(fd);
    return path;
}

std::string MakeClimateFile() {
    const std::string path = TempPath();
    if (path.empty()) return path;
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

// 30 stations of 10 years, temperatures in tenths of a degree.
std::string MakeLargeClimateFile() {
    const std::string path = TempPath();
    if (path.empty()) return path;
    std::ofstream out(path, std::ios::binary);
    out << "Station\tLatitude\tYear\tDay\tTmean\tTmin\tTmax\n";
    char line[128];
    for (int sta = 1; sta <= 30; ++sta)
        for (int year = 1991; year <= 2000; ++year)
            for (int day = 1; day <= 365; ++day) {
                const int t = 100 + (day * 7 + sta * 13 + year) % 250 - 120;
                std::snprintf(line, sizeof line, "%d\t%.1f\t%d\t%d\t%.1f\t%.1f\t%.1f\n", sta,
                              40.0 + sta * 0.3, year, day, t / 10.0, (t - 55) / 10.0, (t + 61) / 10.0);
                out << line;
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

// The floor: the file read in blocks, each line's seven numbers parsed into columns.
long long ReadColumns(const std::string& path, std::vector<std::vector<double>>& cols) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> block(1 << 16);
    std::string carry;
    bool header = true;
    long long lines = 0;
    auto parse = [&](const char* b, const char* e) {
        if (header) {
            header = false;
            return;
        }
        std::size_t c = 0;
        while (b < e && c < cols.size()) {
            while (b < e && (*b == '\t' || *b == ' ' || *b == '\r'))
                ++b;
            double v = 0.0;
            const auto r = std::from_chars(b, e, v);
            if (r.ec != std::errc()) break;
            cols[c++].push_back(v);
            b = r.ptr;
        }
        ++lines;
    };
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        const char* b = block.data();
        const char* e = b + in.gcount();
        for (const char* nl;
             (nl = static_cast<const char*>(std::memchr(b, '\n', static_cast<std::size_t>(e - b)))) !=
             nullptr;
             b = nl + 1) {
            if (!carry.empty()) {
                carry.append(b, nl);
                parse(carry.data(), carry.data() + carry.size());
                carry.clear();
            } else {
                parse(b, nl);
            }
        }
        carry.append(b, e);
    }
    if (!carry.empty()) parse(carry.data(), carry.data() + carry.size());
    return lines;
}

void Load300(benchmark::State& state, bool floor) {
    const std::string path = MakeLargeClimateFile();
    if (path.empty()) {
        state.SkipWithError("cannot create the climate file");
        return;
    }
    const auto size = static_cast<long long>(std::filesystem::file_size(path));
    long long peak = 0;
    for (auto _ : state) {
        HeapPeakReset();
        const long long base = HeapInUse();
        if (floor) {
            std::vector<std::vector<double>> cols(7);
            benchmark::DoNotOptimize(ReadColumns(path, cols));
        } else {
            TWeather w;
            w.LoadAll(path);
            benchmark::DoNotOptimize(w.NbYears());
        }
        peak = std::max(peak, HeapPeak() - base);
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["peak_over_file"] = static_cast<double>(peak) / static_cast<double>(size);
}
BENCHMARK_CAPTURE(Load300, StationYears300, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load300, StationYears300_floor, true)->Unit(benchmark::kMillisecond);

} // namespace
