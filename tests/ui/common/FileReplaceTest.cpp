// Settings and exported files are replaced whole: a failed write leaves the old file as it was.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <unistd.h>

#include "FileReplace.h"
#include "FitOutputFile.h"
#include "IniFile.h"
#include "OrvexError.h"

namespace fs = std::filesystem;

namespace {

// Files of this process cannot grow past `bytes`, as on a full disk.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead of killing us
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

private:
    rlimit old_{};
};

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    const fs::path dir = fs::temp_directory_path() / ("orvex_replace_" + std::to_string(::getpid()));
};

} // namespace

TEST_F(FileReplace, IniWritingKeepsTheRestAndNeverReplacesAnUnreadableFile) {
    TIniFile ini((dir / "configuration.ini").string());
    ini.WriteString("path-fit", "Climate", "a.txt");
    ini.WriteString("path-sim", "model", "m.xml");
    EXPECT_EQ(ini.ReadString("PATH-FIT", "climate"), "a.txt");
    EXPECT_EQ(ini.ReadString("path-sim", "MODEL"), "m.xml");

    // Something that exists but cannot be read as settings is left alone.
    TIniFile blocked((dir / "folder.ini").string());
    fs::create_directories(dir / "folder.ini" / "inside");
    EXPECT_THROW(blocked.WriteString("path-sim", "model", "m.xml"), EOrvexError);
    EXPECT_TRUE(fs::exists(dir / "folder.ini" / "inside"));
}

TEST_F(FileReplace, AFullDiskKeepsTheOldFileAndRaises) {
    const fs::path ini = dir / "last.ini";
    TIniFile settings(ini.string());
    settings.WriteString("option", "NbRepetitions", "3");
    const std::string before = ReadWholeFile(ini);
    const fs::path xml = dir / "fits.xml";
    ReplaceFileContents(xml.string(), "<Fits/>");

    {
        TFileSizeLimit full(8);
        EXPECT_THROW(settings.WriteString("option", "NbGlobalSearch", "20"), EOrvexError);
        EXPECT_THROW(ReplaceFileContents(xml.string(), std::string(100, 'x')), EOrvexError);
        EXPECT_THROW(ReplaceFileContents((dir / "new.xml").string(), std::string(100, 'x')), EOrvexError);
    }
    EXPECT_EQ(ReadWholeFile(ini), before);
    EXPECT_EQ(ReadWholeFile(xml), "<Fits/>");
    EXPECT_FALSE(fs::exists(dir / "new.xml"));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}
