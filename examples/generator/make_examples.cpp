// Writes the example data set: a climate file of three stations over ten years, and the
// phenology, fit-information and T0 files of a budburst stage simulated by a known model.
//
//   orvex_make_examples [examples folder]     (default: ./examples)
//
// The known model: one phase starting on day T0 = 1, summing growing degree days above
// TBASE from the daily mean temperature until the sum exceeds SSTAR. The dates follow the
// model's daily run exactly (strict crossing, interpolation inside the last day, a missing
// day contributes nothing), so a simulation of the model reproduces the noise-free dates
// written to generator/true_dates*.txt. Observed dates add a little noise and are whole days.
//
// Everything is deterministic: a fixed seed, our own normal deviates, locale-free number text.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double TBASE = 4.0;
constexpr double SSTAR = 320.0;
constexpr int MODEL_T0 = 1;
constexpr double MISSING = -9999.0;
constexpr int FIRST_YEAR = 2001;
constexpr int LAST_YEAR = 2010;
constexpr std::uint32_t SEED = 20070405u;

struct Station {
    int code;
    const char* latitude; // written as it stands
    double annualMean;    // degrees C
    double amplitude;     // half the spread between the coldest and the warmest day
};

constexpr Station STATIONS[] = {
    {1, "44.2", 12.6, 8.4},
    {2, "46.8", 10.9, 9.3},
    {3, "49.1", 9.7, 8.9},
};

// A gap in the record: these days of this station-year have no temperatures.
constexpr int GAP_STATION = 3, GAP_YEAR = 2007, GAP_FIRST = 40, GAP_LAST = 44;

// T0 per year for the T0 file; MISSING keeps the model's own T0 (the year before sets 1).
double T0ForYear(int year) {
    if (year == 2004) return 32.0;
    if (year == 2008) return MISSING;
    return MODEL_T0;
}

class Normal {
public:
    explicit Normal(std::uint32_t seed) : gen_(seed) {}
    double operator()(double sd) {
        // Box-Muller on two uniforms in (0, 1); std::normal_distribution differs by library.
        const double u1 = (static_cast<double>(gen_()) + 0.5) / 4294967296.0;
        const double u2 = (static_cast<double>(gen_()) + 0.5) / 4294967296.0;
        return sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

private:
    std::mt19937 gen_;
};

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

std::string Fixed1(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 1);
    return std::string(buf, r.ptr);
}

std::string Shortest(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// The value the engine reads back from the text we write.
double Parsed(const std::string& text) {
    double v = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), v);
    return v;
}

// Rounded to a tenth, never "-0.0".
std::string Tenths(double v) {
    double r = std::nearbyint(v * 10.0) / 10.0;
    if (r == 0.0) r = 0.0;
    return Fixed1(r);
}

struct Day {
    std::string tmp, tmn, tmx;
    double mean; // as read back; MISSING in a gap
};

struct StationYear {
    int station;
    std::string latitude;
    int year;
    std::vector<Day> days; // days[d - 1] is day d
};

struct Dated {
    double date;
    int missing; // missing values met by the run
};

// The phase run of the known model from `start` in station-year sy (days past the year's
// end are never reached: the run gives up on day 364).
Dated RunModel(const StationYear& sy, int start) {
    double sum = 0.0, sum1 = 0.0;
    int day = start, missing = 0;
    for (;;) {
        sum1 = sum;
        const double t = sy.days[static_cast<std::size_t>(day - 1)].mean;
        double inc = 0.0;
        if (t == MISSING)
            ++missing;
        else
            inc = t > TBASE ? t - TBASE : 0.0;
        sum += inc;
        ++day;
        if (sum > SSTAR || day >= 365) break;
    }
    const double dsum = sum - sum1, need = SSTAR - sum1;
    double date;
    if (need < 0.0)
        date = day - 1;
    else if (need == dsum)
        date = day;
    else if (dsum <= -1e-6 || dsum >= 1e-6)
        date = need / dsum + (day - 1);
    else
        date = day;
    if (date > 365.0) date = 365.0;
    return {date, missing};
}

std::vector<StationYear> MakeClimate(Normal& noise) {
    std::vector<StationYear> out;
    for (const Station& s : STATIONS) {
        double anomaly = 0.0; // weather persists for a few days
        for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
            StationYear sy{s.code, s.latitude, y, {}};
            const int n = IsLeap(y) ? 366 : 365;
            for (int d = 1; d <= n; ++d) {
                anomaly = 0.7 * anomaly + noise(1.9);
                const double season = std::sin(2.0 * std::numbers::pi * (d - 110) / n);
                const double mean = s.annualMean + s.amplitude * season + anomaly;
                const double halfRange = 4.0 + 1.5 * season + std::fabs(noise(0.6));
                Day day{Tenths(mean), Tenths(mean - halfRange), Tenths(mean + halfRange), 0.0};
                if (s.code == GAP_STATION && y == GAP_YEAR && d >= GAP_FIRST && d <= GAP_LAST)
                    day = {"-9999", "-9999", "-9999", MISSING};
                else
                    day.mean = Parsed(day.tmp);
                sy.days.push_back(day);
            }
            out.push_back(std::move(sy));
        }
    }
    return out;
}

std::ofstream Create(const std::filesystem::path& p) {
    std::ofstream f(p, std::ios::binary);
    if (!f) {
        std::cerr << "Cannot create " << p << "\n";
        std::exit(1);
    }
    return f;
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path dir = argc > 1 ? argv[1] : "examples";
    std::filesystem::create_directories(dir / "generator");
    Normal noise(SEED);
    const std::vector<StationYear> climate = MakeClimate(noise);

    {
        std::ofstream f = Create(dir / "climate.txt");
        f << "Station\tLatitude\tYear\tDay\tTmean\tTmin\tTmax\n";
        for (const StationYear& sy : climate)
            for (std::size_t i = 0; i < sy.days.size(); ++i) {
                const Day& d = sy.days[i];
                f << sy.station << '\t' << sy.latitude << '\t' << sy.year << '\t' << i + 1 << '\t' << d.tmp
                  << '\t' << d.tmn << '\t' << d.tmx << '\n';
            }
    }
    {
        std::ofstream pheno = Create(dir / "phenology.txt");
        std::ofstream info = Create(dir / "fitinfo.txt");
        std::ofstream truth = Create(dir / "generator" / "true_dates.txt");
        pheno << "Station\tProvenance\tYear\tBudburst\n";
        info << "Station\tProvenance\tYear\n";
        truth << "Station\tYear\tBudburst\tMissing\n";
        for (const StationYear& sy : climate) {
            const Dated t = RunModel(sy, MODEL_T0);
            const double observed = t.missing > 0 ? MISSING : std::nearbyint(t.date + noise(1.5));
            pheno << sy.station << "\t1\t" << sy.year << '\t' << Shortest(observed) << '\n';
            info << sy.station << "\t1\t" << sy.year << '\n';
            truth << sy.station << '\t' << sy.year << '\t' << Shortest(t.date) << '\t' << t.missing << '\n';
        }
    }
    {
        // A simulation with a T0 file runs each year on the first station-year of that year.
        std::ofstream t0 = Create(dir / "t0.txt");
        std::ofstream truth = Create(dir / "generator" / "true_dates_t0.txt");
        t0 << "Year\tt0 phase1\n";
        truth << "Station\tYear\tT0\tBudburst\tMissing\n";
        double current = MODEL_T0;
        for (int y = FIRST_YEAR; y <= LAST_YEAR; ++y) {
            const double given = T0ForYear(y);
            if (given != MISSING) current = given;
            const StationYear& sy = climate[static_cast<std::size_t>(y - FIRST_YEAR)];
            const Dated t = RunModel(sy, static_cast<int>(current));
            t0 << y << '\t' << Shortest(given) << '\n';
            truth << sy.station << '\t' << y << '\t' << Shortest(current) << '\t' << Shortest(t.date) << '\t'
                  << t.missing << '\n';
        }
    }
    std::cout << "Example data written to " << dir.string() << "\n";
    return 0;
}
