#include "SensitivityFile.h"

#include <cerrno>
#include <cstring>

#include "NumberText.h"
#include "OrvexError.h"

std::string SensitivityLine(std::span<const double> row) {
    std::string line;
    for (std::size_t k = 0; k < row.size(); ++k) {
        if (k > 0) line += '\t';
        line += FloatToStrFixed(row[k], 8, 3);
    }
    line += "\r\n";
    return line;
}

void TSensitivityFile::WriteRows(std::span<const double> values, int width) {
    if (width <= 0) return;
    std::string text;
    const std::size_t w = static_cast<std::size_t>(width);
    for (std::size_t start = 0; start + w <= values.size(); start += w)
        text += SensitivityLine(values.subspan(start, w));
    Put(text);
}

void TSensitivityFile::WriteLineAndFlush(std::span<const double> row) {
    Put(SensitivityLine(row));
    if (std::fflush(file_) != 0)
        throw EOrvexError("Cannot write the sensitivity file " + path_ + ": " + std::strerror(errno));
}

void TSensitivityFile::Put(const std::string& text) {
    if (text.empty()) return;
    if (file_ == nullptr || std::fwrite(text.data(), 1, text.size(), file_) != text.size())
        throw EOrvexError(
            "Cannot write the sensitivity file " + path_ +
            (file_ == nullptr ? std::string(": it is not open") : ": " + std::string(std::strerror(errno))));
}
