#pragma once
// The graph's own number text for axis numbers. Built on std::to_chars, so it never depends on a
// process-wide locale; the decimal separator is always '.', the thousands separator ','.

#include "ChartTypes.h"

#include <string>

// `precision` significant digits (1..18); `digits`: decimals for ffFixed, ffNumber and
// ffCurrency, minimum exponent digits (0..4) for ffGeneral and ffExponent. Ties round away from
// zero in the decimal text.
std::string ChartFloatToStrF(long double value, TFloatFormat format, int precision, int digits);
