#include "DayLengthCache.h"

#include <cstring>

#include "WeatherUtils.h"

TDayLengthCache::TDayLengthCache() : tables_(std::make_unique<std::array<Table, SLOTS>>()) {}

std::size_t TDayLengthCache::Slot(double lat) {
    std::uint64_t bits = 0;
    const double key = lat + 0.0; // -0 and 0 share a slot
    std::memcpy(&bits, &key, sizeof bits);
    bits ^= bits >> 29;
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> 60) & (SLOTS - 1);
}

double TDayLengthCache::Compute(int day, double lat) {
    return DayLength2(day, lat);
}

void TDayLengthCache::Reset(Table& t, double lat) {
    t.lat = lat;
    t.used = true;
    t.hours.fill(-1.0);
}
