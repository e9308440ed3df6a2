#include <gtest/gtest.h>

#include "OrvexError.h"
#include "RandomDistrib.h"

TEST(RandomDistrib, KnownAnswerAfter20000Draws) {
    TUniDistrib rd(12, 34, 56, 78);
    for (int k = 0; k < 20000; ++k)
        rd.newRandom();
    for (double expected : {6533892.0, 14220222.0, 7275067.0, 6172232.0, 8354498.0, 10633180.0})
        EXPECT_EQ(rd.newRandom() * 16777216.0, expected);
}

TEST(RandomDistrib, DrawnSeedsAreNeverZeroAndReplayTheStream) {
    for (int k = 0; k < 200; ++k) {
        TUniDistrib rd;
        for (int s = 0; s < 4; ++s) {
            ASSERT_GE(rd.seed(s), 1);
            ASSERT_LE(rd.seed(s), 99);
        }
        // Rebuilt from its seeds, it gives the same stream: a fit can be replayed.
        TUniDistrib again(rd.seed(0), rd.seed(1), rd.seed(2), rd.seed(3));
        for (int d = 0; d < 500; ++d) {
            const double x = rd.newRandom();
            ASSERT_EQ(x, again.newRandom());
            ASSERT_TRUE(x >= 0.0 && x < 1.0) << x;
        }
    }
}

TEST(RandomDistrib, SeedsOutOfRangeRaise) {
    const int bad[][4] = {{0, 34, 56, 78}, {12, 0, 56, 78}, {12, 34, 0, 78},
                          {12, 34, 56, 0}, {100, 1, 1, 1},  {-5, 1, 1, 1}};
    for (const auto& s : bad)
        EXPECT_THROW(TUniDistrib(s[0], s[1], s[2], s[3]), EOrvexError) << s[0] << s[1] << s[2] << s[3];
}
