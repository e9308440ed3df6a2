#include "ChartNumberText.h"

#include <gtest/gtest.h>

TEST(ChartNumberText, FormatsAsTheAxisNumbersNeed) {
    constexpr TFloatFormat Fix = TFloatFormat::ffFixed, Gen = TFloatFormat::ffGeneral;
    struct Case {
        long double value;
        TFloatFormat format;
        int precision, digits;
        const char* expected;
    };
    // clang-format off
    const Case cases[] = {
        {1.5L, Fix, 16, 3, "1.500"}, {-10, Fix, 16, 3, "-10.000"}, {0, Fix, 16, 3, "0.000"},
        {-0.0L, Fix, 16, 3, "0.000"}, {-0.0001L, Fix, 16, 3, "0.000"}, {0.0625L, Fix, 16, 3, "0.063"},
        {-0.0625L, Fix, 16, 3, "-0.063"}, {0.1L * 3, Fix, 16, 3, "0.300"},
        {999.9996L, Fix, 16, 3, "1000.000"}, {1e20L, Fix, 16, 3, "1E20"}, {0.5L, Gen, 16, 3, "0.5"},
        {-10, Gen, 16, 3, "-10"}, {0, Gen, 16, 3, "0"},
        {0.0001L, Gen, 16, 3, "0.0001"}, {0.000001L, Gen, 16, 3, "1E-006"}, {1.25e17L, Gen, 16, 0, "1.25E17"},
        {0.1L * 3, Gen, 16, 3, "0.3"}, {1234, TFloatFormat::ffExponent, 4, 2, "1.234E+03"},
        {-0.5L, TFloatFormat::ffExponent, 3, 0, "-5.00E-1"},
        {1234567.5L, TFloatFormat::ffNumber, 16, 2, "1,234,567.50"},
        {-999, TFloatFormat::ffNumber, 16, 0, "-999"}};
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(ChartFloatToStrF(c.value, c.format, c.precision, c.digits), c.expected)
            << static_cast<double>(c.value) << " format " << static_cast<int>(c.format);
}
