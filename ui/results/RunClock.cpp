#include "RunClock.h"

#include <cstdio>

void TRunClock::Pause(std::int64_t nowMs) {
    if (paused_) return;
    paused_ = true;
    pauseMs_ = nowMs;
}

void TRunClock::Resume(std::int64_t nowMs) {
    if (!paused_) return;
    paused_ = false;
    startMs_ += nowMs - pauseMs_;
}

std::int64_t TRunClock::Elapsed(std::int64_t nowMs) const {
    return (paused_ ? pauseMs_ : nowMs) - startMs_;
}

std::string TRunClock::Format(std::int64_t ms) {
    if (ms < 0) ms = 0;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}
