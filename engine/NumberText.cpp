#include "NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "OrvexError.h"

bool TryParseFloat(std::string_view s, double& out) {
    if (s.empty()) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first; // from_chars refuses a leading '+'
    if (first == last || *first == '+' || (*first == '-' && first != s.data())) return false;
    // Only digits or '.' may follow the sign: no "inf", "nan" or hexadecimal.
    const char* body = (*first == '-') ? first + 1 : first;
    if (body == last || !(std::isdigit(static_cast<unsigned char>(*body)) || *body == '.')) return false;
    double v = 0.0;
    auto [ptr, ec] = std::from_chars(first, last, v, std::chars_format::general);
    if (ec != std::errc() || ptr != last) return false;
    out = v;
    return true;
}

bool TryParseInt(std::string_view s, int& out) {
    if (s.empty()) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;
    if (first == last || *first == '+' || (*first == '-' && first != s.data())) return false;
    int v = 0;
    auto [ptr, ec] = std::from_chars(first, last, v, 10);
    if (ec != std::errc() || ptr != last) return false;
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

// Decimal digits of a finite value: value = 0.d1d2d3... x 10^exponent. No digits for zero.
struct DecimalDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The value's decimal text at 18 significant digits, rounded to at most `precision`
// significant digits and `decimals` decimals, ties away from zero on that text.
DecimalDigits ToDecimal(double value, int precision, int decimals) {
    DecimalDigits r;
    r.negative = std::signbit(value);
    if (value == 0.0) return r;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             MAX_PRECISION - 1);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    const std::size_t e = text.find('e');
    std::string all;
    for (std::size_t k = 0; k < e; ++k)
        if (text[k] != '.') all += text[k];
    int exp10 = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exp10);
    r.exponent = exp10 + 1;

    long long keep = std::min<long long>(precision, static_cast<long long>(r.exponent) + decimals);
    if (keep < 0) return DecimalDigits{r.negative, "", 0};
    const std::size_t n = static_cast<std::size_t>(keep);
    if (n < all.size()) {
        const bool up = all[n] >= '5';
        all.resize(n);
        if (up) {
            std::size_t k = n;
            while (k > 0 && all[k - 1] == '9')
                all[--k] = '0';
            if (k == 0) { // 9...9 became 10...0: the zeros are dropped below anyway
                all = "1";
                ++r.exponent;
            } else {
                ++all[k - 1];
            }
        }
    }
    while (!all.empty() && all.back() == '0')
        all.pop_back();
    if (all.empty()) r.exponent = 0;
    r.digits = all;
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
