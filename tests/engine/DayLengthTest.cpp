#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "OrvexError.h"
#include "WeatherUtils.h"

namespace {

// Shown by its name: an address would make test names that change from run to run.
struct DayLengthFn {
    const char* name;
    double (*f)(int, double);
};
void PrintTo(const DayLengthFn& fn, std::ostream* os) {
    *os << fn.name;
}

} // namespace

class DayLengthBoth : public ::testing::TestWithParam<DayLengthFn> {};

TEST_P(DayLengthBoth, KnownDaysAndPolarCases) {
    const auto f = GetParam().f;
    EXPECT_NEAR(f(172, 45.0), 15.43, 0.01);
    for (int day : {1, 80, 172, 266, 355})
        EXPECT_NEAR(f(day, 0.0), 12.0, 1e-6) << day;
    EXPECT_EQ(f(172, 80.0), 24.0); // midnight sun
    EXPECT_EQ(f(355, 80.0), 0.0);  // polar night
    EXPECT_EQ(f(172, -80.0), 0.0);
    // Day 0 and negative days count from the end of the previous year.
    EXPECT_EQ(f(0, 45.0), f(365, 45.0));
    EXPECT_EQ(f(-10, 45.0), f(355, 45.0));
    // Southern winter is northern summer.
    EXPECT_NEAR(f(172, -45.0), 24.0 - f(172, 45.0), 1e-5);
}

INSTANTIATE_TEST_SUITE_P(DoubleAndSingle, DayLengthBoth,
                         ::testing::Values(DayLengthFn{"DayLength", &DayLength},
                                           DayLengthFn{"DayLength2", &DayLength2}),
                         [](const ::testing::TestParamInfo<DayLengthFn>& info) {
                             return std::string(info.param.name);
                         });

TEST(DOY, RoundTripOnBothSidesOfTheYearClampsAndRefusesTheEquator) {
    const double length = DayLength2(100, 45.0);
    const double r = DOY(45.0, length, true);
    EXPECT_NEAR(r, 100.0, 0.5);
    const double late = DOY(45.0, length, false);
    EXPECT_DOUBLE_EQ(late, 344.0 - r);
    // Within about a day of the same length in autumn.
    EXPECT_NEAR(DayLength2(static_cast<int>(std::lround(late)), 45.0), length, 0.1);
    const double pi = 3.141592653589793;
    // Longer than the longest day: the solstice; shorter than the shortest: the winter end.
    EXPECT_NEAR(DOY(10.0, 20.0, true), pi * 58.091554228541796 - 10.0, 1e-4);
    EXPECT_NEAR(DOY(10.0, 2.0, true), -10.0, 1e-6);
    EXPECT_NEAR(DOY(10.0, 2.0, false), 354.0, 1e-6);
    for (double len : {0.0, 24.0})
        EXPECT_TRUE(std::isfinite(DOY(80.0, len, true))) << len;
    EXPECT_THROW(DOY(0.0, 12.0, true), EOrvexError);
}

TEST(Calendar, LeapYears) {
    for (auto [year, days] : {std::pair{2000, 366}, {1900, 365}, {2004, 366}, {2001, 365}})
        EXPECT_EQ(GetNbDays(year), days) << year;
}

#include "ModelFixture.h"

TEST(DayLength, AsAModelInputEachDayGivesItsOwnLength) {
    using namespace fixture;
    TWeather W;
    AddYear(W, 2001, 1.0, 45.0);
    AddYear(W, 2002, 1.0, 60.0);
    AddYear(W, 2003, 1.0, -45.0);
    Day(W, 2, 105).Ref()._lat = 30.0; // a day off the year's latitude is computed, not looked up
    TMetaModel m;
    auto ph = IdentityPhase(0, 100, 150.5);
    ph->functions[0]->useDayLengthAsVar = true;
    m.PushPhase(std::move(ph));
    m.Initialize(0, W);
    for (int y = 0; y < 3; ++y) {
        // The day whose length takes the sum past S*, plus the part of that day needed.
        double sum = 0, date = 0;
        for (int d = 100; date == 0; ++d) {
            const double length = DayLength2(d, Day(W, y, d)._lat);
            if (sum + length > 150.5) date = d + (150.5 - sum) / length;
            sum += length;
        }
        m.Run(y);
        EXPECT_NEAR(m.DatePredictedArr[0], date, 1e-9) << y;
    }
}

TEST(DayLength, TheYearsFirstAndLeapDaysGiveTheirLengthsToo) {
    // Day 1 of 2005, and its day 0, which is day 366 of the leap year 2004.
    using namespace fixture;
    TWeather W;
    AddYear(W, 2004, 1.0, 45.0);
    AddYear(W, 2005, 1.0, 45.0);
    for (const int t0 : {1, 0}) {
        TMetaModel m;
        auto ph = IdentityPhase(0, t0, -1.0); // ends on its first day
        ph->functions[0]->useDayLengthAsVar = true;
        m.PushPhase(std::move(ph));
        m.Initialize(0, W);
        m.Run(1);
        const double length = DayLength2(t0 == 1 ? 1 : 366, 45.0);
        EXPECT_GT(length, 8.0);
        EXPECT_EQ(m.PhasesArr[0]->sumTab[std::size_t(t0 + 365)], length) << t0;
    }
}
