// Stand-ins for the number formats of NumberText until their implementation is on this branch.
// Weak, so the real ones win as soon as they are linked; delete this file then.
#include <charconv>
#include <string>

__attribute__((weak)) std::string FloatToStrGeneral(double value, int precision) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return std::string(buf, r.ptr);
}

__attribute__((weak)) std::string FloatToStrFixed(double value, int, int digits) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, digits);
    return std::string(buf, r.ptr);
}
