#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FitOutputFile.h"
#include "OrvexError.h"
#include "ScratchDir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Header15() {
    std::vector<std::string> L;
    for (int i = 0; i < 15; ++i)
        L.push_back("h" + std::to_string(i));
    return L;
}

using FitOutputFileTest = ScratchDirTest;

} // namespace

TEST(FitOutputFile, LinesEndAtLfAndLoseEveryCr) {
    const struct {
        const char* text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"]\n\rstation\n", {"]", "station"}},
        {"x\ry", {"xy"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitFileLines(c.text), c.lines) << c.text;
}

TEST(FitOutputFile, SummaryGoesAfterTheHeaderWithItsBanners) {
    const std::vector<std::string> S = {"Repetition\t1", "SSres\t2"};
    const std::string fits = "#######################  FITS SUMMARY TABLES  ########################";
    const std::string inter = "#####################  INTERMEDIATE COMPUTINGS  ######################";
    const std::string hashes(70, '#');

    // The golden fit files hold the plain and left-out summaries. Two fit lines: the first pass
    // is also the one before last, so both banners.
    auto L = Header15();
    InsertSummaryLines(L, S, 1, 2);
    std::vector<std::string> expected = Header15();
    expected.insert(expected.begin() + 14,
                    {hashes, fits, hashes, "", "", "SUMMARY TABLE OF ALL REPETITIONS\t[ Left fit : 1 ]", "",
                     "Repetition\t1", "SSres\t2", "", "", hashes, inter, hashes, ""});
    EXPECT_EQ(L, expected);

    L = {"a", "b"}; // short file: before its last line
    InsertSummaryLines(L, {}, -1, 1);
    EXPECT_EQ(L, (std::vector<std::string>{"a", "SUMMARY TABLE OF ALL REPETITIONS", "", "", "b"}));
}

TEST_F(FitOutputFileTest, AnEarlierFileStaysUntilTheNewOneIsComplete) {
    const std::string path = P("out.txt");
    std::ofstream(path) << "earlier";
    {
        TFitOutputFile f;
        f.Create(path, "cannot create");
        f.Append("header\n", "append failed");
        f.InsertSummary({"Repetition\t1"}, -1, 1);
        EXPECT_EQ(ReadWholeFile(path), "earlier");
    } // dropped without Commit, like a stopped fit
    EXPECT_EQ(ReadWholeFile(path), "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    TFitOutputFile f;
    EXPECT_THROW(f.Create(dir_.string(), "a folder is no output file"), EOrvexError);
}

TEST(FitOutputFile, FailuresNameTheFile) {
    TFitOutputFile f;
    EXPECT_THROW(f.Create("/nonexistent_dir_orvex/out.txt", "Output file cannot be created"), EOrvexError);
    EXPECT_THROW(ReadWholeFile("/nonexistent_dir_orvex/x.txt"), EOrvexError);
    try {
        WriteLinesCRLF("/nonexistent_dir_orvex/x.txt", {"a"});
        FAIL();
    } catch (const EOrvexError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent_dir_orvex/x.txt"), std::string::npos);
    }
}
