#include "OutputFile.h"

#include <filesystem>

namespace fs = std::filesystem;

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

void RemoveIfEmpty(const std::string& path) {
    if (path.empty()) return;
    std::error_code ec;
    if (fs::is_regular_file(fs::symlink_status(path, ec)) && fs::file_size(path, ec) == 0 && !ec)
        fs::remove(path, ec);
}
