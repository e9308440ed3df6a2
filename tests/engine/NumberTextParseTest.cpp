#include <gtest/gtest.h>

#include "NumberText.h"
#include "OrvexError.h"

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

TEST(NumberTextParse, SettingsAcceptCommaOrPoint) {
    EXPECT_DOUBLE_EQ(SettingToFloat("1,25"), 1.25);
    EXPECT_DOUBLE_EQ(SettingToFloat("1.25"), 1.25);
    EXPECT_THROW(SettingToFloat("1;25"), EOrvexError);
    try {
        SettingToFloat("x");
    } catch (const EOrvexError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
    }
}
