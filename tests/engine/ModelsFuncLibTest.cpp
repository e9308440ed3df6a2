// Each kind's pieces, boundaries (strict or not) and failures, through the factory.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ModelsFuncLib.h"
#include "OrvexError.h"
#include "WeatherUtils.h"

namespace {
TRWeatherDay Day(double tmp = 0, double tmn = 0, double tmx = 0, double lat = 45.0, int doy = 100) {
    TRWeatherDay d;
    d._tmp = tmp;
    d._tmn = tmn;
    d._tmx = tmx;
    d._lat = lat;
    d._doy = doy;
    return d;
}

std::unique_ptr<TModelFunction> Make(const char* kind, const std::vector<double>& params) {
    auto f = TModelFunction::GetFunction(kind);
    for (std::size_t i = 0; i < params.size(); ++i)
        f->setParameterValue(static_cast<int>(i), params[i]);
    return f;
}

struct Case {
    const char* kind;
    std::vector<double> params;
    double T;
    TRWeatherDay day;
    double expected;
    double tol;
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
    const double dlAutumn = DayLength2(280, 45.0);
    const std::vector<Case> cases = {
        {"GDD", {5}, 5, d, 0, 0},
        {"GDD", {5}, 7.5, d, 2.5, 0},
        {"GDD Inverse", {10}, 10, d, 0, 0},
        {"GDD Inverse", {10}, 7, d, 3, 0},
        {"Landsberg", {10}, 10, d, 1, 0},
        {"Landsberg", {10}, 20, d, 0.5, 0},
        {"Landsberg", {-5}, 0, d, 0, 0},
        {"Richardson", {4, 25}, 4, d, 0, 0},
        {"Richardson", {4, 25}, 25, d, 21, 0},
        {"Richardson", {4, 25}, 30, d, 21, 0},
        {"Richardson", {25, 4}, 10, d, 0, 0},
        {"Richardson Inverse", {4, 25}, 4, d, 21, 0},
        {"Richardson Inverse", {4, 25}, 10, d, 15, 0},
        {"Richardson Inverse", {4, 25}, 25, d, 0, 0},
        {"Richardson Inverse", {10, 10}, 5, d, 0, 0},
        {"Threshold Superior", {5}, 5, d, 0, 0},
        {"Threshold Superior", {5}, 5.1, d, 1, 0},
        {"Threshold Inferior", {5}, 5, d, 0, 0},
        {"Threshold Inferior", {5}, 4.9, d, 1, 0},
        {"Identity", {}, 3.25, d, 3.25, 0},
        {"Triangular", {20, 5, 35}, 5, d, 0, 0},
        {"Triangular", {20, 5, 35}, 12.5, d, 0.5, 1e-15},
        {"Triangular", {20, 5, 35}, 20, d, 1, 0},
        {"Triangular", {20, 5, 35}, 27.5, d, 0.5, 1e-15},
        {"Triangular", {20, 5, 35}, 35, d, 0, 0},
        {"Triangular", {5, 5, 35}, 12, d, 0, 0},
        {"Triangular Inverse", {20, 5, 35}, 5, d, 1, 0},
        {"Triangular Inverse", {20, 5, 35}, 12.5, d, 0.5, 1e-15},
        {"Triangular Inverse", {20, 5, 35}, 20, d, 0, 0},
        {"Triangular Inverse", {20, 5, 35}, 35, d, 1, 0},
        {"Triangular Inverse", {20, 20, 35}, 25, d, 0, 0},
        {"STICS Simple", {0.5, 10, 20}, 10, d, 0.5, 1e-15},
        {"STICS Simple", {0.5, 10, 20}, 30, d, 1.5, 1e-15},
        {"STICS Simple", {0.5, 0, 20}, -1, d, 0, 0},
        {"STICS Simple", {0.5, 10, 10}, 11, d, 0, 0},
        {"Sigmoid", {-1, 10}, 10, d, 0.5, 0},
        {"Sigmoid", {60, 0}, 10, d, 0, 0},         // exponent 600: past the cap
        {"Sigmoid", {50, 0}, 10, d, Logi(500), 0}, // exponent 500: still computed
        {"Sigmoid Negative", {1, 10}, 12, d, Logi(-2), 1e-15},
        {"Sigmoid Negative", {1, 0}, -600, d, 0, 0}, // past the cap: 0, no overflow
        {"Sigmoid Negative", {1, 0}, 600, d, 1, 0},
        {"Varnel", {1, 0, 5}, 7, d, Logi(4), 1e-15},
        {"Varnel", {1, 0, 5}, 35, d, 0, 0},
        {"Negative Exponential", {-0.1, 2}, 10, d, 2 * std::exp(-1.0), 0, 0},
        {"Negative Exponential", {-0.1, 2}, 10, d, 2 * std::exp(-1.0), 1e-7, -1}, // single precision
        {"Negative Exponential", {1, 2}, 600, d, 2 * std::exp(500.0), 1e205, 0},  // exponent capped
        {"Bidabe", {2}, 99, Day(0, 0, 10), 1.5, 1e-15},
        {"Bidabe", {2}, 0, Day(0, -8000, 10), 999999.9, 0},
        {"Wang", {25, 0, 40}, 25, d, 1, 1e-5},
        {"Wang", {25, 0, 40}, 0, d, 0, 0},
        {"Wang", {25, 0, 40}, 41, d, 0, 0},
        {"Wang", {25, 0, 40}, 40, d, 0, 1e-5},
        {"Wang", {25, 0, 40}, 12.5, d, WangRef(12.5, 25, 0, 40), 1e-5},
        {"Wang", {0, 0, 40}, 12.5, d, 0, 0},
        {"Wang", {25, 0, 40}, 1e-60, d, 0, 0}, // below single precision: the limit, not ln 0
        {"Parabolic", {20}, -6, d, 0, 0},
        {"Parabolic", {20}, 41, d, 0, 0},
        {"Parabolic", {20}, -5, d, 0, 1e-9},
        {"Parabolic", {20}, 20, d, 100, 1e-9},
        {"Parabolic", {20}, 10, d, 81, 1e-9},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 2, d, 0.5, 1e-15},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 7, d, 1, 0},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 13, d, 0.25, 1e-15},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 4.5, d, 0.875, 1e-15},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 10, d, 0.8125, 1e-15},
        {"Smoothed Utah", {2, 7, 13, -0.5}, -10, d, Logi(9.6), 1e-15},
        {"Smoothed Utah", {2, 7, 13, -0.5}, 200, d, -0.5, 1e-12},
        {"Smoothed Utah", {7, 7, 13, -0.5}, 7, d, 0, 0},
        {"Smoothed Utah", {2, 7, 13, 1}, 5, d, 0.92, 1e-15}, // min = 1: no fault below Tn2
        {"Smoothed Utah", {2, 7, 13, 1}, 20, d, 1, 0},       // nor above it
        {"Delpierre", {14, 20, 2, 1}, 10, Day(0, 0, 0, 45, 280), 100 * dlAutumn / 14, 1e-12},
        {"Delpierre", {14, 20, 2.5, 0.5}, 10, Day(0, 0, 0, 45, 280), 100, 1e-12}, // halves to even
        {"Delpierre", {14, 20, 2, 1}, 20, Day(0, 0, 0, 45, 280), 0, 0},
        {"Delpierre", {14, 20, 2, 1}, 10, Day(0, 0, 0, 45, 172), 0, 0},
        {"Delpierre", {14, 20, 1, -1}, 10, Day(0, 0, 0, 45, 280), 10 * 14 / dlAutumn, 1e-12},
        {"White", {12, 5, 10}, 4, Day(0, 0, 0, 45, 172), 1, 0},
        {"White", {12, 5, 10}, 8, Day(0, 0, 0, 45, 172), 0, 0},
        {"White", {12, 5, 10}, 8, Day(0, 0, 0, 45, 355), 1, 0},
        {"White", {12, 5, 10}, 11, Day(0, 0, 0, 45, 355), 0, 0},
        {"White", {12, 10, 5}, 4, Day(0, 0, 0, 45, 355), 0, 0},
        {"Dormphot",
         {0.05, 1, -0.3, 100},
         50,
         Day(15, 0, 0, 45, 100),
         Logi(-0.3 * (15 - 60 * Logi(DayLength(100, 45) - 24 * Logi(0.05 * -50)))),
         1e-12},
        {"Dormphot", {0.05, 1, 1000, 100}, 50, Day(100, 0, 0, 45, 100), 0, 0}, // capped
        {"Four Phases", {10, 0, 30, 60, 100}, 100, Day(-20), 1, 0},
        {"Four Phases", {10, 0, 30, 60, 100}, 45, Day(50), 0, 0},
        {"Four Phases", {10, 0, 30, 60, 100}, 0, Day(5), 1, 0},
        {"Four Phases", {10, 0, 30, 60, 100}, 15, Day(20), 0, 0},
        {"Four Phases", {10, 0, 30, 60, 100}, 80, Day(6), 1, 0},
        {"Four Phases", {10, 0, 30, 60, 100}, 80, Day(5), 0, 0}, // Tmean must pass the threshold
        {"Erez", {1.6, 277, 4153.5, 12888.8, 139500, 2.567e18}, -273, d, 0, 0},
        {"Erez", {1.6, 277, 4153.5, 12888.8, 139500, 0}, 5, d, 0, 0},
    };
    for (const Case& c : cases) {
        auto f = Make(c.kind, c.params);
        const double r = f->runDaily(c.day, c.T, c.optim);
        EXPECT_NEAR(r, c.expected, c.tol) << c.kind << " at " << c.T;
    }
}

TEST(ModelsFuncLib, FailuresRaiseClearErrors) {
    struct Fail {
        const char* kind;
        std::vector<double> params;
        double T;
        TRWeatherDay day;
        const char* message; // start of the message
    };
    const std::vector<Fail> fails = {
        {"Delpierre",
         {14, 20, 2, 1},
         10,
         Day(0, 0, 0, MISSING),
         "Latitude is missing in the climate data file for using Delpierre function"},
        {"White",
         {12, 5, 10},
         4,
         Day(0, 0, 0, MISSING),
         "Latitude is missing in the climate data file for using White function"},
        {"Bidabe", {0}, 0, Day(0, 0, 10), "Error: the Q10 of the Bidabe function"},
        {"Bidabe", {-2}, 0, Day(0, 5, 10), "Error: the Q10 of the Bidabe function"},
        {"Delpierre",
         {10, 20, 1, -1},
         0,
         Day(0, 0, 0, 80, 355),
         "Floating point division by zero in function Delpierre"},
        {"Four Phases",
         {10, 0, 0, 60, 100},
         -1,
         Day(5),
         "Floating point division by zero in function Four Phases"},
        {"Erez",
         {1000, 277, 4153.5, 12888.8, 139500, 2.567e18},
         30,
         Day(),
         "Floating point overflow in function Erez"},
        {"Negative Exponential",
         {1, 1e300},
         600,
         Day(),
         "Floating point overflow in function Negative Exponential"},
        {"GDD", {-1e308}, 1e308, Day(), "Floating point overflow in function GDD"},
        {"Varnel", {1e308, 1e308, 0}, -1e10, Day(), "Floating point invalid operation in function Varnel"},
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

TEST(ModelsFuncLib, DelpierreReplacesZeroThresholdOnce) {
    auto f = Make("Delpierre", {0, 20, 2, 1});
    EXPECT_EQ(f->runDaily(Day(0, 0, 0, 45, 280), 10, 0), 0.0); // every day is longer than 1e-6 h
    EXPECT_EQ(f->getParameterValue(0), ALMOST_ZERO);
}

TEST(ModelsFuncLib, OverlapRunCarriesNoDay) {
    // Kinds that read the day record cannot serve on a day without data.
    EXPECT_THROW(Make("Delpierre", {14, 20, 2, 1})->Run(10, 0), EOrvexError);
    EXPECT_DOUBLE_EQ(Make("Negative Exponential", {-0.1, 2})->Run(10, 0), 2 * std::exp(-1.0));
}

namespace {
int g_hours[32];
int g_calls = 0;
double HourAsTemperature(const TWeatherYear&, int, int h) {
    g_hours[g_calls++] = h;
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
    g_calls = 0;
    EXPECT_DOUBLE_EQ(f->runHourly(y, 10, 0), 299.0); // 2 + 3 + ... + 24
    ASSERT_EQ(g_calls, 23);
    EXPECT_EQ(g_hours[0], 2);
    EXPECT_EQ(g_hours[22], 24);
}

TEST(ModelsFuncLib, ErezCarriesStateUntilReset) {
    TWeatherYear y(2001, 1, 0, nullptr);
    TTempHourFunc hf(Constant6, "test");
    auto f = Make("Erez", {1.6, 277, 4153.5, 12888.8, 139500, 2.567e18});
    EXPECT_THROW(f->runHourly(y, 1, 0), EOrvexError); // no hourly routine yet
    f->workWithTempHour(&hf);
    const std::vector<double> first = ErezDays(*f, y, 10);
    double total = 0;
    for (double v : first)
        total += v;
    EXPECT_GT(total, 2.0); // about one chill portion a day at 6 degrees
    EXPECT_LT(total, 15.0);
    EXPECT_NE(ErezDays(*f, y, 10), first); // state left by the first run
    f->ResetState();
    EXPECT_EQ(ErezDays(*f, y, 10), first);
    auto c = f->Clone(); // a clone starts afresh
    EXPECT_EQ(ErezDays(*c, y, 10), first);
}
