#pragma once
// Timing for the debug log only.

#include <chrono>
#include <cstdint>
#include <string>

using TBeginTime = std::chrono::steady_clock::time_point;

TBeginTime GetBeginTime();
// Milliseconds since begin, rounded.
std::int64_t ElapsedTime(TBeginTime begin);
// "hh:mm:ss:zzz".
std::string FormatMS(std::int64_t ms);
// "ss.zzz": seconds and milliseconds.
std::string FormatSecondsMS(std::int64_t ms);
