#include "AppFolder.h"

#include <QCoreApplication>
#include <filesystem>

namespace {
std::string g_folder;
}

std::string ExeFolder() {
    std::string folder = g_folder.empty() ? QCoreApplication::applicationDirPath().toStdString() : g_folder;
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
