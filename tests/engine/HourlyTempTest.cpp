#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "MathUtils.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace {

TRWeatherDay Day(int year, int doy, double tmn, double tmx) {
    return CreateWeatherDay(TDoubleArr{}, 0, 1, 45.0, year, doy, (tmn + tmx) / 2, tmn, tmx);
}

// Station 1, years 2001 and 2002; day d of 2001 has minimum d / 10 and maximum 10 + d / 10,
// with a few days set by hand.
class HourlyTemp : public ::testing::Test {
protected:
    void SetUp() override {
        for (int y = 0; y < 2; ++y) {
            auto wy = std::make_unique<TWeatherYear>(2001 + y, 1, y, &w);
            for (int d = 1; d <= wy->numDays; ++d)
                wy->SetDay(d, Day(2001 + y, d, d / 10.0, 10 + d / 10.0));
            w.years.push_back(std::move(wy));
        }
        auto& y1 = *w.years[0];
        y1.SetDay(9, Day(2001, 9, 0, 20));
        y1.SetDay(10, Day(2001, 10, 5, 15));
        y1.SetDay(11, Day(2001, 11, 7, 25));
        y1.SetDay(365, Day(2001, 365, 2, 12));
        w.years[1]->SetDay(1, Day(2002, 1, -4, 6));
    }
    TWeather w;
};

} // namespace

TEST_F(HourlyTemp, LinearAtItsHourBoundaries) {
    const TWeatherYear& y = w.Year(0);
    struct {
        int hour;
        double expected;
    } cases[] = {{0, 5.0}, {6, 10.0}, {12, 15.0}, {13, 15.0 - 8.0 / 12.0}, {24, 7.0}};
    for (const auto& c : cases)
        EXPECT_NEAR(TempHeur(y, 10, c.hour), c.expected, 1e-12) << c.hour;
}

TEST_F(HourlyTemp, SharkAtItsHourBoundariesAndWithoutThePreviousMaximum) {
    const TWeatherYear& y = w.Year(0);
    // Day 10: minimum 5, maximum 15, previous maximum 20, next minimum 7.
    struct {
        int hour;
        double expected;
    } cases[] = {{0, 8.84},  {5, 5.44},    {6, 5.0},   {10, 5.0 + 10.0 * std::log10(5.0)},
                 {15, 15.0}, {16, 14.168}, {24, 9.048}};
    for (const auto& c : cases)
        EXPECT_NEAR(TempHeur_shark(y, 10, c.hour), c.expected, 1e-9) << c.hour;
    // The night of day 10 runs on into the early hours of day 11 on one curve.
    EXPECT_DOUBLE_EQ(TempHeur_shark(y, 10, 24), TempHeur_shark(y, 11, 0));
    // A missing previous maximum: the day's own.
    w.years[0]->SetDay(9, Day(2001, 9, 0, MISSING));
    EXPECT_NEAR(TempHeur_shark(y, 10, 0), 7.56, 1e-12);
    w.years[0]->SetDay(9, Day(2001, 9, 0, 15));
    EXPECT_NEAR(TempHeur_shark(y, 10, 0), 7.56, 1e-12);
}

TEST_F(HourlyTemp, BothCrossTheYearEnd) {
    const TWeatherYear& y2001 = w.Year(0);
    const TWeatherYear& y2002 = w.Year(1);
    // 31 December 2001: minimum 2, maximum 12; 1 January 2002: minimum -4, maximum 6.
    EXPECT_DOUBLE_EQ(TempHeur(y2001, 365, 24), -4.0);
    EXPECT_DOUBLE_EQ(TempHeur(y2002, 0, 0), 2.0); // day 0 is the last day of 2001
    EXPECT_DOUBLE_EQ(TempHeur(y2002, 0, 24), -4.0);
    EXPECT_NEAR(TempHeur_shark(y2001, 365, 24), 108.0 / 1125.0, 1e-12);
    // Day 1 takes its own maximum for the night's start, not 31 December's.
    EXPECT_NEAR(TempHeur_shark(y2002, 1, 0), -1620.0 / 1125.0, 1e-12);
    EXPECT_DOUBLE_EQ(TempHeur_shark(y2002, 1, 24), TempHeur_shark(y2002, 2, 0));
}
