#pragma once
// The graph's axis numbers in its own format names; the text itself comes from the one
// number-text module (never locale-dependent, '.' as decimal and ',' as thousands separator).

#include "ChartTypes.h"

#include <string>

// `precision` significant digits (1..18); `digits`: decimals for ffFixed, ffNumber and
// ffCurrency, minimum exponent digits (0..4) for ffGeneral and ffExponent. Ties round away from
// zero in the decimal text.
std::string ChartFloatToStrF(long double value, TFloatFormat format, int precision, int digits);
