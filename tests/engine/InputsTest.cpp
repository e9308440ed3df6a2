#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "ErrorText.h"
#include "Inputs.h"
#include "ScratchDir.h"

namespace {

const std::string kData = std::string(ORVEX_TEST_DATA) + "/inputs/";

using InputsTest = ScratchDirTest;

using TReader = void (*)(const std::string&);
const TReader PHENO = [](const std::string& p) { read_pheno_infos(p); };
const TReader FIT = [](const std::string& p) { read_fit_infos(p); };
const TReader T0 = [](const std::string& p) { read_sim_infos(p); };

struct BadCase {
    TReader read;
    const char* name;
    std::optional<std::string> content; // none: the file does not exist
    std::string expected;               // the message starts with this text
};

const std::string kPhenoHeader = "Station\tProvenance\tYear\tBudburst\tFlowering\n";

using TRow = std::tuple<int, int, int, std::vector<double>>;
// Station, provenance, year and dates of a row.
TRow Row(const TRPhenoData& r) {
    std::vector<double> dates;
    for (const TRPhenoDate& d : r.dates)
        dates.push_back(d.date);
    return {r.station, r.provenance, r.year, dates};
}

} // namespace

TEST_F(InputsTest, PhenoFileRowsDatesAndYears) {
    const TRPhenoInfos p = read_pheno_infos(kData + "pheno.txt");
    ASSERT_EQ(p.nb_obs(), 4);
    EXPECT_EQ(p.dataHeader,
              (std::vector<std::string>{"Station", "Provenance", "Year", "Budburst", "Flowering"}));
    EXPECT_EQ(Row(p.tabPheno[1]), TRow(1, 2, 1998, {-9999.0, 128.25}));
    EXPECT_EQ(Row(p.tabPheno[2]), TRow(2, 1, 2003, {101.0, -9999.0}));
    // Year 0 takes no part in the observation years.
    EXPECT_EQ(p.minObsYear, 1998);
    EXPECT_EQ(p.maxObsYear, 2003);
}

// Line ends and byte order marks in every form are the line reader's; these are the reader's own.
TEST_F(InputsTest, PhenoLineEndsBlanksAndEndMarksReadAlike) {
    const std::vector<std::pair<const char*, std::string>> variants = {
        {"LF", kPhenoHeader + "12 3 2001 95.5 130\n"},
        {"empty lines at end", kPhenoHeader + "12 3 2001 95.5 130\n\n \r\n\n"},
        {"blanks and TABs mixed", kPhenoHeader + "  12\t 3  2001\t\t95.5 130  \n"},
        {"end mark line", kPhenoHeader + "12 3 2001 95.5 130\n0 0 0\n"},
    };
    for (const auto& [name, content] : variants) {
        const TRPhenoInfos p = read_pheno_infos(WriteFile("f.txt", content));
        ASSERT_EQ(p.nb_obs(), 1) << name;
        EXPECT_EQ(Row(p.tabPheno[0]), TRow(12, 3, 2001, {95.5, 130.0})) << name;
    }
}

TEST_F(InputsTest, BadOrMissingFilesNameFileAndLine) {
    const std::string col =
        "The number of columns in the phenology data file is incorrect, please check it !";
    const std::string bad = "The pheno file is defective at line ";
    const std::string badFit = "The fit info file is defective at line ";
    const std::string badT0 = "The t0 info file is defective at line ";
    const std::vector<BadCase> cases = {
        {PHENO, "three header fields", "Station\tProvenance\tYear\n1 1 2001\n", col},
        {PHENO, "empty file", "", col},
        {PHENO, "header split on blanks only", "Station Provenance Year Budburst\n1 1 2001 90\n", col},
        // a comma decimal, and a whole message, are FitRun.InputFaultsEndTheFitSayingWhy's
        {PHENO, "real station", kPhenoHeader + "1 3 2001 95 130\n1.0 3 2002 95 130\n", bad + "3 "},
        {PHENO, "fewer dates", kPhenoHeader + "1 3 2001 95 130\n1 3 2002 95\n1 3 2003 95 130\n", bad + "3 "},
        {PHENO, "more dates", kPhenoHeader + "1 3 2001 95 130 160\n", bad + "2 "},
        {PHENO, "no year", kPhenoHeader + "1 3 2001 95 130\n\n1 3\n1 3 2003 95 130\n", bad + "4 "},
        {PHENO, "dateless line inside", kPhenoHeader + "0 0 0\n1 3 2001 95 130\n", bad + "2 "},
        {PHENO, "CRLF line count", "a\tb\tc\td\r\n1 1 2001 5\r\n1 1 2002 x\r\n", bad + "3 "},
        {PHENO, "CR line count", "a\tb\tc\td\r1 1 2001 5\r1 1 2002 x\r", bad + "3 "},
        {PHENO, "last line without dates", kPhenoHeader + "12 3 2001 95.5 130\n13 1 2004", bad + "3 "},
        {PHENO, "date far beyond a year", kPhenoHeader + "1 3 2001 1e300 130\n", bad + "2 "},
        {PHENO, "day after the year", kPhenoHeader + "1 3 2001 95 367\n", bad + "2 "},
        {PHENO, "day before the year before", kPhenoHeader + "1 3 2001 -366 130\n", bad + "2 "},

        {FIT, "four header fields", "S\tP\tY\tX\n1 1 2001\n",
         "The number of columns \"4\" in the info file is incorrect (expecting : Station, Provenance, "
         "Year)!"},
        {FIT, "two header fields", "S\tP\n", "The number of columns \"2\" in the info file is incorrect"},
        {FIT, "real year", "S\tP\tY\n1 1 2001\n1 1 2002.5\n", badFit + "3 "},
        {FIT, "missing year", "S\tP\tY\n1 1 2001\n1 1\n", badFit + "3 "},
        {FIT, "text provenance", "S\tP\tY\r\n\r\n1 x 2001\r\n", badFit + "3 "},
        {FIT, "row twice", "S\tP\tY\n1 1 2001\n2 2 2002\n1 1 2001\n", badFit + "4 "},

        {T0, "one header field", "Year\n2001\n",
         "The number of columns \"1\" in t0 info file is incorrect (expecting : Year, t0 phase1, t0 phase2, "
         "...)!"},
        {T0, "too few values", "Year\tt0 a\tt0 b\n2001 60\n2002 60 70\n", badT0 + "2 "},
        {T0, "too many values", "Year\tt0\n2001 60\n2002 60 70\n", badT0 + "3 "},
        {T0, "comma decimal", "Year\tt0\n2001 60,5\n", badT0 + "2 "},
        {T0, "real year", "Year\tt0\n2001.0 60\n", badT0 + "2 "},
        {T0, "header only", "Year\tt0\r\n\r\n", badT0 + "2 "},

        {PHENO, "missing", std::nullopt, "The phenology data file is open, please close it"},
        {FIT, "missing", std::nullopt, "The info file is already open, please close it"},
        {T0, "missing", std::nullopt, "The t0 info file is already open, please close it"},
    };
    for (const auto& c : cases) {
        const std::string path = c.content ? WriteFile("f.txt", *c.content) : P("missing.txt");
        const std::string msg = ErrorText([&] { c.read(path); });
        EXPECT_EQ(msg.rfind(c.expected, 0), 0u) << c.name << ": " << msg;
        EXPECT_NE(msg.find(path), std::string::npos) << c.name << ": " << msg;
    }
    // A folder opens but cannot be read.
    EXPECT_NE(ErrorText([&] { read_sim_infos(dir_.string()); }).find(dir_.string()), std::string::npos);
    // The first and last days of the run are dates.
    const TRPhenoInfos days = read_pheno_infos(WriteFile("f.txt", kPhenoHeader + "1 3 2001 -365 366\n"));
    EXPECT_EQ(Row(days.tabPheno[0]), TRow(1, 3, 2001, {-365.0, 366.0}));
}

TEST_F(InputsTest, FitInfoRowsStopAtStationZero) {
    const TRFitInfo f = read_fit_infos(kData + "fitinfo.txt");
    ASSERT_EQ(f.nb_fit(), 2);
    EXPECT_EQ(std::tuple(f.tabFit[1].station, f.tabFit[1].provenance, f.tabFit[1].year),
              std::tuple(2, 1, 2003));

    const std::vector<std::pair<const char*, std::string>> variants = {
        {"empty lines", "S\tP\tY\n\n1 1 2001\n\n2 2 2002\n\n\n"},
        {"garbage after the end mark", "S\tP\tY\n1 1 2001\n2 2 2002\n0 0 0\nnot numbers at all\n"},
        {"short end mark", "S\tP\tY\n1 1 2001\n2 2 2002\n0\n"},
    };
    for (const auto& [name, content] : variants) {
        const TRFitInfo v = read_fit_infos(WriteFile("f.txt", content));
        ASSERT_EQ(v.nb_fit(), 2) << name;
        EXPECT_EQ(v.tabFit[1].year, 2002) << name;
    }
}

TEST_F(InputsTest, T0FileYearsAndValues) {
    const TRSimInfo s = read_sim_infos(kData + "t0.txt");
    EXPECT_EQ(s.nb_phases, 2);
    ASSERT_EQ(s.Years.size(), 2u);
    EXPECT_EQ(s.Years[0].year, 2001);
    EXPECT_EQ(s.Years[0].t0_data, (std::vector<double>{60.0, -9999.0}));
    EXPECT_EQ(s.Years[1].t0_data, (std::vector<double>{61.5, 120.0}));
    // Empty lines at the end are no years.
    const TRSimInfo v = read_sim_infos(WriteFile("f.txt", "Year\tt0\n2001 60\n2002 61\n\n\n"));
    EXPECT_EQ(v.nb_phases, 1);
    ASSERT_EQ(v.Years.size(), 2u);
    EXPECT_EQ(v.Years[1].year, 2002);
    EXPECT_EQ(v.Years[1].t0_data, std::vector<double>{61.0});
}
