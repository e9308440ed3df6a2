#include <gtest/gtest.h>

#include "NumberText.h"

TEST(NumberTextParse, PlainNumbersOnlyAndPrefixesEndWithTheNumber) {
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

    // A prefix stops where the number ends.
    EXPECT_EQ(ParseFloatPrefix("-2.5e1\t7", d), 6u);
    EXPECT_DOUBLE_EQ(d, -25.0);
    EXPECT_EQ(ParseFloatPrefix("+.5 ", d), 3u);
    EXPECT_EQ(ParseFloatPrefix("45,5", d), 2u); // the reader then sees ',' where a blank should be
    for (const char* bad : {"", " 1", "inf 1", "+-1", "1e999 2", "x"})
        EXPECT_EQ(ParseFloatPrefix(bad, d), 0u) << bad;

    EXPECT_EQ(ParseIntPrefix("2001.0", i), 4u);
    EXPECT_EQ(i, 2001);
    for (const char* bad : {"", "99999999999 1", "++1", "-"})
        EXPECT_EQ(ParseIntPrefix(bad, i), 0u) << bad;
}
