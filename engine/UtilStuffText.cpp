#include <algorithm>

#include "NumberText.h"
#include "UtilStuff.h"

int nbOfColumns(std::string_view s) {
    if (s.empty()) return 0; // an empty line has no field, as the validator counts cells
    return static_cast<int>(std::count(s.begin(), s.end(), '\t')) + 1;
}

std::string myBoolToStr(bool b) {
    return b ? "1" : "0";
}

std::string myBoolToStr2(bool b) {
    return b ? "True" : "False";
}

bool myStrToBool2(std::string_view s) {
    return s == "True";
}

bool IsInteger(std::string_view s) {
    int v = 0;
    return TryParseInt(s, v);
}

bool IsFloat(std::string_view s) {
    double v = 0.0;
    return TryParseSetting(s, v);
}

std::string StrNormalizeFloat(std::string_view f) {
    std::string r(f);
    std::replace(r.begin(), r.end(), ',', '.');
    return r;
}
