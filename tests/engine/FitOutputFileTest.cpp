#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "FileSizeLimit.h"
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

// The file as rewriting it at every pass leaves it.
struct Rewritten {
    std::string text;
    void Append(const std::string& t) { text += t; }
    void Insert(const std::vector<std::string>& rows, int leftOut, int nb) {
        auto L = SplitFileLines(text);
        InsertSummaryLines(L, rows, leftOut, nb);
        text.clear();
        for (const auto& line : L)
            text += line + "\r\n";
    }
};

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

// A full disk met when the buffered text is flushed at the close: the earlier file stays and the
// failure is raised. Each text stays below the stream's buffer, so its write succeeds.
TEST_F(FitOutputFileTest, AFullDiskAtTheCloseKeepsTheEarlierFile) {
    const std::string path = WriteFile("out.txt", "earlier");
    const std::vector<std::string> rows(30, std::string(30, 'x'));
    const auto full = [&](const std::function<void()>& write) {
        return WithFileSizeLimit(200, [&] {
            write();
            return std::string();
        });
    };
    const std::string tooLarge = std::strerror(EFBIG);
    // A whole-file rewrite, as of an output file whose header is still short.
    std::string error = full([&] { WriteLinesCRLF(path, rows); });
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": " + tooLarge); // the name the user knows
    EXPECT_EQ(ReadWholeFile(path), "earlier");
    // The output file, put together from its header and kept summaries at its end.
    error = full([&] {
        TFitOutputFile out;
        out.Create(path, "cannot create");
        out.Append(std::string(15, '\n'), "fail");
        out.InsertSummary(rows, -1, 1);
        out.Close();
        out.Commit();
    });
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": " + tooLarge);
    EXPECT_EQ(ReadWholeFile(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1); // no temporary file
}

// A text longer than the stream's buffer fails at its own write, which must give the system's
// reason: the stream's error flag alone no longer knows it at the close.
TEST_F(FitOutputFileTest, AFullDiskAtAWriteGivesTheReason) {
    const std::string path = WriteFile("Fisher_out.txt", "earlier");
    const std::string error = WithFileSizeLimit(200, [&] {
        TPendingFile file;
        file.Create(path, "cannot create");
        file.Write(std::string(1 << 16, 'x'));
        file.Commit();
        return std::string();
    });
    EXPECT_EQ(error, "Cannot write the file \"" + path + "\": " + std::strerror(EFBIG));
    EXPECT_EQ(ReadWholeFile(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1); // no temporary file
}

// The file keeps its summaries aside and puts itself together at the end; the result must be
// what rewriting the whole file at every pass gives, byte for byte.
TEST_F(FitOutputFileTest, SameBytesAsRewritingEveryPass) {
    std::mt19937 rng(17);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    // Text with every kind of line end, and sometimes none at its end.
    auto text = [&] {
        static const char* ends[] = {"\n", "\r\n", "\r", ""};
        std::string t;
        for (int i = 0, n = pick(6); i < n; ++i)
            t += "v" + std::to_string(pick(1000)) + "\tw" + ends[pick(4)];
        return t;
    };
    for (int trial = 0; trial < 30; ++trial) {
        const std::string path = P("out" + std::to_string(trial) + ".txt");
        TFitOutputFile out;
        out.Create(path, "cannot create");
        Rewritten expected;
        // Headers shorter and longer than the summaries' place.
        const int headerLines = trial % 3 == 0 ? 5 + pick(9) : 15 + pick(4);
        std::string header;
        for (int i = 0; i < headerLines; ++i)
            header += "h" + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
        out.Append(header, "fail");
        expected.Append(header);
        const int passes = 1 + pick(8);
        for (int p = 1; p <= passes; ++p) {
            for (int r = 0, n = 1 + pick(3); r < n; ++r) {
                const std::string t = text();
                out.Append(t, "fail");
                expected.Append(t);
            }
            std::vector<std::string> rows;
            for (int i = 0, n = pick(4); i < n; ++i)
                rows.push_back("row " + std::to_string(i));
            const int leftOut = trial % 2 ? p : -1;
            out.InsertSummary(rows, leftOut, passes + 1);
            expected.Insert(rows, leftOut, passes + 1);
        }
        const std::string tail = text();
        out.Append(tail, "fail");
        expected.Append(tail);
        out.Close();
        out.Commit();
        EXPECT_EQ(ReadWholeFile(path), expected.text) << "trial " << trial;
    }
}
