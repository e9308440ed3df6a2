#include "ChartNumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// value = 0.Digits x 10^Exp; Digits has no leading or trailing zeros and is empty for zero.
struct TDecimal {
    bool Negative = false;
    std::string Digits;
    int Exp = 0;
};

TDecimal ToDecimal(long double value) {
    TDecimal d;
    d.Negative = std::signbit(value);
    char buf[80];
    // Far more digits than any kept: rounding below is then done on (nearly) the exact text.
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 30);
    const std::string text(buf, res.ptr);
    const size_t e = text.find('e');
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.Digits.push_back(text[i]);
    int exp10 = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exp10);
    d.Exp = exp10 + 1;
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) d = TDecimal{};
    return d;
}

// Keeps `keep` significant digits, halves away from zero; keep <= 0 may round up to one unit.
void RoundTo(TDecimal& d, int keep) {
    if (static_cast<int>(d.Digits.size()) <= keep) return;
    if (keep < 0) {
        d = TDecimal{};
        return;
    }
    const bool up = d.Digits[static_cast<size_t>(keep)] >= '5';
    d.Digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.Digits[static_cast<size_t>(i)] == '9')
            d.Digits[static_cast<size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.Digits[static_cast<size_t>(i)];
        } else {
            d.Digits.insert(d.Digits.begin(), '1');
            ++d.Exp;
        }
    }
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty()) d = TDecimal{};
}

char DigitAt(const TDecimal& d, int index) {
    return index >= 0 && index < static_cast<int>(d.Digits.size()) ? d.Digits[static_cast<size_t>(index)]
                                                                   : '0';
}

std::string ExponentText(int exp, int minDigits, bool plusSign) {
    std::string digitsText = std::to_string(std::abs(exp));
    if (static_cast<int>(digitsText.size()) < minDigits)
        digitsText.insert(0, static_cast<size_t>(minDigits) - digitsText.size(), '0');
    return std::string(exp < 0 ? "-" : (plusSign ? "+" : "")) + digitsText;
}

std::string Scientific(TDecimal d, int precision, int minExpDigits, bool general) {
    RoundTo(d, precision);
    std::string out = d.Negative && !d.Digits.empty() ? "-" : "";
    out.push_back(DigitAt(d, 0));
    const int fractionDigits = general ? static_cast<int>(d.Digits.size()) - 1 : precision - 1;
    if (fractionDigits > 0) {
        out.push_back('.');
        for (int i = 1; i <= fractionDigits; ++i)
            out.push_back(DigitAt(d, i));
    }
    const int exp = d.Digits.empty() ? 0 : d.Exp - 1;
    return out + "E" + ExponentText(exp, minExpDigits, !general);
}

std::string Fixed(TDecimal d, int precision, int decimals, bool thousands) {
    RoundTo(d, std::min(precision, d.Exp + decimals));
    std::string intPart;
    if (d.Exp <= 0) {
        intPart = "0";
    } else {
        for (int i = 0; i < d.Exp; ++i) {
            if (thousands && i > 0 && (d.Exp - i) % 3 == 0) intPart.push_back(',');
            intPart.push_back(DigitAt(d, i));
        }
    }
    std::string out = d.Negative && !d.Digits.empty() ? "-" : "";
    out += intPart;
    if (decimals > 0) {
        out.push_back('.');
        for (int i = 0; i < decimals; ++i)
            out.push_back(DigitAt(d, d.Exp + i));
    }
    return out;
}

} // namespace

std::string ChartFloatToStrF(long double value, TFloatFormat format, int precision, int digits) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    precision = std::clamp(precision, 1, 18);
    const TDecimal d = ToDecimal(value);
    switch (format) {
    case TFloatFormat::ffGeneral: {
        const int expDigits = std::clamp(digits, 0, 4);
        TDecimal r = d;
        RoundTo(r, precision);
        if (r.Digits.empty()) return "0";
        if (r.Exp > precision || r.Exp < -4) return Scientific(r, precision, expDigits, true);
        std::string out = r.Negative ? "-" : "";
        if (r.Exp <= 0) {
            out += "0.";
            out.append(static_cast<size_t>(-r.Exp), '0');
            return out + r.Digits;
        }
        for (int i = 0; i < r.Exp; ++i)
            out.push_back(DigitAt(r, i));
        if (static_cast<int>(r.Digits.size()) > r.Exp)
            out += "." + r.Digits.substr(static_cast<size_t>(r.Exp));
        return out;
    }
    case TFloatFormat::ffExponent:
        return Scientific(d, precision, std::clamp(digits, 0, 4), false);
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        const int decimals = std::clamp(digits, 0, 18);
        if (d.Exp > precision) return Scientific(d, precision, 0, true);
        return Fixed(d, precision, decimals, format != TFloatFormat::ffFixed);
    }
    }
    return {};
}
