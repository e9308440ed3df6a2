#include <algorithm>

#include "NumberText.h"
#include "UtilStuff.h"

namespace {

// The one rule of tab-separated lines, so the readers and the validator always agree.
template <class OnCell> void ForEachTabCell(std::string_view line, OnCell onCell) {
    if (line.empty()) return;
    for (;;) {
        const std::size_t tab = line.find('\t');
        onCell(line.substr(0, tab));
        if (tab == std::string_view::npos) return;
        line.remove_prefix(tab + 1);
    }
}

} // namespace

void SplitTabCells(std::string_view line, std::vector<std::string_view>& cells) {
    cells.clear();
    ForEachTabCell(line, [&cells](std::string_view cell) { cells.push_back(cell); });
}

std::vector<std::string_view> SplitTabCells(std::string_view line) {
    std::vector<std::string_view> cells;
    SplitTabCells(line, cells);
    return cells;
}

int nbOfColumns(std::string_view s) {
    int n = 0;
    ForEachTabCell(s, [&n](std::string_view) { ++n; });
    return n;
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
