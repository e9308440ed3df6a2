#include "DebugUtils.h"

#include <cmath>
#include <cstdio>

TBeginTime GetBeginTime() {
    return std::chrono::steady_clock::now();
}

std::int64_t ElapsedTime(TBeginTime begin) {
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - begin;
    return static_cast<std::int64_t>(std::nearbyint(d.count()));
}

std::string FormatMS(std::int64_t ms) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2lld:%.2lld:%.2lld:%.3lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms % 3600000 / 60000), static_cast<long long>(ms % 60000 / 1000),
                  static_cast<long long>(ms % 1000));
    return buf;
}

std::string FormatSecondsMS(std::int64_t ms) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2lld.%.3lld", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000));
    return buf;
}
