// A station-year keeps its days as columns: what goes in as a day record comes back out.

#include <gtest/gtest.h>

#include <tuple>

#include "Weather.h"

namespace {
TRWeatherDay Full(int doy, int nbUser) {
    TDoubleArr user{};
    for (int k = 0; k < nbUser; ++k)
        user[static_cast<std::size_t>(k)] = doy + k / 10.0;
    return CreateWeatherDay(user, nbUser, 7, 44.5 + doy / 1000.0, 2001, doy, doy / 2.0, -doy, doy);
}

void ExpectSameDay(const TRWeatherDay& a, const TRWeatherDay& b) {
    EXPECT_EQ(std::tie(a._sta, a._yea, a._doy, a._lat, a._tmp, a._tmn, a._tmx, a._nb_user, a._user),
              std::tie(b._sta, b._yea, b._doy, b._lat, b._tmp, b._tmn, b._tmx, b._nb_user, b._user));
    for (int col = -2; col < 3 + MAX_USER_VALUES + 2; ++col)
        EXPECT_EQ(GetWeatherDayDataAt(a, col), GetWeatherDayDataAt(b, col)) << col;
}
} // namespace

TEST(WeatherYear, DaysComeBackAsTheyWereStored) {
    TWeather W;
    W.years.push_back(std::make_unique<TWeatherYear>(2001, 7, 0, &W));
    W.years.push_back(std::make_unique<TWeatherYear>(2002, 7, 1, &W));
    TWeatherYear& y = *W.years[0];
    // The number of extra values differs from day to day and grows after the first days.
    y.SetDay(10, Full(10, 0));
    y.SetDay(11, Full(11, 2));
    y.SetDay(12, Full(12, MAX_USER_VALUES));
    y.SetDay(365, Full(365, 1));
    W.years[1]->SetDay(1, Full(1, 3));
    for (int d : {10, 11, 12, 365}) {
        SCOPED_TRACE(d);
        ExpectSameDay(y.GetDay(d), Full(d, d == 10 ? 0 : d == 11 ? 2 : d == 12 ? MAX_USER_VALUES : 1));
        for (int col = -1; col < 3 + MAX_USER_VALUES + 1; ++col)
            EXPECT_EQ(y.DayValue(col, d), GetWeatherDayDataAt(y.GetDay(d), col));
    }
    // Absent days, inside the year and past the data, are the missing day.
    ExpectSameDay(y.GetDay(13), CreateMissingWeatherDay());
    ExpectSameDay(y.GetDay(-5), CreateMissingWeatherDay());
    // The next year of the station continues this one.
    TRWeatherDay next = Full(1, 3);
    next._yea = 2002;
    ExpectSameDay(y.GetDay(366), next);
    int at = 366;
    EXPECT_EQ(y.Locate(at), W.years[1].get());
    EXPECT_EQ(at, 1);
    at = 0;
    EXPECT_EQ(y.Locate(at), nullptr);

    // Storing the missing day makes the day absent again; a day with fewer extra values
    // no longer shows the old ones.
    y.SetDay(11, CreateMissingWeatherDay());
    ExpectSameDay(y.GetDay(11), CreateMissingWeatherDay());
    y.SetDay(12, Full(12, 1));
    ExpectSameDay(y.GetDay(12), Full(12, 1));
    EXPECT_EQ(y.DayValue(4, 12), MISSING);
}
