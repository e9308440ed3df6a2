#include "OutputFile.h"

#include <filesystem>

namespace fs = std::filesystem;

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}
