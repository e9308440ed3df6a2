// Kinds that keep terms between calls (Wang's parameter terms and results, Delpierre's day
// lengths) must give what a fresh object gives, to the bit, whatever came before.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "ModelsFuncLib.h"
#include "OrvexError.h"

namespace {

// The result, or the error text.
std::string Outcome(TModelFunction& f, const TRWeatherDay& wd, double T) {
    try {
        return std::to_string(std::bit_cast<std::uint64_t>(f.runDaily(wd, T, OPTIM_LVL)));
    } catch (const EOrvexError& e) {
        return e.what();
    }
}

std::unique_ptr<TModelFunction> Make(const char* kind, const std::vector<double>& params) {
    auto f = TModelFunction::GetFunction(kind);
    for (std::size_t i = 0; i < params.size(); ++i)
        f->setParameterValue(static_cast<int>(i), params[i]);
    return f;
}

TRWeatherDay Day(double lat, int doy) {
    return CreateWeatherDay(TDoubleArr{}, 0, 1, lat, 2001, doy, 0, 0, 0);
}

} // namespace

TEST(RememberedTerms, WangWarmEqualsFresh) {
    // Parameter sets come back after others, as a search's moves do; some are degenerate.
    const std::vector<std::vector<double>> sets = {
        {25, 0, 40},  {20, 5, 35}, {25, 0, 40},    {25.000000001, 0, 40}, {10, 0, 10},
        {30, -5, 45}, {20, 5, 35}, {1e-300, 0, 1}, {25, 0, 40},
    };
    auto warm = Make("Wang", sets[0]);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> temp(-10.0, 50.0);
    for (std::size_t s = 0; s < sets.size(); ++s) {
        for (int i = 0; i < 3; ++i)
            warm->setParameterValue(i, sets[s][static_cast<std::size_t>(i)]);
        auto fresh = Make("Wang", sets[s]);
        for (int k = 0; k < 3000; ++k) {
            // Whole tenths repeat as climate records do; the rest are all distinct.
            const double T = k % 2 == 0 ? std::nearbyint(temp(rng) * 10.0) / 10.0 : temp(rng);
            const TRWeatherDay wd = Day(45, 100);
            auto once = Make("Wang", sets[s]);
            const std::string expected = Outcome(*once, wd, T);
            ASSERT_EQ(Outcome(*warm, wd, T), expected) << "set " << s << " T " << T;
            ASSERT_EQ(Outcome(*fresh, wd, T), expected) << "set " << s << " T " << T;
        }
    }
}

TEST(RememberedTerms, DelpierreWarmEqualsFresh) {
    auto warm = Make("Delpierre", {14, 20, 2, 1});
    // More latitudes than the remembered tables, taken in turn like the rows of a fit, and days
    // outside the year.
    for (int pass = 0; pass < 3; ++pass) {
        for (int s = 0; s < 40; ++s) {
            const double lat = s == 39 ? -0.0 : -60.0 + s * 3.1;
            for (int doy = -2; doy <= 368; doy += pass + 1) {
                const TRWeatherDay wd = Day(lat, doy);
                const double T = 5.0 + (doy % 7);
                auto once = Make("Delpierre", {14, 20, 2, 1});
                ASSERT_EQ(Outcome(*warm, wd, T), Outcome(*once, wd, T)) << "lat " << lat << " day " << doy;
            }
        }
    }
    // So many latitudes that the tables start afresh, then the first ones again.
    for (int s = 0; s < 1200; ++s) {
        const double lat = -60.0 + (s % 1100) * 0.1;
        const TRWeatherDay wd = Day(lat, 1 + s % 366);
        auto once = Make("Delpierre", {14, 20, 2, 1});
        ASSERT_EQ(Outcome(*warm, wd, 3.0), Outcome(*once, wd, 3.0)) << "lat " << lat;
    }
    // The latitude test still comes first.
    EXPECT_EQ(Outcome(*warm, Day(MISSING, 100), 5.0),
              "Latitude is missing in the climate data file for using Delpierre function");
}
