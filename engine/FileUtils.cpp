#include "FileUtils.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {
bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Removes the last folder of a result that ends with '/'. The root stays; in a relative
// result with no folder left, ".." is kept so the name still points where it should.
void DropLastFolder(std::string& result) {
    if (result == "/") return;
    const std::size_t prev = result.empty() ? std::string::npos : result.find_last_of('/', result.size() - 2);
    const std::string last = result.substr(prev == std::string::npos ? 0 : prev + 1);
    if (result.empty() || last == "../") {
        result += "../";
        return;
    }
    result.resize(prev == std::string::npos ? 0 : prev + 1);
}
} // namespace

std::string GetAbsolutePath(const std::string& Path, const std::string& RelFileName) {
    if (!RelFileName.empty() && RelFileName.front() == '/') return RelFileName;
    std::string result = Path;
    if (result.empty() || result.back() != '/') result += '/';

    std::size_t start = 0;
    for (std::size_t k = 0; k < RelFileName.size(); ++k) {
        if (!IsSeparator(RelFileName[k])) continue;
        const std::string piece = RelFileName.substr(start, k - start);
        start = k + 1;
        if (piece.empty() || piece == ".") continue;
        if (piece == "..")
            DropLastFolder(result);
        else
            result += piece + '/';
    }
    return result + RelFileName.substr(start);
}

void GetFilenames(const std::string& DirPath, std::vector<std::string>& Filenames) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(fs::path(DirPath), ec);
    if (ec) return;
    std::vector<std::string> names;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        std::error_code fileEc;
        if (!entry.is_regular_file(fileEc)) continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    Filenames.insert(Filenames.end(), names.begin(), names.end());
}

std::string GetExecutableDir() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path folder = ec ? std::filesystem::current_path() : exe.parent_path();
    return folder.string() + "/";
}
