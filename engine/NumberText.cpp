#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

#include "OrvexError.h"

std::size_t ParseFloatPrefix(std::string_view s, double& out) {
    if (s.empty()) return 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first; // from_chars refuses a leading '+'
    if (first == last || *first == '+' || (*first == '-' && first != s.data())) return 0;
    // Only digits or '.' may follow the sign: no "inf", "nan" or hexadecimal.
    const char* body = (*first == '-') ? first + 1 : first;
    if (body == last || !((*body >= '0' && *body <= '9') || *body == '.')) return 0;
    auto [ptr, ec] = std::from_chars(first, last, out, std::chars_format::general);
    if (ec != std::errc()) return 0;
    return static_cast<std::size_t>(ptr - s.data());
}

std::size_t ParseIntPrefix(std::string_view s, int& out) {
    if (s.empty()) return 0;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;
    if (first == last || *first == '+' || (*first == '-' && first != s.data())) return 0;
    auto [ptr, ec] = std::from_chars(first, last, out, 10);
    if (ec != std::errc()) return 0;
    return static_cast<std::size_t>(ptr - s.data());
}

bool TryParseFloat(std::string_view s, double& out) {
    double v = 0.0;
    if (s.empty() || ParseFloatPrefix(s, v) != s.size()) return false;
    out = v;
    return true;
}

bool TryParseInt(std::string_view s, int& out) {
    int v = 0;
    if (s.empty() || ParseIntPrefix(s, v) != s.size()) return false;
    out = v;
    return true;
}

bool TryParseSetting(std::string_view s, double& out) {
    std::string normal(s);
    for (char& c : normal)
        if (c == ',') c = '.';
    return TryParseFloat(normal, out);
}

double SettingToFloat(std::string_view s) {
    double v = 0.0;
    if (!TryParseSetting(s, v))
        throw EOrvexError("'" + std::string(s) + "' is not a valid floating point value");
    return v;
}

std::string IntToStr(long long value) {
    return std::to_string(value);
}

namespace {

constexpr int MAX_PRECISION = 18; // significant digits the runtime kept from its extended type

// value = 0.d1d2d3... x 10^exponent; no trailing zeros, and no digits for zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

void DropTrailingZeros(DecimalDigits& d) {
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

// The value's decimal text at `significant` significant digits.
template <class Float> DecimalDigits Digits(Float value, int significant) {
    DecimalDigits r;
    r.negative = std::signbit(value);
    if (value == 0) return r;
    char buf[80];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                                   significant - 1);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = text.find('e');
    for (std::size_t k = 0; k < e; ++k)
        if (text[k] != '.') r.digits.push_back(text[k]);
    int exp10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exp10);
    r.exponent = exp10 + 1;
    DropTrailingZeros(r);
    return r;
}

// Keeps at most `keep` significant digits, ties away from zero on the text; a negative `keep`
// leaves zero, and keep 0 may round up to one unit of the next place.
void RoundDigits(DecimalDigits& d, long long keep) {
    if (keep < 0) {
        d.digits.clear();
    } else if (static_cast<std::size_t>(keep) < d.digits.size()) {
        const std::size_t n = static_cast<std::size_t>(keep);
        const bool up = d.digits[n] >= '5';
        d.digits.resize(n);
        if (up) {
            std::size_t k = n;
            while (k > 0 && d.digits[k - 1] == '9')
                d.digits[--k] = '0';
            if (k == 0) { // 9...9 became 10...0: the zeros are dropped below
                d.digits.insert(d.digits.begin(), '1');
                ++d.exponent;
            } else {
                ++d.digits[k - 1];
            }
        }
    }
    DropTrailingZeros(d);
}

// The value's decimal text at 18 significant digits, rounded to at most `precision`
// significant digits and `decimals` decimals.
DecimalDigits ToDecimal(double value, int precision, int decimals) {
    DecimalDigits r = Digits(value, MAX_PRECISION);
    RoundDigits(r, std::min<long long>(precision, static_cast<long long>(r.exponent) + decimals));
    return r;
}

std::string NonFinite(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string Sign(const DecimalDigits& d) {
    return (d.negative && !d.digits.empty()) ? "-" : "";
}

// Integer part and `decimals` decimals of rounded digits; '.' only when decimals > 0.
std::string FixedText(const DecimalDigits& d, int minInt, int minDecimals, int maxDecimals) {
    std::string intPart;
    for (int k = 0; k < d.exponent; ++k)
        intPart +=
            (static_cast<std::size_t>(k) < d.digits.size()) ? d.digits[static_cast<std::size_t>(k)] : '0';
    if (static_cast<int>(intPart.size()) < minInt)
        intPart.insert(0, static_cast<std::size_t>(minInt) - intPart.size(), '0');
    std::string frac;
    for (int k = 0; k < maxDecimals; ++k) {
        const int pos = d.exponent + k; // index into digits
        frac += (pos >= 0 && pos < static_cast<int>(d.digits.size()))
                    ? d.digits[static_cast<std::size_t>(pos)]
                    : '0';
    }
    while (static_cast<int>(frac.size()) > minDecimals && frac.back() == '0')
        frac.pop_back();
    std::string out = Sign(d) + intPart;
    if (!frac.empty()) out += "." + frac;
    return out;
}

std::string GeneralText(const DecimalDigits& d, int precision) {
    if (d.digits.empty()) return "0";
    if (d.exponent > precision || d.exponent < -4) {
        std::string out = Sign(d) + d.digits.substr(0, 1);
        if (d.digits.size() > 1) out += "." + d.digits.substr(1);
        return out + "E" + std::to_string(d.exponent - 1);
    }
    return FixedText(d, 1, 0, std::max(0, static_cast<int>(d.digits.size()) - d.exponent));
}

int ClampPrecision(int precision) {
    return std::clamp(precision, 1, MAX_PRECISION);
}

} // namespace

std::string FloatToStrFixed(double value, int precision, int digits) {
    if (!std::isfinite(value)) return NonFinite(value);
    precision = ClampPrecision(precision);
    digits = std::clamp(digits, 0, MAX_PRECISION);
    const DecimalDigits d = ToDecimal(value, precision, digits);
    if (d.exponent > precision) return GeneralText(d, precision);
    return FixedText(d, 1, digits, digits);
}

std::string FloatToStrGeneral(double value, int precision) {
    if (!std::isfinite(value)) return NonFinite(value);
    precision = ClampPrecision(precision);
    return GeneralText(ToDecimal(value, precision, 9999), precision);
}

std::string FormatFloat(std::string_view format, double value) {
    if (format.empty()) return FloatToStrGeneral(value);
    if (!std::isfinite(value)) return NonFinite(value);
    int minInt = 0, minDecimals = 0, maxDecimals = 0;
    bool afterPoint = false;
    for (char c : format) {
        if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (c == '0' || c == '#') {
            if (!afterPoint) {
                if (c == '0') ++minInt;
            } else {
                ++maxDecimals;
                // A '0' after the point forces every decimal before it.
                if (c == '0') minDecimals = maxDecimals;
            }
        } else {
            throw EOrvexError("Unsupported number format '" + std::string(format) + "'");
        }
    }
    maxDecimals = std::min(maxDecimals, MAX_PRECISION);
    const int precision = 15;
    const DecimalDigits d = ToDecimal(value, precision, maxDecimals);
    if (d.exponent > MAX_PRECISION) return GeneralText(d, precision);
    return FixedText(d, minInt, minDecimals, maxDecimals);
}

namespace {

// The graph's formats work on 31 significant digits of the extended value: rounding is then
// done on (nearly) the exact text.
constexpr int EXTENDED_DIGITS = 31;

char DigitAt(const DecimalDigits& d, int index) {
    return index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(index)]
                                                                   : '0';
}

std::string ExponentText(int exp, int minDigits, bool plusSign) {
    std::string digitsText = std::to_string(std::abs(exp));
    if (static_cast<int>(digitsText.size()) < minDigits)
        digitsText.insert(0, static_cast<std::size_t>(minDigits) - digitsText.size(), '0');
    return std::string(exp < 0 ? "-" : (plusSign ? "+" : "")) + digitsText;
}

std::string Scientific(DecimalDigits d, int precision, int minExpDigits, bool general) {
    RoundDigits(d, precision);
    std::string out = Sign(d);
    out.push_back(DigitAt(d, 0));
    const int fractionDigits = general ? static_cast<int>(d.digits.size()) - 1 : precision - 1;
    if (fractionDigits > 0) {
        out.push_back('.');
        for (int i = 1; i <= fractionDigits; ++i)
            out.push_back(DigitAt(d, i));
    }
    const int exp = d.digits.empty() ? 0 : d.exponent - 1;
    out.push_back('E');
    out += ExponentText(exp, minExpDigits, !general);
    return out;
}

std::string Fixed(DecimalDigits d, int precision, int decimals, bool thousands) {
    RoundDigits(d, std::min(precision, d.exponent + decimals));
    std::string out = Sign(d);
    if (d.exponent <= 0) {
        out.push_back('0');
    } else {
        for (int i = 0; i < d.exponent; ++i) {
            if (thousands && i > 0 && (d.exponent - i) % 3 == 0) out.push_back(',');
            out.push_back(DigitAt(d, i));
        }
    }
    if (decimals > 0) {
        out.push_back('.');
        for (int i = 0; i < decimals; ++i)
            out.push_back(DigitAt(d, d.exponent + i));
    }
    return out;
}

std::string General(DecimalDigits d, int precision, int expDigits) {
    RoundDigits(d, precision);
    if (d.digits.empty()) return "0";
    if (d.exponent > precision || d.exponent < -4) return Scientific(d, precision, expDigits, true);
    std::string out = Sign(d);
    if (d.exponent <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        out += d.digits;
        return out;
    }
    for (int i = 0; i < d.exponent; ++i)
        out.push_back(DigitAt(d, i));
    if (static_cast<int>(d.digits.size()) > d.exponent) {
        out.push_back('.');
        out.append(d.digits, static_cast<std::size_t>(d.exponent));
    }
    return out;
}

} // namespace

std::string FloatToStrF(long double value, TFloatTextFormat format, int precision, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = ClampPrecision(precision);
    const DecimalDigits d = Digits(value, EXTENDED_DIGITS);
    switch (format) {
    case TFloatTextFormat::General:
        return General(d, precision, std::clamp(digits, 0, 4));
    case TFloatTextFormat::Exponent:
        return Scientific(d, precision, std::clamp(digits, 0, 4), false);
    case TFloatTextFormat::Fixed:
    case TFloatTextFormat::Number:
    case TFloatTextFormat::Currency:
        if (d.exponent > precision) return Scientific(d, precision, 0, true);
        return Fixed(d, precision, std::clamp(digits, 0, MAX_PRECISION), format != TFloatTextFormat::Fixed);
    }
    return {};
}
