#pragma once
// DayLength2 remembered by latitude and day of the year. Its extended-precision trigonometry
// costs hundreds of nanoseconds, and a fit asks for the same latitudes on every evaluation.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TDayLengthCache {
public:
    TDayLengthCache();

    // DayLength2(day, lat), bit for bit. The first day at a latitude allocates its table;
    // after that nothing is allocated.
    double Get(int day, double lat) {
        if (day < 0 || day > LAST_DAY || lat != lat) return Compute(day, lat);
        if (last_ == nullptr || last_->lat != lat) last_ = &Find(lat);
        double& v = last_->hours[static_cast<std::size_t>(day)];
        if (v < 0.0) v = Compute(day, lat);
        return v;
    }

private:
    static constexpr int LAST_DAY = 366;
    // More latitudes than this start the tables afresh.
    static constexpr std::size_t SLOTS = 1024;
    struct Table {
        double lat = 0.0;
        std::array<double, LAST_DAY + 1> hours; // below 0: not computed yet
    };
    static double Compute(int day, double lat);
    Table& Find(double lat);

    std::vector<std::unique_ptr<Table>> slots_; // open addressing on the latitude
    std::size_t used_ = 0;
    Table* last_ = nullptr;
};
