#include <gtest/gtest.h>

#include "FitOutputFile.h"
#include "OrvexError.h"
#include "ScratchDir.h"

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

// An earlier file staying until the new one is complete is checked through a stopped fit.
TEST_F(FitOutputFileTest, FailuresNameTheFile) {
    TFitOutputFile f;
    EXPECT_THROW(f.Create("/nonexistent_dir_orvex/out.txt", "Output file cannot be created"), EOrvexError);
    EXPECT_THROW(f.Create(dir_.string(), "a folder is no output file"), EOrvexError);
    EXPECT_THROW(ReadWholeFile("/nonexistent_dir_orvex/x.txt"), EOrvexError);
    try {
        WriteLinesCRLF("/nonexistent_dir_orvex/x.txt", {"a"});
        FAIL();
    } catch (const EOrvexError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent_dir_orvex/x.txt"), std::string::npos);
    }
}
