#pragma once

// Smallest divisor, and the value that replaces a zero where one must not stand.
inline constexpr double ALMOST_ZERO = 1e-6;
// Largest exponent passed to exp().
inline constexpr double MAX_EXP = 500.0;
inline constexpr double MAX_EXP_DIV_2 = 250.0;

// The missing value of climate values, observed, predicted and T0 dates.
inline constexpr int MISSING_INT = -9999;
inline constexpr double MISSING = -9999.0;
