#pragma once
// Climate look-ups of every station-year of a TWeather that a model run needs and that no
// parameter changes: where each day of a run lies, the columns read in place, day lengths.
// Built once from the climate data and read-only after: a fit's model copies on threads
// share one.

#include <array>
#include <vector>

#include "OrvexRawTypes.h"
#include "Phase.h" // the days a run covers
#include "Weather.h"

class TClimateTable {
public:
    explicit TClimateTable(const TWeather& W);
    TClimateTable(const TClimateTable&) = delete;
    TClimateTable& operator=(const TClimateTable&) = delete;

    struct YearDays {
        // What every run of the year reads first, together at the front.
        double lat = MISSING;                          // of day 1
        double dayLength365 = 0.0, dayLength172 = 0.0; // DayLength at lat
        int dayLengthTab = -1;                         // entry of dayLengths_ for lat
        int nbSegments = 0;
        const TWeatherYear* year = nullptr;
        // Days from..to read days at0.. of one station-year's columns (no values: outside the
        // data); none when the days need more than the array holds.
        struct Segment {
            int from = 0, to = -1, at0 = 0;
            TWeatherColumns columns;
        };
        std::array<Segment, 6> segments{};
        // Per day -365..366, the station-year holding it (null: no climate record reaches the
        // day) and its number there.
        std::array<const TWeatherYear*, SUM_TAB_SIZE + 1> src{};
        std::array<short, SUM_TAB_SIZE + 1> at{};
    };

    const TWeather& Weather() const { return *weather_; }
    int NbYears() const { return static_cast<int>(years_.size()); }
    const YearDays& Year(int i) const { return years_[static_cast<std::size_t>(i)]; }
    // DayLength2 of the record's day of year and latitude, from the tables where they hold it.
    double DayLengthOf(const YearDays& yd, const TRWeatherDay& wd) const;

private:
    const TWeather* weather_;
    std::vector<YearDays> years_;                     // per station-year
    std::vector<std::array<double, 367>> dayLengths_; // DayLength2 by day of year, per latitude
    std::vector<double> dayLengthLats_;
};
