// Each kind's pieces, boundaries (strict or not) and failures, through the factory.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "ModelsFuncLib.h"
#include "OrvexError.h"
#include "WeatherUtils.h"

namespace {
TRWeatherDay Day(double tmp = 0, double tmn = 0, double tmx = 0, double lat = 45.0, int doy = 100) {
    return CreateWeatherDay(TDoubleArr{}, 0, 1, lat, 2001, doy, tmp, tmn, tmx);
}

std::unique_ptr<TModelFunction> Make(const char* kind, const std::vector<double>& params) {
    auto f = TModelFunction::GetFunction(kind);
    for (std::size_t i = 0; i < params.size(); ++i)
        f->setParameterValue(static_cast<int>(i), params[i]);
    return f;
}

// Points (temperature, expected value) of one kind with one parameter set, day and tolerance.
struct Case {
    const char* kind;
    std::vector<double> params;
    TRWeatherDay day;
    double tol;
    std::vector<std::pair<double, double>> points;
    int optim = 0;
};

// Wang's published form, for a point inside its rising piece.
double WangRef(double T, double topt, double tmin, double tmax) {
    const double a = std::log(2.0) / std::log((tmax - tmin) / (topt - tmin));
    const double x = std::pow(T - tmin, a), o = std::pow(topt - tmin, a);
    return (2 * x * o - x * x) / (o * o);
}

double Logi(double x) {
    return 1.0 / (1.0 + std::exp(x));
}
} // namespace

TEST(ModelsFuncLib, ValuesOfEveryKind) {
    const TRWeatherDay d = Day();
    const TRWeatherDay autumn = Day(0, 0, 0, 45, 280), summer = Day(0, 0, 0, 45, 172);
    const TRWeatherDay winter = Day(0, 0, 0, 45, 355);
    const double dlAutumn = DayLength2(280, 45.0);
    const std::vector<Case> cases = {
        {"GDD", {5}, d, 0, {{5, 0}, {7.5, 2.5}}},
        {"GDD Inverse", {10}, d, 0, {{10, 0}, {7, 3}}},
        {"Landsberg", {10}, d, 0, {{10, 1}, {20, 0.5}}},
        {"Landsberg", {-5}, d, 0, {{0, 0}}},
        {"Richardson", {4, 25}, d, 0, {{4, 0}, {25, 21}, {30, 21}}},
        {"Richardson", {25, 4}, d, 0, {{10, 0}}},
        {"Richardson Inverse", {4, 25}, d, 0, {{4, 21}, {10, 15}, {25, 0}}},
        {"Richardson Inverse", {10, 10}, d, 0, {{5, 0}}},
        {"Threshold Superior", {5}, d, 0, {{5, 0}, {5.1, 1}}},
        {"Threshold Inferior", {5}, d, 0, {{5, 0}, {4.9, 1}}},
        {"Identity", {}, d, 0, {{3.25, 3.25}}},
        {"Triangular", {20, 5, 35}, d, 0, {{5, 0}, {20, 1}, {35, 0}}},
        {"Triangular", {20, 5, 35}, d, 1e-15, {{12.5, 0.5}, {27.5, 0.5}}},
        {"Triangular", {5, 5, 35}, d, 0, {{12, 0}}},
        {"Triangular Inverse", {20, 5, 35}, d, 0, {{5, 1}, {20, 0}, {35, 1}}},
        {"Triangular Inverse", {20, 5, 35}, d, 1e-15, {{12.5, 0.5}}},
        {"Triangular Inverse", {20, 20, 35}, d, 0, {{25, 0}}},
        {"STICS Simple", {0.5, 10, 20}, d, 1e-15, {{10, 0.5}, {30, 1.5}}},
        {"STICS Simple", {0.5, 0, 20}, d, 0, {{-1, 0}}},
        {"STICS Simple", {0.5, 10, 10}, d, 0, {{11, 0}}},
        {"Sigmoid", {-1, 10}, d, 0, {{10, 0.5}}},
        {"Sigmoid", {60, 0}, d, 0, {{10, 0}}},         // exponent 600: past the cap
        {"Sigmoid", {50, 0}, d, 0, {{10, Logi(500)}}}, // exponent 500: still computed
        {"Sigmoid Negative", {1, 10}, d, 1e-15, {{12, Logi(-2)}}},
        {"Sigmoid Negative", {1, 0}, d, 0, {{-600, 0}, {600, 1}}}, // past the cap: 0, no overflow
        {"Varnel", {1, 0, 5}, d, 1e-15, {{7, Logi(4)}}},
        {"Varnel", {1, 0, 5}, d, 0, {{35, 0}}},
        {"Negative Exponential", {-0.1, 2}, d, 0, {{10, 2 * std::exp(-1.0)}}},
        {"Negative Exponential", {-0.1, 2}, d, 1e-7, {{10, 2 * std::exp(-1.0)}}, -1}, // single precision
        {"Negative Exponential", {1, 2}, d, 1e205, {{600, 2 * std::exp(500.0)}}},     // exponent capped
        {"Bidabe", {2}, Day(0, 0, 10), 1e-15, {{99, 1.5}}},
        {"Bidabe", {2}, Day(0, -8000, 10), 0, {{0, 999999.9}}},
        {"Wang", {25, 0, 40}, d, 1e-5, {{25, 1}, {40, 0}, {12.5, WangRef(12.5, 25, 0, 40)}}},
        // Below single precision (1e-60): the limit, not ln 0.
        {"Wang", {25, 0, 40}, d, 0, {{0, 0}, {41, 0}, {1e-60, 0}}},
        {"Wang", {0, 0, 40}, d, 0, {{12.5, 0}}},
        {"Parabolic", {20}, d, 0, {{-6, 0}, {41, 0}}},
        {"Parabolic", {20}, d, 1e-9, {{-5, 0}, {20, 100}, {10, 81}}},
        {"Smoothed Utah", {2, 7, 13, -0.5}, d, 0, {{7, 1}}},
        {"Smoothed Utah", {2, 7, 13, -0.5}, d, 1e-15, {{2, 0.5}, {13, 0.25}, {4.5, 0.875}}},
        {"Smoothed Utah", {2, 7, 13, -0.5}, d, 1e-15, {{10, 0.8125}, {-10, Logi(9.6)}}},
        {"Smoothed Utah", {2, 7, 13, -0.5}, d, 1e-12, {{200, -0.5}}},
        {"Smoothed Utah", {7, 7, 13, -0.5}, d, 0, {{7, 0}}},
        {"Smoothed Utah", {2, 7, 13, 1}, d, 1e-15, {{5, 0.92}}}, // min = 1: no fault below Tn2
        {"Smoothed Utah", {2, 7, 13, 1}, d, 0, {{20, 1}}},       // nor above it
        {"Delpierre", {14, 20, 2, 1}, autumn, 1e-12, {{10, 100 * dlAutumn / 14}}},
        {"Delpierre", {14, 20, 2.5, 0.5}, autumn, 1e-12, {{10, 100}}}, // halves to even
        {"Delpierre", {14, 20, 2, 1}, autumn, 0, {{20, 0}}},
        {"Delpierre", {14, 20, 2, 1}, summer, 0, {{10, 0}}},
        {"Delpierre", {14, 20, 1, -1}, autumn, 1e-12, {{10, 10 * 14 / dlAutumn}}},
        {"White", {12, 5, 10}, summer, 0, {{4, 1}, {8, 0}}},
        {"White", {12, 5, 10}, winter, 0, {{8, 1}, {11, 0}}},
        {"White", {12, 10, 5}, winter, 0, {{4, 0}}},
        {"Dormphot",
         {0.05, 1, -0.3, 100},
         Day(15, 0, 0, 45, 100),
         1e-12,
         {{50, Logi(-0.3 * (15 - 60 * Logi(DayLength(100, 45) - 24 * Logi(0.05 * -50))))}}},
        {"Dormphot", {0.05, 1, 1000, 100}, Day(100, 0, 0, 45, 100), 0, {{50, 0}}}, // capped
        {"Four Phases", {10, 0, 30, 60, 100}, Day(-20), 0, {{100, 1}}},
        {"Four Phases", {10, 0, 30, 60, 100}, Day(50), 0, {{45, 0}}},
        {"Four Phases", {10, 0, 30, 60, 100}, Day(5), 0, {{0, 1}, {80, 0}}}, // Tmean must pass the threshold
        {"Four Phases", {10, 0, 30, 60, 100}, Day(20), 0, {{15, 0}}},
        {"Four Phases", {10, 0, 30, 60, 100}, Day(6), 0, {{80, 1}}},
        {"Erez", {1.6, 277, 4153.5, 12888.8, 139500, 2.567e18}, d, 0, {{-273, 0}}},
        {"Erez", {1.6, 277, 4153.5, 12888.8, 139500, 0}, d, 0, {{5, 0}}},
    };
    for (const Case& c : cases) {
        auto f = Make(c.kind, c.params);
        for (const auto& [T, expected] : c.points)
            EXPECT_NEAR(f->runDaily(c.day, T, c.optim), expected, c.tol) << c.kind << " at " << T;
    }
}

TEST(ModelsFuncLib, FailuresRaiseClearErrors) {
    struct Fail {
        const char* kind;
        std::vector<double> params;
        double T;
        TRWeatherDay day;
        std::string message; // start of the message
    };
    const TRWeatherDay noLat = Day(0, 0, 0, MISSING);
    const std::string lat = "Latitude is missing in the climate data file for using ";
    auto fp = [](const std::string& fault, const std::string& kind) {
        return "Floating point " + fault + " in function " + kind;
    };
    const std::vector<Fail> fails = {
        {"Delpierre", {14, 20, 2, 1}, 10, noLat, lat + "Delpierre function"},
        {"White", {12, 5, 10}, 4, noLat, lat + "White function"},
        {"Bidabe", {0}, 0, Day(0, 0, 10), "Error: the Q10 of the Bidabe function"},
        {"Bidabe", {-2}, 0, Day(0, 5, 10), "Error: the Q10 of the Bidabe function"},
        {"Delpierre", {10, 20, 1, -1}, 0, Day(0, 0, 0, 80, 355), fp("division by zero", "Delpierre")},
        {"Four Phases", {10, 0, 0, 60, 100}, -1, Day(5), fp("division by zero", "Four Phases")},
        {"Erez", {1000, 277, 4153.5, 12888.8, 139500, 2.567e18}, 30, Day(), fp("overflow", "Erez")},
        {"Negative Exponential", {1, 1e300}, 600, Day(), fp("overflow", "Negative Exponential")},
        {"GDD", {-1e308}, 1e308, Day(), fp("overflow", "GDD")},
        {"Varnel", {1e308, 1e308, 0}, -1e10, Day(), fp("invalid operation", "Varnel")},
    };
    for (const Fail& c : fails) {
        auto f = Make(c.kind, c.params);
        try {
            f->runDaily(c.day, c.T, 0);
            ADD_FAILURE() << c.kind << " did not raise";
        } catch (const EOrvexError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
        }
    }
}

TEST(ModelsFuncLib, DelpierreReplacesZeroThresholdOnceAndNeedsADay) {
    auto f = Make("Delpierre", {0, 20, 2, 1});
    EXPECT_EQ(f->runDaily(Day(0, 0, 0, 45, 280), 10, 0), 0.0); // every day is longer than 1e-6 h
    EXPECT_EQ(f->getParameterValue(0), ALMOST_ZERO);
    // Kinds that read the day record cannot serve as an overlap function, on a day without data.
    EXPECT_THROW(Make("Delpierre", {14, 20, 2, 1})->Run(10, 0), EOrvexError);
    EXPECT_DOUBLE_EQ(Make("Negative Exponential", {-0.1, 2})->Run(10, 0), 2 * std::exp(-1.0));
}

namespace {
double HourAsTemperature(const TWeatherYear&, int, int h) {
    return h;
}
double Constant6(const TWeatherYear&, int, int) {
    return 6.0;
}

std::vector<double> ErezDays(TModelFunction& f, const TWeatherYear& y, int days) {
    std::vector<double> out;
    for (int d = 1; d <= days; ++d)
        out.push_back(f.runHourly(y, d, OPTIM_LVL));
    return out;
}
} // namespace

TEST(ModelsFuncLib, HourlyRunSumsHoursTwoToTwentyFour) {
    TWeatherYear y(2001, 1, 0, nullptr);
    TTempHourFunc hf(HourAsTemperature, "test");
    auto f = Make("Identity", {});
    f->workWithTempHour(&hf);
    // 2 + 3 + ... + 24: no other run of whole hours sums to 299.
    EXPECT_DOUBLE_EQ(f->runHourly(y, 10, 0), 299.0);
}

TEST(ModelsFuncLib, ErezCarriesStateUntilReset) {
    TWeatherYear y(2001, 1, 0, nullptr);
    TTempHourFunc hf(Constant6, "test");
    auto f = Make("Erez", {1.6, 277, 4153.5, 12888.8, 139500, 2.567e18});
    EXPECT_THROW(f->runHourly(y, 1, 0), EOrvexError); // no hourly routine yet
    f->workWithTempHour(&hf);
    const std::vector<double> first = ErezDays(*f, y, 10);
    const double total = std::accumulate(first.begin(), first.end(), 0.0);
    EXPECT_GT(total, 2.0); // about one chill portion a day at 6 degrees
    EXPECT_LT(total, 15.0);
    EXPECT_NE(ErezDays(*f, y, 10), first); // state left by the first run
    f->ResetState();
    EXPECT_EQ(ErezDays(*f, y, 10), first);
    auto c = f->Clone(); // a clone starts afresh
    EXPECT_EQ(ErezDays(*c, y, 10), first);
}

// The kinds that compute runs of days ahead, or sum days in place, give what one call per day
// gives, to the bit, at and about their thresholds, on signed zeros and on values no climate holds.
TEST(ModelsFuncLib, RunsOfDaysGiveTheDailyOutputsBitForBit) {
    const double inf = std::numeric_limits<double>::infinity();
    for (int kind = 0; kind < TModelFunction::GetNbFunc(); ++kind) {
        auto f = TModelFunction::GetFunction(static_cast<TAvailableFunctions>(kind));
        if (f->ReadsDay() || !f->computeRun(nullptr, 0, nullptr, 0)) continue;
        TRVarInfo info;
        for (int i = 0; i < f->nbOfParameters(); ++i) {
            f->parameterInitValues(i, info);
            f->setParameterValue(i, info.value);
        }
        for (const double p0 : {5.0, 0.0, -0.0, -3.5}) {
            if (f->nbOfParameters() > 0) f->setParameterValue(0, p0);
            std::vector<double> x = {p0, std::nextafter(p0, inf), std::nextafter(p0, -inf), p0 + 1.0, p0 - 1.0,
                                     0.0, -0.0, MISSING, 1e308, -1e308, inf, -inf, std::nan("")};
            std::vector<double> out(x.size());
            f->computeRun(x.data(), static_cast<int>(x.size()), out.data(), 0);
            for (std::size_t k = 0; k < x.size(); ++k) {
                double daily = 0.0;
                try {
                    daily = f->runDaily(Day(), x[k], 0);
                } catch (const EOrvexError&) {
                    EXPECT_FALSE(std::isfinite(out[k])) << f->getName() << " at " << x[k];
                    continue;
                }
                EXPECT_EQ(std::bit_cast<std::uint64_t>(daily), std::bit_cast<std::uint64_t>(out[k]))
                    << f->getName() << " base " << p0 << " at " << x[k] << ": " << daily << " " << out[k];
            }
            // Summed in place (where the kind does): each day's sum is the sum of the daily outputs
            // so far.
            x.resize(8);
            std::vector<double> sums(x.size());
            TDaySums s;
            if (!f->sumDays(s, {x.data(), nullptr, sums.data(), 8, 1.0, 0.0, inf, 1000}, 0)) continue;
            double sum = 0.0;
            for (std::size_t k = 0; k < x.size(); ++k) {
                sum += x[k] == MISSING ? 0.0 : f->runDaily(Day(), x[k], 0) + 0.0;
                EXPECT_EQ(std::bit_cast<std::uint64_t>(sum), std::bit_cast<std::uint64_t>(sums[k]))
                    << f->getName() << " base " << p0 << " day " << k << ": " << sum << " " << sums[k];
            }
            EXPECT_EQ(std::tuple(s.day, s.missing, s.ended), std::tuple(8, 1, false)) << f->getName();
        }
    }
}
