#include <gtest/gtest.h>

#include "NumberText.h"

TEST(NumberTextParse, AcceptsPlainNumbersOnly) {
    double d = 0;
    EXPECT_TRUE(TryParseFloat("1.5", d));
    EXPECT_DOUBLE_EQ(d, 1.5);
    EXPECT_TRUE(TryParseFloat("-2e3", d));
    EXPECT_DOUBLE_EQ(d, -2000.0);
    EXPECT_TRUE(TryParseFloat("+.5", d));
    EXPECT_DOUBLE_EQ(d, 0.5);
    for (const char* bad : {"", "1,5", "abc", "1.5x", " 1", "inf", "nan", "+-1", "-", "0x10"})
        EXPECT_FALSE(TryParseFloat(bad, d)) << bad;

    int i = 0;
    EXPECT_TRUE(TryParseInt("-9999", i));
    EXPECT_EQ(i, -9999);
    for (const char* bad : {"", "1.0", "99999999999", "12a"})
        EXPECT_FALSE(TryParseInt(bad, i)) << bad;
}
