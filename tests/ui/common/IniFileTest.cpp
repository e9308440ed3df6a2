#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include "IniFile.h"
#include "OrvexError.h"

namespace fs = std::filesystem;

TEST(IniFile, WritingKeepsTheRestAndNeverReplacesAnUnreadableFile) {
    const fs::path dir = fs::temp_directory_path() / ("orvex_ini_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);

    TIniFile ini((dir / "configuration.ini").string());
    ini.WriteString("path-fit", "Climate", "a.txt");
    ini.WriteString("path-sim", "model", "m.xml");
    EXPECT_EQ(ini.ReadString("PATH-FIT", "climate"), "a.txt");
    EXPECT_EQ(ini.ReadString("path-sim", "MODEL"), "m.xml");
    EXPECT_FALSE(fs::exists(dir / "configuration.ini.tmp"));

    // Something that exists but cannot be read as settings is left alone.
    TIniFile blocked((dir / "folder.ini").string());
    fs::create_directories(dir / "folder.ini" / "inside");
    EXPECT_THROW(blocked.WriteString("path-sim", "model", "m.xml"), EOrvexError);
    EXPECT_TRUE(fs::exists(dir / "folder.ini" / "inside"));
    fs::remove_all(dir);
}
