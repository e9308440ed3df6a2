#pragma once
// DayLength2 remembered by latitude and day of the year. Its extended-precision trigonometry
// costs hundreds of nanoseconds, and a fit asks for the same few latitudes on every evaluation.

#include <array>
#include <cstdint>
#include <memory>

class TDayLengthCache {
public:
    TDayLengthCache();

    // DayLength2(day, lat), bit for bit. Allocates nothing.
    double Get(int day, double lat) {
        if (day < 0 || day > LAST_DAY || lat != lat) return Compute(day, lat);
        Table& t = (*tables_)[Slot(lat)];
        if (!t.used || t.lat != lat) Reset(t, lat);
        double& v = t.hours[static_cast<std::size_t>(day)];
        if (v < 0.0) v = Compute(day, lat);
        return v;
    }

private:
    static constexpr int LAST_DAY = 366;
    // Latitudes share a table when they fall on one slot; stations taken in turn rarely do.
    static constexpr std::size_t SLOTS = 16;
    struct Table {
        double lat = 0.0;
        bool used = false;
        std::array<double, LAST_DAY + 1> hours; // below 0: not computed yet
    };
    static std::size_t Slot(double lat);
    static double Compute(int day, double lat);
    static void Reset(Table& t, double lat);

    std::unique_ptr<std::array<Table, SLOTS>> tables_; // 47 kB: off the function object
};
