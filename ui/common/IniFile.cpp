#include "IniFile.h"

#include <SimpleIni.h>
#include <filesystem>

#include "FileReplace.h"
#include "OrvexError.h"

namespace {
// Case-insensitive keys and sections, one value per key.
using TIni = CSimpleIniA;

enum class TLoad { Missing, Loaded, Unreadable };

// Only a regular file is handed to the reader: it sizes its buffer from the file's length,
// which a folder or a device does not have.
TLoad Load(TIni& ini, const std::string& path) {
    ini.SetUnicode(true);
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) return TLoad::Missing;
    if (!std::filesystem::is_regular_file(status)) return TLoad::Unreadable;
    return ini.LoadFile(path.c_str()) < 0 ? TLoad::Unreadable : TLoad::Loaded;
}
} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    for (const std::string* path : {&path_, &fallback_}) {
        if (path->empty()) continue;
        TIni ini;
        if (Load(ini, *path) != TLoad::Loaded) continue;
        if (const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr)) return value;
    }
    return def;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    TIni ini;
    // A missing file starts empty; one that exists but cannot be read must not be replaced by
    // the single new key.
    if (Load(ini, path_) == TLoad::Unreadable)
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be read.");
    ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    // The reader's own file save ignores write errors: save to text and write it checked.
    std::string text;
    if (ini.Save(text, false) < 0)
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be written.");
    try {
        ReplaceFileContents(path_, text);
    } catch (const EOrvexError&) {
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be written.");
    }
}
