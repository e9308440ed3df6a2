#pragma once
// The hourly temperatures of one day at once, for the hourly sums of a model run.

#include <array>

#include "Weather.h"

inline constexpr int FIRST_SUMMED_HOUR = 2;
inline constexpr int LAST_SUMMED_HOUR = 24;
using THourTemps = std::array<double, LAST_SUMMED_HOUR - FIRST_SUMMED_HOUR + 1>;

// f(Wi, i, h) for h = 2..24, in that order. The default routine reads its two days once
// instead of once per hour; the values are the same to the bit.
void HourlyTemperatures(TInterpolationFunc f, const TWeatherYear& Wi, int i, THourTemps& t);
