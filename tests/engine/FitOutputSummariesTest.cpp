// The fit output file keeps its summaries aside and puts itself together at the end; the
// result must be what rewriting the whole file at every pass gives, byte for byte.

#include <gtest/gtest.h>

#include <random>

#include "FitOutputFile.h"
#include "ScratchDir.h"

namespace {

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

} // namespace

using FitOutputSummaries = ScratchDirTest;

TEST_F(FitOutputSummaries, SameBytesAsRewritingEveryPass) {
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
