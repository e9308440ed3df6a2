#include "IniFile.h"

#include <SimpleIni.h>

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
    ini.LoadFile(path_.c_str()); // a missing file starts empty
    ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    if (ini.SaveFile(path_.c_str(), false) < 0)
        throw EOrvexError("The settings file \"" + path_ + "\" cannot be written.");
}
