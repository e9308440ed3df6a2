#pragma once
// The one place for number text, the engine's and the graph's (a library of its own, no Qt).
// Never locale-dependent: the window switches the C numeric locale, so printf/strtod/iostreams
// would write ',' or misread files.
// We always write '.'; settings and model files may carry '.' or ','.

#include <cstddef>
#include <string>
#include <string_view>

// Whole text is a number with '.' as separator (an exponent is allowed). No blanks.
bool TryParseFloat(std::string_view s, double& out);
// Whole text is a decimal integer within 32 bits (an optional sign).
bool TryParseInt(std::string_view s, int& out);
// The number at the start of s, read as far as it goes: the bytes it took, or 0 when s does not
// start with one. Taking all of a text is TryParseFloat/TryParseInt on it; a reader splitting
// values checks that a separator follows, without a pass of its own to find the value's end.
std::size_t ParseFloatPrefix(std::string_view s, double& out);
std::size_t ParseIntPrefix(std::string_view s, int& out);
// Settings and model files: '.' or ',' as the separator. Raises EOrvexError when not a number:
// "'<text>' is not a valid floating point value".
double SettingToFloat(std::string_view s);
// Same, without raising.
bool TryParseSetting(std::string_view s, double& out);

std::string IntToStr(long long value);

// Fixed notation with `digits` decimals, rounded to at most `precision` significant digits;
// a value whose integer part needs more digits than `precision` is written in general form.
std::string FloatToStrFixed(double value, int precision, int digits);
// Shortest general form with at most `precision` significant digits ("1.5", "1E20", "1.5E-7").
std::string FloatToStrGeneral(double value, int precision = 15);
// Picture formats such as "0.#" and "0.000": '0' a digit always shown, '#' one shown when not 0.
std::string FormatFloat(std::string_view format, double value);

// The graph's axis and hint numbers, at 31 significant digits of the extended value, ties away
// from zero; ',' separates thousands in Number and Currency. `precision` significant digits
// (1..18); `digits`: decimals for Fixed, Number and Currency, minimum exponent digits (0..4) for
// General and Exponent.
enum class TFloatTextFormat { General, Exponent, Fixed, Number, Currency };
std::string FloatToStrF(long double value, TFloatTextFormat format, int precision, int digits);
