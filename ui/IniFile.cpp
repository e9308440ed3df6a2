#include "IniFile.h"

#include <SimpleIni.h>
#include <filesystem>

#include "OrvexError.h"

namespace {
// Case-insensitive keys and sections, one value per key.
using TIni = CSimpleIniA;
} // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    TIni ini;
    ini.SetUnicode(true);
    if (ini.LoadFile(path_.c_str()) < 0) return def;
    const char* value = ini.GetValue(section.c_str(), key.c_str(), nullptr);
    return value ? std::string(value) : def;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    TIni ini;
    ini.SetUnicode(true);
    // A missing file starts empty; one that exists but cannot be read must not be replaced by
    // the single new key.
    std::error_code ec;
    if (ini.LoadFile(path_.c_str()) < 0 && std::filesystem::exists(path_, ec))
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be read.");
    ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    // Written beside and renamed, so an interrupted write never leaves half a file.
    const std::string tmp = path_ + ".tmp";
    if (ini.SaveFile(tmp.c_str(), false) < 0) {
        std::filesystem::remove(tmp, ec);
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be written.");
    }
    std::filesystem::rename(tmp, path_, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be written.");
    }
}
