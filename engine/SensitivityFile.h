#pragma once
// Text of the sensitivity file: one visited point per line, each parameter value followed by a
// TAB, then the sum of squares, then CR LF; numbers fixed, 8 significant digits, 3 decimals.

#include <cstdio>
#include <span>
#include <string>
#include <utility>

#include "Metropolis.h"

// One line of the file for a row of parameter values followed by the sum of squares.
std::string SensitivityLine(std::span<const double> row);

// Writes rows to a file held open by the caller. Raises EOrvexError on a write error.
class TSensitivityFile : public TSensitivityOutput {
public:
    TSensitivityFile(std::FILE* file, std::string path) : file_(file), path_(std::move(path)) {}
    void WriteRows(std::span<const double> values, int width) override;
    // Whole line as given, then a flush (the first line of a confidence-interval search).
    void WriteLineAndFlush(std::span<const double> row);

private:
    void Put(const std::string& text);

    std::FILE* file_;
    std::string path_;
};
