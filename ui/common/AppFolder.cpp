#include "AppFolder.h"

#include <filesystem>

#include "FileUtils.h"

namespace {
std::string g_folder;
}

std::string ExeFolder() {
    // The engine's own answer, so windows and engine resolve System/ against one folder.
    std::string folder = g_folder.empty() ? GetExecutableDir() : g_folder;
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

void SetExeFolder(const std::string& folder) {
    g_folder = folder;
}

std::string RelativeToExe(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path p(path);
    if (path.empty() || !p.is_absolute()) return path;
    const fs::path rel = p.lexically_normal().lexically_relative(fs::path(ExeFolder()).lexically_normal());
    // Only a file inside the executable's tree moves with it; any other stays where it is.
    if (rel.empty() || *rel.begin() == "..") return path;
    return rel.generic_string();
}
