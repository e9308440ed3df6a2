#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <ostream>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "FileSizeLimit.h"
#include "FitOutputFile.h"
#include "InputValidator.h"
#include "Inputs.h"
#include "ScratchDir.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace fs = std::filesystem;

namespace {

const fs::path DATA = fs::path(ORVEX_TEST_DATA) / "validator";

// One change to a clean file. Line numbers are those of the clean file; '|' stands for TAB.
struct Edit {
    enum Kind { Line, Cell, Insert, Delete } kind;
    int line;
    int cell; // Cell only
    std::string text;
};
Edit SetLine(int line, std::string text) {
    return {Edit::Line, line, 0, std::move(text)};
}
Edit SetCell(int line, int cell, std::string text) {
    return {Edit::Cell, line, cell, std::move(text)};
}
Edit InsertAt(int line, std::string text) {
    return {Edit::Insert, line, 0, std::move(text)};
}
Edit DeleteLine(int line) {
    return {Edit::Delete, line, 0, {}};
}

std::string Tabs(std::string s) {
    std::replace(s.begin(), s.end(), '|', '\t');
    return s;
}

std::string ApplyEdits(const std::string& clean, const std::vector<Edit>& edits, const std::string& eol) {
    auto lines = SplitFileLines(clean);
    // Every edit names a line of the clean file; lines inserted at one place keep their given order.
    std::vector<std::string> before(lines.size() + 1);
    std::vector<bool> deleted(lines.size());
    for (const Edit& e : edits) {
        const auto at = static_cast<std::size_t>(e.line - 1);
        switch (e.kind) {
        case Edit::Line:
            lines.at(at) = Tabs(e.text);
            break;
        case Edit::Insert:
            before.at(at) += Tabs(e.text) + eol;
            break;
        case Edit::Delete:
            deleted.at(at) = true;
            break;
        case Edit::Cell: {
            auto cells = SplitTabCells(lines.at(at));
            cells.at(static_cast<std::size_t>(e.cell)) = e.text;
            std::string joined;
            for (std::size_t i = 0; i < cells.size(); ++i)
                joined += (i ? "\t" : "") + std::string(cells[i]);
            lines.at(at) = joined;
            break;
        }
        }
    }
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += before[i] + (deleted[i] ? "" : lines[i] + eol);
    return out + before.back();
}

// A case is refused unless `ok`; its log is the golden file named after it unless `golden` is given.
struct Case {
    std::string name{};
    std::vector<Edit> pheno{}, fit{}, meteo{};
    bool ok = false;
    bool TRValidationSettings::*skip = nullptr; // the check whose box is ticked
    std::string eol = "\n";
    std::string golden{};
    std::string from{}, to{}; // one change to the golden log
};
// A case shows as its name wherever the test's parameter is printed.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// The three input files of a folder.
TRValidationSettings FilesIn(const fs::path& dir) {
    TRValidationSettings s;
    s.pheno_path = (dir / "pheno.txt").string();
    s.fit_path = (dir / "fit.txt").string();
    s.meteo_path = (dir / "meteo.txt").string();
    return s;
}
const TRValidationSettings CLEAN = FilesIn(DATA / "clean");

// Clean meteo lines: station 1 of 2000 on lines 2-367, station 1 of 2001 on 368-732,
// station 2 of 2001 on 733-1097. Columns: station, latitude, year, day, mean, min, max, rain.
const std::vector<Edit> LATITUDES = {SetCell(100, 1, "45.6"), SetCell(200, 1, "95"),
                                     SetCell(300, 1, "-9999")};
const Case CASES[] = {
    {.name = "clean", .ok = true},
    {.name = "clean_crlf", .ok = true, .eol = "\r\n", .golden = "clean"},
    {.name = "clean_cr", .ok = true, .eol = "\r", .golden = "clean"},
    // Phenology
    {.name = "pheno_header_columns", .pheno = {SetLine(1, "Station|Provenance|Year")}},
    {.name = "pheno_value_count", .pheno = {SetLine(3, "1|2|2000|97"), InsertAt(4, "")}},
    {.name = "pheno_not_integer",
     .pheno = {SetCell(2, 0, "1a"), SetCell(3, 1, "x"), SetCell(4, 2, "2001.0"), SetCell(5, 0, "b"),
               SetCell(5, 1, "c")}},
    {.name = "pheno_year_range", .pheno = {SetCell(2, 2, "0"), SetCell(5, 2, "3000")}},
    {.name = "pheno_station_order", .pheno = {SetCell(4, 0, "0"), SetCell(4, 3, "x")}},
    {.name = "pheno_year_order", .pheno = {SetCell(4, 2, "1999")}},
    {.name = "pheno_not_float", .pheno = {SetCell(2, 3, "95,5"), SetCell(2, 4, "abc"), SetCell(3, 4, "")}},
    {.name = "pheno_alignment",
     .pheno = {InsertAt(6, "2|1|2002|80|100"), InsertAt(6, "2|1|2003|80|100"), InsertAt(6, "2|1|2004|80|100"),
               InsertAt(6, "2|1|2005|8x|100"), InsertAt(6, "2|1|2006|80")}},
    {.name = "pheno_not_a_day",
     .pheno = {SetCell(2, 3, "1e300"), SetCell(3, 3, "367"), SetCell(4, 4, "-366"), SetCell(5, 3, "-365"),
               SetCell(5, 4, "366")}},
    // Fit information
    {.name = "fit_header_columns", .fit = {SetLine(1, "Station|Provenance")}},
    {.name = "fit_header_wide", .fit = {SetLine(1, "Station|Provenance|Year|Note")}},
    {.name = "fit_value_count", .fit = {SetLine(2, "1|1|2000|x"), SetCell(4, 0, "z")}},
    {.name = "fit_not_integer", .fit = {SetCell(2, 1, "p"), SetCell(3, 2, "2001a")}},
    {.name = "fit_unknown_station", .fit = {InsertAt(5, "3|1|2001")}},
    {.name = "fit_wrong_order", .fit = {SetLine(2, "1|1|2001"), SetLine(3, "1|1|2000")}},
    {.name = "fit_written_differently", .fit = {SetCell(3, 0, "01")}},
    {.name = "fit_last_row_twice", .fit = {InsertAt(5, "2|1|2001")}},
    // Climate
    {.name = "meteo_header_columns", .meteo = {SetLine(1, "Station|Latitude|Year|Day|Tmean|Tmin")}},
    {.name = "meteo_value_count", .meteo = {SetLine(11, "1|45.5|2000|10|5.0|1.0|9.0"), SetLine(21, "")}},
    {.name = "meteo_not_numbers",
     .meteo = {SetCell(3, 0, "x"), SetCell(4, 1, ""), SetCell(5, 2, "2000a"), SetCell(6, 3, "4.0"),
               SetCell(7, 4, "abc"), SetCell(8, 7, "1,5")}},
    {.name = "meteo_first_day", .meteo = {DeleteLine(2)}},
    {.name = "meteo_year_start", .meteo = {DeleteLine(368)}},
    {.name = "meteo_year_end", .meteo = {DeleteLine(367)}},
    {.name = "meteo_last_day", .meteo = {DeleteLine(1097)}},
    {.name = "meteo_station_order", .meteo = {SetCell(800, 0, "1")}},
    {.name = "meteo_year_order", .meteo = {SetCell(500, 2, "1999")}},
    {.name = "meteo_day_increment", .meteo = {DeleteLine(12)}},
    {.name = "meteo_day_at_int_end", .meteo = {SetCell(11, 3, "2147483647")}},
    {.name = "meteo_latitude", .meteo = LATITUDES},
    {.name = "meteo_temperature_range",
     .meteo = {SetCell(20, 4, "60"), SetCell(30, 5, "-60"), SetCell(40, 6, "75.5"), SetCell(50, 4, "-9999"),
               SetCell(60, 4, "61"), SetCell(60, 5, "-70")}},
    {.name = "meteo_tmin_above_tmax", .meteo = {SetCell(20, 5, "20")}},
    {.name = "meteo_tmean_outside", .meteo = {SetCell(30, 4, "10")}},
    {.name = "meteo_pheno_unmatched", .pheno = {InsertAt(5, "1|1|2002|90|-9999")}},
    {.name = "meteo_extra_station_year",
     .pheno = {DeleteLine(2), DeleteLine(3)},
     .fit = {DeleteLine(2)},
     .ok = true},
    // A skipped check drops its own lines only: the log is another case's, with one line changed.
    {.name = "meteo_latitude_skipped",
     .meteo = LATITUDES,
     .ok = true,
     .skip = &TRValidationSettings::skip_lat,
     .golden = "clean",
     .from = "0\t{LATITUDE}",
     .to = "1\t{LATITUDE}"},
    {.name = "meteo_tmin_above_tmax_skipped",
     .meteo = {SetCell(20, 5, "20")},
     .skip = &TRValidationSettings::skip_tminmax,
     .golden = "meteo_tmin_above_tmax",
     .from = "Wrong Temperatures : \"20\" is not less or equal to \"-1.2\".",
     .to = "Wrong mean Temperature : \"-3.95\" (expected between \"20\" and \"-1.2\"."},
    {.name = "meteo_tmean_outside_skipped",
     .meteo = {SetCell(30, 4, "10")},
     .ok = true,
     .skip = &TRValidationSettings::skip_tmean,
     .golden = "clean"},
};

class ValidatorGolden : public ScratchDirTest, public testing::WithParamInterface<Case> {
protected:
    // The clean files with the case's edits, in the test's folder.
    TRValidationSettings Materialise(const Case& c) const {
        const char* names[] = {"pheno.txt", "fit.txt", "meteo.txt"};
        const std::vector<Edit>* edits[] = {&c.pheno, &c.fit, &c.meteo};
        for (int i = 0; i < 3; ++i)
            WriteFile(names[i], ApplyEdits(ReadWholeFile(DATA / "clean" / names[i]), *edits[i], c.eol));
        TRValidationSettings s = FilesIn(dir_);
        if (c.skip) s.*c.skip = true;
        return s;
    }
};
using InputValidator = ScratchDirTest;

TEST_P(ValidatorGolden, WritesExpectedLog) {
    const Case& c = GetParam();
    const std::string log = P("Log/Error/errlog.txt"); // its folders are made as needed
    // The validator is a temporary: its log is closed before it is read.
    EXPECT_EQ(TInputValidator(Materialise(c), log).Validate(), c.ok);
    std::string golden = ReadWholeFile(DATA / "expected" / ((c.golden.empty() ? c.name : c.golden) + ".txt"));
    if (!c.from.empty()) golden.replace(golden.find(c.from), c.from.size(), c.to);
    EXPECT_EQ(ReadWholeFile(log), golden) << "actual log: " << log;
}

INSTANTIATE_TEST_SUITE_P(Files, ValidatorGolden, testing::ValuesIn(CASES),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST_F(InputValidator, UnopenableFilesAreNamed) {
    // A folder is no input file either.
    for (const std::string& bad : {P("nowhere.txt"), dir_.string()}) {
        for (auto path : {&TRValidationSettings::pheno_path, &TRValidationSettings::fit_path,
                          &TRValidationSettings::meteo_path}) {
            TRValidationSettings s = CLEAN;
            s.*path = bad;
            const std::string msg = ErrorText([&] { TInputValidator(s, P("errlog.txt")); });
            EXPECT_NE(msg.find(bad), std::string::npos) << msg;
        }
    }
    // Nor can a log be made in a folder that is a plain file.
    WriteFile("plain", "x");
    const std::string log = P("plain/errlog.txt");
    EXPECT_EQ(ErrorText([&] { TInputValidator(CLEAN, log); }),
              "The given error file \"" + log + "\" doesn't exist,\nor is already in use.");
}

// A log that cannot be written whole, on a full disk, leaves the earlier one as it was.
TEST_F(InputValidator, AFullDiskKeepsTheEarlierLog) {
    const std::string log = WriteFile("errlog.txt", "earlier");
    const std::string error =
        WithFileSizeLimit(300, [&] { return std::to_string(TInputValidator(CLEAN, log).Validate()); });
    EXPECT_EQ(error, "Unable to write the error file \"" + log + "\".");
    EXPECT_EQ(ReadWholeFile(log), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 1); // no temporary file
}

// Progress runs up to the climate file's size; a stopped run ends without a report.
TEST_F(InputValidator, PauseHoldsUntilResumedOrStopped) {
    const auto size = static_cast<std::int64_t>(fs::file_size(CLEAN.meteo_path));
    for (bool resume : {true, false}) {
        const std::string log = P(resume ? "resumed.txt" : "stopped.txt");
        {
            TInputValidator v(CLEAN, log);
            v.Pause();
            auto run = std::async(std::launch::async, [&v] { return v.Validate(); });
            EXPECT_EQ(run.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
            EXPECT_EQ(v.dataSize(), size);
            EXPECT_EQ(v.dataProgress(), 0);
            resume ? v.Resume() : v.Stop();
            EXPECT_EQ(run.get(), resume);
            EXPECT_EQ(v.Stopped(), !resume);
            EXPECT_EQ(v.dataProgress(), resume ? size : 0);
        }
        EXPECT_EQ(ReadWholeFile(log).find("STATISTICS REPORT") != std::string::npos, resume);
    }
}

// What the validator accepts, the readers must read: a file passing validation and then
// failing to load would stop a fit after the user was told the inputs are fine. The validator
// accepts the clean files in the golden table, and refuses phenology rows without climate data.
TEST(ValidatorAndReaders, AcceptedFilesLoad) {
    TRPhenoInfos pheno = read_pheno_infos(CLEAN.pheno_path);
    EXPECT_GT(read_fit_infos(CLEAN.fit_path).nb_fit(), 0);
    TWeather weather;
    weather.LoadAndPheno(CLEAN.meteo_path, pheno);
    ASSERT_EQ(pheno.tabWeatherIdx.size(), pheno.tabPheno.size());
    EXPECT_EQ(std::count(pheno.tabWeatherIdx.begin(), pheno.tabWeatherIdx.end(), -1), 0);
}

} // namespace
