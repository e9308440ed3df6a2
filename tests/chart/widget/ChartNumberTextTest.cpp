#include "ChartNumberText.h"

#include <gtest/gtest.h>

TEST(ChartNumberText, FormatsAsTheAxisNumbersNeed) {
    struct Case {
        long double value;
        TFloatFormat format;
        int precision, digits;
        const char* expected;
    } cases[] = {
        {1.5L, TFloatFormat::ffFixed, 16, 3, "1.500"},
        {-10, TFloatFormat::ffFixed, 16, 3, "-10.000"},
        {0, TFloatFormat::ffFixed, 16, 3, "0.000"},
        {-0.0L, TFloatFormat::ffFixed, 16, 3, "0.000"},
        {-0.0001L, TFloatFormat::ffFixed, 16, 3, "0.000"},
        {0.0625L, TFloatFormat::ffFixed, 16, 3, "0.063"},
        {-0.0625L, TFloatFormat::ffFixed, 16, 3, "-0.063"},
        {0.1L * 3, TFloatFormat::ffFixed, 16, 3, "0.300"},
        {999.9996L, TFloatFormat::ffFixed, 16, 3, "1000.000"},
        {1e20L, TFloatFormat::ffFixed, 16, 3, "1E20"},
        {0.5L, TFloatFormat::ffGeneral, 16, 3, "0.5"},
        {-10, TFloatFormat::ffGeneral, 16, 3, "-10"},
        {0, TFloatFormat::ffGeneral, 16, 3, "0"},
        {0.0001L, TFloatFormat::ffGeneral, 16, 3, "0.0001"},
        {0.000001L, TFloatFormat::ffGeneral, 16, 3, "1E-006"},
        {1.25e17L, TFloatFormat::ffGeneral, 16, 0, "1.25E17"},
        {0.1L * 3, TFloatFormat::ffGeneral, 16, 3, "0.3"},
        {1234, TFloatFormat::ffExponent, 4, 2, "1.234E+03"},
        {-0.5L, TFloatFormat::ffExponent, 3, 0, "-5.00E-1"},
        {1234567.5L, TFloatFormat::ffNumber, 16, 2, "1,234,567.50"},
        {-999, TFloatFormat::ffNumber, 16, 0, "-999"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChartFloatToStrF(c.value, c.format, c.precision, c.digits), c.expected)
            << static_cast<double>(c.value) << " format " << static_cast<int>(c.format);
}
