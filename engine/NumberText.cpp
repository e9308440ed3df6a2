#include "NumberText.h"

#include <cctype>
#include <charconv>
#include <string>

#include "OrvexError.h"

bool TryParseFloat(std::string_view s, double& out) {
    if (s.empty()) return false;
    const char* first = s.data();
    const char* last = s.data() + s.size();
    if (*first == '+') ++first;  // from_chars refuses a leading '+'
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
    if (!TryParseSetting(s, v)) throw EOrvexError("'" + std::string(s) + "' is not a valid floating point value");
    return v;
}

std::string IntToStr(long long value) { return std::to_string(value); }
