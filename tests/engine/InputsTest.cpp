#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "Inputs.h"
#include "OrvexError.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(ORVEX_TEST_DATA) + "/inputs/";

// Each test writes its files into a fresh folder, removed at the end.
class InputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Tests run in parallel processes: the test name and a random tag keep folders apart.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() /
               ("orvex_inputs_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& content) {
        const fs::path p = dir_ / ("f" + std::to_string(files_++) + ".txt");
        std::ofstream(p, std::ios::binary) << content;
        return p.string();
    }

    fs::path dir_;
    int files_ = 0;
};

// Runs the reader and returns its message, or "" when it did not raise.
std::string MessageOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const EOrvexError& e) {
        return e.what();
    }
    return "";
}

struct BadCase {
    const char* name;
    std::string content;
    std::string expected; // the message starts with this text
};

const std::string kPhenoHeader = "Station\tProvenance\tYear\tBudburst\tFlowering\n";

} // namespace

TEST_F(InputsTest, PhenoFileRowsDatesAndYears) {
    const TRPhenoInfos p = read_pheno_infos(kData + "pheno.txt");
    ASSERT_EQ(p.nb_obs(), 4);
    EXPECT_EQ(p.dataHeader,
              (std::vector<std::string>{"Station", "Provenance", "Year", "Budburst", "Flowering"}));
    EXPECT_EQ(p.tabPheno[1].station, 1);
    EXPECT_EQ(p.tabPheno[1].provenance, 2);
    EXPECT_EQ(p.tabPheno[1].year, 1998);
    ASSERT_EQ(p.tabPheno[1].dates.size(), 2u);
    EXPECT_EQ(p.tabPheno[1].dates[0].date, -9999.0);
    EXPECT_EQ(p.tabPheno[1].dates[1].date, 128.25);
    EXPECT_EQ(p.tabPheno[1].dates[1].fits, 0);
    EXPECT_EQ(p.tabPheno[2].dates[1].date, -9999.0);
    // Year 0 takes no part in the observation years.
    EXPECT_EQ(p.minObsYear, 1998);
    EXPECT_EQ(p.maxObsYear, 2003);
}

TEST_F(InputsTest, PhenoLineEndsAndEncodingsReadAlike) {
    const std::vector<std::pair<const char*, std::string>> variants = {
        {"LF", kPhenoHeader + "12 3 2001 95.5 130\n"},
        {"no final line end", kPhenoHeader + "12 3 2001 95.5 130"},
        {"CRLF", "Station\tProvenance\tYear\tBudburst\tFlowering\r\n12\t3\t2001\t95.5\t130\r\n"},
        {"CRLF without final line end",
         "Station\tProvenance\tYear\tBudburst\tFlowering\r\n12 3 2001 95.5 130"},
        {"CR", "Station\tProvenance\tYear\tBudburst\tFlowering\r12 3 2001 95.5 130\r"},
        {"empty lines at end", kPhenoHeader + "12 3 2001 95.5 130\n\n \r\n\n"},
        {"byte order mark", "\xEF\xBB\xBF" + kPhenoHeader + "12 3 2001 95.5 130\n"},
        {"blanks and TABs mixed", kPhenoHeader + "  12\t 3  2001\t\t95.5 130  \n"},
        {"end mark line", kPhenoHeader + "12 3 2001 95.5 130\n0 0 0\n"},
    };
    for (const auto& [name, content] : variants) {
        const TRPhenoInfos p = read_pheno_infos(Write(content));
        ASSERT_EQ(p.nb_obs(), 1) << name;
        EXPECT_EQ(p.dataHeader.front(), "Station") << name;
        EXPECT_EQ(p.dataHeader.back(), "Flowering") << name;
        EXPECT_EQ(p.tabPheno[0].station, 12) << name;
        ASSERT_EQ(p.tabPheno[0].dates.size(), 2u) << name;
        EXPECT_EQ(p.tabPheno[0].dates[0].date, 95.5) << name;
        EXPECT_EQ(p.tabPheno[0].dates[1].date, 130.0) << name;
        EXPECT_EQ(p.minObsYear, 2001) << name;
        EXPECT_EQ(p.maxObsYear, 2001) << name;
    }
}

TEST_F(InputsTest, PhenoWithoutRowsKeepsYearDefaults) {
    const TRPhenoInfos p = read_pheno_infos(Write(kPhenoHeader + "\n"));
    EXPECT_EQ(p.nb_obs(), 0);
    EXPECT_EQ(p.minObsYear, 9999);
    EXPECT_EQ(p.maxObsYear, 0);
}

TEST_F(InputsTest, PhenoBadFilesNameFileAndLine) {
    const std::string col =
        "The number of columns in the phenology data file is incorrect, please check it !";
    const std::string bad = "The pheno file is defective at line ";
    const std::vector<BadCase> cases = {
        {"three header fields", "Station\tProvenance\tYear\n1 1 2001\n", col},
        {"empty file", "", col},
        {"header split on blanks only", "Station Provenance Year Budburst\n1 1 2001 90\n", col},
        {"comma decimal", kPhenoHeader + "1 3 2001 95,5 130\n", bad + "2 "},
        {"real station", kPhenoHeader + "1 3 2001 95 130\n1.0 3 2002 95 130\n", bad + "3 "},
        {"fewer dates", kPhenoHeader + "1 3 2001 95 130\n1 3 2002 95\n1 3 2003 95 130\n", bad + "3 "},
        {"more dates", kPhenoHeader + "1 3 2001 95 130 160\n", bad + "2 "},
        {"no year", kPhenoHeader + "1 3 2001 95 130\n\n1 3\n1 3 2003 95 130\n", bad + "4 "},
        {"dateless line inside", kPhenoHeader + "0 0 0\n1 3 2001 95 130\n", bad + "2 "},
        {"CRLF line count", "a\tb\tc\td\r\n1 1 2001 5\r\n1 1 2002 x\r\n", bad + "3 "},
        {"CR line count", "a\tb\tc\td\r1 1 2001 5\r1 1 2002 x\r", bad + "3 "},
        {"last line without dates", kPhenoHeader + "12 3 2001 95.5 130\n13 1 2004", bad + "3 "},
        {"date far beyond a year", kPhenoHeader + "1 3 2001 1e300 130\n", bad + "2 "},
        {"day after the year", kPhenoHeader + "1 3 2001 95 367\n", bad + "2 "},
        {"day before the year before", kPhenoHeader + "1 3 2001 -366 130\n", bad + "2 "},
    };
    for (const auto& c : cases) {
        const std::string path = Write(c.content);
        const std::string msg = MessageOf([&] { read_pheno_infos(path); });
        EXPECT_EQ(msg.rfind(c.expected, 0), 0u) << c.name << ": " << msg;
        EXPECT_NE(msg.find(path), std::string::npos) << c.name << ": " << msg;
    }
    // The whole message: the reader's own text, the file, then the reason.
    const std::string path = Write(kPhenoHeader + "1 3 2001 95,5 130\n");
    EXPECT_EQ(MessageOf([&] { read_pheno_infos(path); }),
              bad + "2 (\"" + path + "\"): \"95,5\" is not a number");
    // The first and last days of the run are dates.
    EXPECT_EQ(read_pheno_infos(Write(kPhenoHeader + "1 3 2001 -365 366\n")).tabPheno[0].dates[1].date, 366.0);
}

TEST_F(InputsTest, FitInfoRowsStopAtStationZero) {
    const TRFitInfo f = read_fit_infos(kData + "fitinfo.txt");
    ASSERT_EQ(f.nb_fit(), 2);
    EXPECT_EQ(f.tabFit[1].station, 2);
    EXPECT_EQ(f.tabFit[1].provenance, 1);
    EXPECT_EQ(f.tabFit[1].year, 2003);

    const std::vector<std::pair<const char*, std::string>> variants = {
        {"CRLF without final line end", "S\tP\tY\r\n1 1 2001\r\n2 2 2002"},
        {"CR", "S\tP\tY\r1 1 2001\r2 2 2002\r"},
        {"empty lines", "S\tP\tY\n\n1 1 2001\n\n2 2 2002\n\n\n"},
        {"garbage after the end mark", "S\tP\tY\n1 1 2001\n2 2 2002\n0 0 0\nnot numbers at all\n"},
        {"short end mark", "S\tP\tY\n1 1 2001\n2 2 2002\n0\n"},
    };
    for (const auto& [name, content] : variants) {
        const TRFitInfo v = read_fit_infos(Write(content));
        ASSERT_EQ(v.nb_fit(), 2) << name;
        EXPECT_EQ(v.tabFit[1].year, 2002) << name;
    }
}

TEST_F(InputsTest, FitInfoBadFilesNameFileAndLine) {
    const std::string bad = "The fit info file is defective at line ";
    const std::vector<BadCase> cases = {
        {"four header fields", "S\tP\tY\tX\n1 1 2001\n",
         "The number of columns \"4\" in the info file is incorrect (expecting : Station, Provenance, "
         "Year)!"},
        {"two header fields", "S\tP\n", "The number of columns \"2\" in the info file is incorrect"},
        {"real year", "S\tP\tY\n1 1 2001\n1 1 2002.5\n", bad + "3 "},
        {"missing year", "S\tP\tY\n1 1 2001\n1 1\n", bad + "3 "},
        {"text provenance", "S\tP\tY\r\n\r\n1 x 2001\r\n", bad + "3 "},
        {"row twice", "S\tP\tY\n1 1 2001\n2 2 2002\n1 1 2001\n", bad + "4 "},
    };
    for (const auto& c : cases) {
        const std::string path = Write(c.content);
        const std::string msg = MessageOf([&] { read_fit_infos(path); });
        EXPECT_EQ(msg.rfind(c.expected, 0), 0u) << c.name << ": " << msg;
        EXPECT_NE(msg.find(path), std::string::npos) << c.name << ": " << msg;
    }
}

TEST_F(InputsTest, T0FileYearsAndValues) {
    const TRSimInfo s = read_sim_infos(kData + "t0.txt");
    EXPECT_EQ(s.nb_phases, 2);
    EXPECT_TRUE(s.header.empty());
    ASSERT_EQ(s.Years.size(), 2u);
    EXPECT_EQ(s.Years[0].year, 2001);
    EXPECT_EQ(s.Years[0].t0_data, (std::vector<double>{60.0, -9999.0}));
    EXPECT_EQ(s.Years[1].t0_data, (std::vector<double>{61.5, 120.0}));

    const std::vector<std::pair<const char*, std::string>> variants = {
        {"last line without line end", "Year\tt0\n2001 60\n2002 61"},
        {"empty lines at end", "Year\tt0\n2001 60\n2002 61\n\n\n"},
        {"CRLF", "Year\tt0\r\n2001\t60\r\n2002\t61\r\n"},
        {"CR", "Year\tt0\r2001\t60\r2002\t61\r"},
    };
    for (const auto& [name, content] : variants) {
        const TRSimInfo v = read_sim_infos(Write(content));
        EXPECT_EQ(v.nb_phases, 1) << name;
        ASSERT_EQ(v.Years.size(), 2u) << name;
        EXPECT_EQ(v.Years[1].year, 2002) << name;
        EXPECT_EQ(v.Years[1].t0_data, std::vector<double>{61.0}) << name;
    }
}

TEST_F(InputsTest, T0BadFilesNameFileAndLine) {
    const std::string bad = "The t0 info file is defective at line ";
    const std::vector<BadCase> cases = {
        {"one header field", "Year\n2001\n",
         "The number of columns \"1\" in t0 info file is incorrect (expecting : Year, t0 phase1, t0 phase2, "
         "...)!"},
        {"too few values", "Year\tt0 a\tt0 b\n2001 60\n2002 60 70\n", bad + "2 "},
        {"too many values", "Year\tt0\n2001 60\n2002 60 70\n", bad + "3 "},
        {"comma decimal", "Year\tt0\n2001 60,5\n", bad + "2 "},
        {"real year", "Year\tt0\n2001.0 60\n", bad + "2 "},
        {"header only", "Year\tt0\r\n\r\n", bad + "2 "},
    };
    for (const auto& c : cases) {
        const std::string path = Write(c.content);
        const std::string msg = MessageOf([&] { read_sim_infos(path); });
        EXPECT_EQ(msg.rfind(c.expected, 0), 0u) << c.name << ": " << msg;
        EXPECT_NE(msg.find(path), std::string::npos) << c.name << ": " << msg;
    }
}

TEST_F(InputsTest, UnopenableFilesAreNamed) {
    const std::string missing = (dir_ / "missing.txt").string();
    const std::vector<std::pair<std::function<void()>, std::string>> cases = {
        {[&] { read_pheno_infos(missing); }, "The phenology data file is open, please close it"},
        {[&] { read_fit_infos(missing); }, "The info file is already open, please close it"},
        {[&] { read_sim_infos(missing); }, "The t0 info file is already open, please close it"},
    };
    for (const auto& [read, expected] : cases) {
        const std::string msg = MessageOf(read);
        EXPECT_EQ(msg.rfind(expected, 0), 0u) << msg;
        EXPECT_NE(msg.find(missing), std::string::npos) << msg;
    }
    // A folder opens but cannot be read.
    EXPECT_NE(MessageOf([&] { read_sim_infos(dir_.string()); }).find(dir_.string()), std::string::npos);
}
