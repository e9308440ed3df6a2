// The statistics behind the chart window: worked cases, polynomial fits far from the origin
// checked through the graph's own expression parser, and the fits that cannot be determined.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>

#include "MDParser10.h"
#include "StatisticsLibrary.h"

TEST(StatisticsLibrary, DescriptiveStatistics) {
    TDescriptiveStatistics s;
    EXPECT_EQ(s.MeanValue(), STAT_UNDEFINED);
    s.NextValue(7);
    EXPECT_EQ(s.StandardDeviation(), STAT_UNDEFINED);
    s.ResetValues();
    for (double v : {1.0, 2.0, 3.0, 4.0})
        s.NextValue(v);
    EXPECT_DOUBLE_EQ(s.MeanValue(), 2.5);
    EXPECT_DOUBLE_EQ(s.StandardDeviation(), std::sqrt(5.0 / 3.0));

    // Equal values whose sums leave a negative residue still give a deviation of 0.
    s.ResetValues();
    for (int i = 0; i < 3; ++i)
        s.NextValue(0.1);
    EXPECT_EQ(s.StandardDeviation(), 0.0);
}

TEST(StatisticsLibrary, LinearRegression) {
    TLinearRegression r;
    double a = 0, b = 0;
    r.NextValue(0, 1);
    EXPECT_EQ(r.CorrelationCoefficient(), STAT_UNDEFINED);
    r.GetLineCoefficients(a, b);
    EXPECT_EQ(a, STAT_UNDEFINED) << "one point has no slope";
    r.NextValue(1, 3);
    r.NextValue(2, 5);
    r.GetLineCoefficients(a, b);
    EXPECT_DOUBLE_EQ(a, 2);
    EXPECT_DOUBLE_EQ(b, 1);
    EXPECT_DOUBLE_EQ(r.CorrelationCoefficient(), 1);

    // Equal abscissas: no line; a constant series correlates as 1 only when nothing spreads.
    TLinearRegression same;
    for (double y : {1.0, 2.0, 4.0})
        same.NextValue(0.1, y);
    same.GetLineCoefficients(a, b);
    EXPECT_EQ(std::pair(a, b), std::pair(STAT_UNDEFINED, STAT_UNDEFINED));
    TLinearRegression flat;
    for (int i = 0; i < 3; ++i)
        flat.NextValue(2, 3);
    EXPECT_EQ(flat.CorrelationCoefficient(), 1.0);
    // Rounding leaves spreads a hair below 0: no root of a negative number, no fault.
    TLinearRegression tiny;
    for (int i = 0; i < 3; ++i)
        tiny.NextValue(0.1, 0.7);
    const double rt = tiny.CorrelationCoefficient();
    EXPECT_TRUE(rt == 1.0 || rt == STAT_UNDEFINED) << rt;
}

TEST(StatisticsLibrary, LineFitAndItsShortText) {
    TVeskPolyFit line;
    EXPECT_THROW(line.GetShortFormula(), std::logic_error);
    line.SetPower(1);
    line.NextValue(0, 1);
    line.NextValue(1, 3);
    line.NextValue(2, 5);
    ASSERT_EQ(line.GetCoefficients().size(), 2u); // the text needs the coefficients first
    EXPECT_EQ(line.GetShortFormula(), "\n(2.0000)*x+\n(1.0000)");
}

TEST(StatisticsLibrary, HighDegreesFarFromTheOriginReproduceThePoints) {
    // Polynomials given by their roots inside the sampled days 100..200.
    const std::vector<std::vector<double>> rootSets = {
        {110, 130, 160, 190}, {105, 120, 140, 150, 170, 195}, {102, 110, 120, 135, 150, 160, 175, 185, 198}};
    for (const auto& roots : rootSets) {
        SCOPED_TRACE("degree " + std::to_string(roots.size()));
        const auto poly = [&](double x) {
            double y = 3;
            for (double r : roots)
                y *= (x - r) / 50;
            return y;
        };
        TVeskPolyFit fit;
        fit.SetPower(static_cast<int>(roots.size()));
        double lo = 1e300, hi = -1e300;
        for (int x = 100; x <= 200; ++x) {
            fit.NextValue(x, poly(x));
            lo = std::min(lo, poly(x));
            hi = std::max(hi, poly(x));
        }
        const std::string formula = fit.GetFormula();
        TMDParser parser;
        ASSERT_TRUE(parser.ParseExpression(TMDParser::RemoveBlanks(formula))) << formula;
        double worst = 0;
        for (int x = 100; x <= 200; ++x) {
            parser.SetX(x);
            const double v = static_cast<double>(parser.CalcValue());
            ASSERT_FALSE(parser.CalcError());
            worst = std::max(worst, std::fabs(v - poly(x)));
        }
        EXPECT_LE(worst, 1e-6 * (hi - lo)) << formula;
    }
}

TEST(StatisticsLibrary, DegreePlusOneDistinctAbscissasDetermineTheFit) {
    // y = 1 - 2x + 3x^2 through three points; a line through two abscissas, one of them twice.
    struct Case {
        int power;
        std::vector<std::pair<double, double>> points;
        std::vector<double> coefficients;
    } cases[] = {{2, {{-1, 6}, {0, 1}, {1, 2}}, {1, -2, 3}}, {1, {{4, 1}, {6, 5}, {4, 1}}, {-7, 2}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("degree " + std::to_string(c.power));
        TVeskPolyFit fit;
        fit.SetPower(c.power);
        for (const auto& [x, y] : c.points)
            fit.NextValue(x, y);
        const std::vector<double> got = fit.GetCoefficients();
        ASSERT_EQ(got.size(), c.coefficients.size());
        for (size_t k = 0; k < got.size(); ++k)
            EXPECT_NEAR(got[k], c.coefficients[k], 1e-9) << k;
        EXPECT_TRUE(fit.Determined());
    }
}

TEST(StatisticsLibrary, UndeterminedFitsGiveTheSentinel) {
    struct Case {
        int power;
        std::vector<std::pair<double, double>> points;
    } cases[] = {{2, {}}, {2, {{150, 300}, {150, 300}, {151, 302}, {151, 302}}}, {1, {{4, 1}, {4, 2}}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.points.size()) + " points");
        TVeskPolyFit fit;
        fit.SetPower(c.power);
        for (const auto& [x, y] : c.points)
            fit.NextValue(x, y);
        EXPECT_EQ(fit.GetFormula(), "");
        EXPECT_FALSE(fit.Determined());
        for (double k : fit.GetCoefficients())
            EXPECT_EQ(k, STAT_UNDEFINED);
    }
}
