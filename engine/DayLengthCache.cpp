#include "DayLengthCache.h"

#include <cstring>

#include "WeatherUtils.h"

TDayLengthCache::TDayLengthCache() : slots_(SLOTS) {}

double TDayLengthCache::Compute(int day, double lat) {
    return DayLength2(day, lat);
}

TDayLengthCache::Table& TDayLengthCache::Find(double lat) {
    std::uint64_t bits = 0;
    const double key = lat + 0.0; // -0 and 0 are one latitude
    std::memcpy(&bits, &key, sizeof bits);
    std::size_t i =
        static_cast<std::size_t>((bits ^ (bits >> 31)) * 0x9E3779B97F4A7C15ull >> 54) & (SLOTS - 1);
    for (;; i = (i + 1) & (SLOTS - 1)) {
        auto& slot = slots_[i];
        if (slot == nullptr) break;
        if (slot->lat == lat) return *slot;
    }
    if (used_ == SLOTS / 2) {
        for (auto& slot : slots_)
            slot.reset();
        used_ = 0;
        return Find(lat);
    }
    auto t = std::make_unique<Table>();
    t->lat = lat;
    t->hours.fill(-1.0);
    ++used_;
    slots_[i] = std::move(t);
    return *slots_[i];
}
