#include "ChartTicks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(ChartTicks, StepIsTenThousandOverTwoFiveSequence) {
    struct Case {
        long double n, step;
    } cases[] = {{0, 10000}, {2, 10000}, {3, 5000},  {10, 5000},   {11, 1000},
                 {21, 500},  {769, 50},  {11538, 1}, {20001, 0.5L}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(static_cast<double>(TickStepForCount(c.n)), static_cast<double>(c.step))
            << static_cast<double>(c.n);
    // View of 20 units, 300 pixels, text 13 high.
    EXPECT_EQ(TickCount(300, 20, 13), 11538);
    EXPECT_EQ(TickCount(20, 20, 13), 769);
    EXPECT_EQ(TickCount(300, 20, 0), 0) << "no label size, no division";
}

TEST(ChartTicks, TicksByIndexWithExactZeroAndABound) {
    const auto t = TickValues(-10, 10, 1);
    ASSERT_EQ(t.size(), 22u);
    EXPECT_EQ(t.front(), -11); // left of the view: the caller skips it
    EXPECT_EQ(t[11], 0);
    EXPECT_FALSE(std::signbit(t[11]));
    EXPECT_EQ(t.back(), 10);

    const auto tenth = TickValues(-1, 1, 0.1L);
    EXPECT_NE(std::find(tenth.begin(), tenth.end(), 0.0L), tenth.end()) << "zero is exact, not 1e-17";

    EXPECT_EQ(TickValues(5, 20, 5).front(), 10) << "a positive multiple bound is not itself a tick";
    EXPECT_EQ(TickValues(0, 20, 5).front(), -5);

    EXPECT_EQ(TickValues(-1, 1, 1e-9L).size(), 10000u) << "a tiny step is bounded";
    EXPECT_LE(TickValues(1e30L, 1e30L + 1e15L, 1).size(), 3u) << "an index that no longer grows ends";
    EXPECT_TRUE(TickValues(0, 1, 0).empty());
}

TEST(ChartTicks, TooFewTicksGetAFinerStepWhereTheLabelsFit) {
    // A response over -26 .. 46 on 340 pixels: a step of 50 leaves the view only 0.
    const long double ppu = 340 / 71.64L;
    EXPECT_EQ(ReadableStep(50, -25.97L, 45.67L, ppu, 50), 20);
    EXPECT_EQ(ReadableStep(50, -25.97L, 45.67L, ppu, 150), 50) << "the finer labels would overlap";
    EXPECT_EQ(ReadableStep(5, 100.12L, 100.28L, 1000, 20), 0.05L) << "down the 5, 2, 1 sequence";
    EXPECT_EQ(ReadableStep(1, -10, 10, 15, 13), 1) << "enough ticks already";
    EXPECT_EQ(ReadableStep(10000, 0, 1, 0, 13), 10000) << "no pixels, nothing to fit";
}
