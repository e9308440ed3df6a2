#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>
#include <vector>

#include "ErrorText.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "OrvexRawTypes.h"
#include "UtilStuff.h"

namespace {

struct FormatCase {
    std::string what; // how the text was made, shown on failure
    std::string got;
    std::string expected;
};

TRVarInfo Digits(int b4, int after) {
    TRVarInfo v;
    v.b4_point = b4;
    v.after_point = after;
    return v;
}

// Every text format the engine writes, built when called so a locale switch takes effect.
std::vector<FormatCase> FormatTable() {
    return {
        // Fixed: ties away from zero on the 18-digit decimal text.
        {"fixed 2.5/15/0", FloatToStrFixed(2.5, 15, 0), "3"},
        {"fixed -2.5/15/0", FloatToStrFixed(-2.5, 15, 0), "-3"},
        {"fixed 0.125/15/2", FloatToStrFixed(0.125, 15, 2), "0.13"},
        {"fixed 2.675/15/2", FloatToStrFixed(2.675, 15, 2), "2.67"}, // 2.67499999999999998
        {"fixed 1.005/15/2", FloatToStrFixed(1.005, 15, 2), "1.00"},
        {"fixed 0.0005/15/3", FloatToStrFixed(0.0005, 15, 3), "0.001"},
        {"fixed 0.0004999/15/3", FloatToStrFixed(0.0004999, 15, 3), "0.000"},
        {"fixed 0.3/15/17", FloatToStrFixed(0.1 + 0.2, 15, 17), "0.30000000000000000"},
        {"fixed 123.456/15/1", FloatToStrFixed(123.456, 15, 1), "123.5"},
        {"fixed -9999/15/1", FloatToStrFixed(-9999.0, 15, 1), "-9999.0"},
        {"fixed 0/15/3", FloatToStrFixed(0.0, 15, 3), "0.000"},
        {"fixed -0/15/2", FloatToStrFixed(-0.0, 15, 2), "0.00"},
        {"fixed -0.001/15/2", FloatToStrFixed(-0.001, 15, 2), "0.00"},
        {"fixed 9.96/2/1", FloatToStrFixed(9.96, 2, 1), "10.0"},
        // Integer part longer than the precision: general form.
        {"fixed 25/1/0", FloatToStrFixed(25.0, 1, 0), "3E1"},
        {"fixed 12345.678/3/2", FloatToStrFixed(12345.678, 3, 2), "1.23E4"},
        {"fixed 99.96/2/1", FloatToStrFixed(99.96, 2, 1), "1E2"},
        {"fixed 1e20/15/2", FloatToStrFixed(1e20, 15, 2), "1E20"},
        {"fixed -1e20/15/2", FloatToStrFixed(-1e20, 15, 2), "-1E20"},
        // General.
        {"general 0.3", FloatToStrGeneral(0.1 + 0.2), "0.3"},
        {"general 1/3", FloatToStrGeneral(1.0 / 3.0), "0.333333333333333"},
        {"general 2/3", FloatToStrGeneral(2.0 / 3.0), "0.666666666666667"},
        {"general 2.675", FloatToStrGeneral(2.675), "2.675"},
        {"general 100", FloatToStrGeneral(100.0), "100"},
        {"general -1.5", FloatToStrGeneral(-1.5), "-1.5"},
        {"general -0", FloatToStrGeneral(-0.0), "0"},
        {"general 1e20", FloatToStrGeneral(1e20), "1E20"},
        {"general 1e15", FloatToStrGeneral(1e15), "1E15"},
        {"general 15 digits", FloatToStrGeneral(123456789012345.0), "123456789012345"},
        {"general 16 digits", FloatToStrGeneral(1234567890123456.0), "1.23456789012346E15"},
        {"general 1.5e-7", FloatToStrGeneral(1.5e-7), "1.5E-7"},
        {"general -1.5e-7", FloatToStrGeneral(-1.5e-7), "-1.5E-7"},
        {"general 1e-5", FloatToStrGeneral(0.00001), "0.00001"},
        {"general 1.5e-5", FloatToStrGeneral(0.000015), "0.000015"},
        {"general 9.9e-6", FloatToStrGeneral(0.0000099), "9.9E-6"},
        {"general 1e-300", FloatToStrGeneral(1e-300), "1E-300"},
        {"general max", FloatToStrGeneral(1.7976931348623157e308), "1.79769313486232E308"},
        {"general 2.5/1", FloatToStrGeneral(2.5, 1), "3"},
        {"general 0.95/1", FloatToStrGeneral(0.95, 1), "0.9"}, // 0.949999999999999956
        // Picture formats.
        {"0.# 2.25", FormatFloat("0.#", 2.25), "2.3"},
        {"0.# 2", FormatFloat("0.#", 2.0), "2"},
        {"0.# 123.45", FormatFloat("0.#", 123.45), "123.5"},
        {"0.# 182.96", FormatFloat("0.#", 182.96), "183"},
        {"0.# 0.04", FormatFloat("0.#", 0.04), "0"},
        {"0.# -0.04", FormatFloat("0.#", -0.04), "0"},
        {"0.# -9999", FormatFloat("0.#", -9999.0), "-9999"},
        {"0.# -12.35", FormatFloat("0.#", -12.35), "-12.3"}, // -12.3499999999999996
        {"0.000 2.5", FormatFloat("0.000", 2.5), "2.500"},
        {"0.000 1.0005", FormatFloat("0.000", 1.0005), "1.000"},
        {"0.000 0.0005", FormatFloat("0.000", 0.0005), "0.001"},
        {"0.000 -0.0004", FormatFloat("0.000", -0.0004), "0.000"},
        {"0.000 1234.5678", FormatFloat("0.000", 1234.5678), "1234.568"},
        {"0.000 -1.25", FormatFloat("0.000", -1.25), "-1.250"},
        {"0 2.5", FormatFloat("0", 2.5), "3"},
        {"0 3.5", FormatFloat("0", 3.5), "4"},
        {"0 -0.4", FormatFloat("0", -0.4), "0"},
        {"0.00 0.125", FormatFloat("0.00", 0.125), "0.13"},
        {"0.00 2.675", FormatFloat("0.00", 2.675), "2.67"},
        {"0.00 0.5", FormatFloat("0.00", 0.5), "0.50"},
        {"0.0# 1.5", FormatFloat("0.0#", 1.5), "1.5"},
        {"0.0# 1", FormatFloat("0.0#", 1.0), "1.0"},
        // Parameter display digits.
        {"my 2.5 2/5", myFloatToStr(2.5, Digits(2, 5)), "2.50000"},
        {"my 25 1/0", myFloatToStr(25.0, Digits(1, 0)), "3E1"},
        {"my 123.456 3/2", myFloatToStr(123.456, Digits(3, 2)), "123.46"},
        {"my -0.5 1/0", myFloatToStr(-0.5, Digits(1, 0)), "-1"},
        {"my 0.0123 1/3", myFloatToStr(0.0123, Digits(1, 3)), "0.012"},
        // Not finite; no picture.
        {"general inf", FloatToStrGeneral(std::numeric_limits<double>::infinity()), "INF"},
        {"fixed -inf", FloatToStrFixed(-std::numeric_limits<double>::infinity(), 15, 2), "-INF"},
        {"0.# nan", FormatFloat("0.#", std::numeric_limits<double>::quiet_NaN()), "NAN"},
        {"empty picture", FormatFloat("", 2.5), "2.5"},
    };
}

void ExpectTableHolds() {
    for (const FormatCase& c : FormatTable())
        EXPECT_EQ(c.got, c.expected) << c.what;
    EXPECT_THROW(FormatFloat("0.0E+00", 1.0), EOrvexError); // no exponent pictures

    // ',' input: data files refuse it, settings and model files take it.
    double d = 0.0;
    EXPECT_FALSE(TryParseFloat("1,5", d));
    EXPECT_TRUE(TryParseFloat("1.5", d));
    EXPECT_EQ(d, 1.5);
    for (const auto& [text, value] : {std::pair{"1,5", 1.5}, {"-0,25", -0.25}, {"2.75", 2.75}})
        EXPECT_EQ(SettingToFloat(text), value) << text;
    EXPECT_EQ(ErrorText([] { SettingToFloat("1;25"); }), "'1;25' is not a valid floating point value");
    for (const auto& [text, ok] : {std::pair{"1,5", true}, {"1.5", true}, {"1,5,0", false}})
        EXPECT_EQ(IsFloat(text), ok) << text;
    EXPECT_EQ(StrNormalizeFloat("1,5"), "1.5");
    EXPECT_EQ(StrNormalizeFloat("1.5"), "1.5");
    // A written number reads back the same.
    EXPECT_EQ(SettingToFloat(FloatToStrGeneral(0.1 + 0.2, 17)), 0.1 + 0.2);
}

} // namespace

TEST(NumberTextFormat, TablePinsEveryFormat) {
    ExpectTableHolds();
}

TEST(NumberTextFormat, TableHoldsUnderCommaLocale) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "locale de_DE.UTF-8 missing: run scripts/setup.sh";
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    ExpectTableHolds(); // its failures do not return early: the locale is always put back
    std::setlocale(LC_ALL, saved.c_str());
}
