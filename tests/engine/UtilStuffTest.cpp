#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ErrorText.h"
#include "UtilStuff.h"

TEST(Fisher, ComputesAndRefusesDivisionsByZero) {
    EXPECT_DOUBLE_EQ(Fisher(12.0, 10.0, 1, 21), (2.0 / 1) / (10.0 / 20));
    EXPECT_DOUBLE_EQ(Fisher(-12.0, -10.0, 2, 12), (2.0 / 2) / (10.0 / 10)); // magnitudes
    struct {
        double ssBest;
        int n, ntot;
    } bad[] = {{0.0, 1, 21}, {10.0, 21, 21}, {10.0, 0, 21}};
    for (const auto& b : bad) {
        const std::string msg = ErrorText([&] { Fisher(12.0, b.ssBest, b.n, b.ntot); });
        EXPECT_NE(msg.find("division by zero"), std::string::npos) << b.ssBest << " " << b.n << " " << msg;
    }
}

TEST(TabCells, SplitAtTabsOnlyAndCountAlike) {
    using Cells = std::vector<std::string_view>;
    struct {
        const char* text;
        Cells expected;
    } cases[] = {{"", {}},
                 {"a", {"a"}},
                 {"a b", {"a b"}},
                 {"a\tb\tc", {"a", "b", "c"}},
                 {"a\t", {"a", ""}},
                 {"\t", {"", ""}},
                 {" x \t\t1,5\r", {" x ", "", "1,5\r"}}};
    Cells reused = {"left over"};
    for (const auto& c : cases) {
        EXPECT_EQ(SplitTabCells(c.text), c.expected) << c.text;
        SplitTabCells(c.text, reused);
        EXPECT_EQ(reused, c.expected) << c.text;
        EXPECT_EQ(nbOfColumns(c.text), static_cast<int>(c.expected.size())) << c.text;
    }
}

TEST(LogIt, SilentUnlessDebugIsSet) {
    unsetenv("ORVEX_DEBUG");
    testing::internal::CaptureStderr();
    LogIt("quiet");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

    setenv("ORVEX_DEBUG", "1", 1);
    testing::internal::CaptureStderr();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int k = 0; k < 50; ++k)
                LogIt("line of a thread");
        });
    for (auto& t : threads)
        t.join();
    const std::string out = testing::internal::GetCapturedStderr();
    // Whole lines only, never interleaved.
    std::string expected;
    for (int k = 0; k < 200; ++k)
        expected += "line of a thread\n";
    EXPECT_EQ(out, expected);
    unsetenv("ORVEX_DEBUG");
}
