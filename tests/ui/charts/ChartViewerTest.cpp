// Dates charts and function charts of a real repetition: the plotted points, the view, the
// regressions checked through the graph's own parser, the legend's texts and the colours.

#include <algorithm>
#include <cmath>
#include <random>
#include <stdexcept>

#include <QTextEdit>

#include "ChartColors.h"
#include "ChartViewer.h"
#include "MDParser10.h"
#include "NumberText.h"
#include "RepetitionFixture.h"
#include "SeriesColors.h"
#include "ZoreRuzez.h"
#include "ZoreRuzezLegend.h"

namespace {

class TFakeMgr : public IChartMgrForm {
public:
    void RemoveChart(IChartForm* c) override { removed.push_back(c); }
    std::vector<IChartForm*> removed;
};

double Eval(const std::string& formula, double x) {
    TMDParser parser;
    EXPECT_TRUE(parser.ParseExpression(TMDParser::RemoveBlanks(formula))) << formula;
    parser.SetX(x);
    return static_cast<double>(parser.CalcValue());
}

// The points a dates chart must show for ordinate column `col`, computed from the rows.
struct Expected {
    std::vector<TPoint2D> points, inRowOrder;
    double minX = 9999, maxX = -9999, minY = 9999, maxY = -9999;
    int missing = 0;
};

Expected ExpectedPoints(const std::vector<TRRawData>& rows, const std::vector<int>& cols, size_t ordinate,
                        bool usedOnly) {
    Expected e;
    double offset = 0;
    for (const TRRawData& row : rows) {
        if (usedOnly && !row.used_to_fit) continue;
        const double x = row.data_row[0];
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
        for (size_t j = 1; j < cols.size(); ++j) {
            offset += 1e-6;
            const double y = row.data_row[static_cast<size_t>(cols[j])];
            if (y == -9999) {
                e.missing += j == ordinate;
                continue;
            }
            e.minY = std::min(e.minY, y);
            e.maxY = std::max(e.maxY, y);
            if (j == ordinate) e.points.push_back({x + offset, y});
        }
    }
    e.inRowOrder = e.points;
    std::sort(e.points.begin(), e.points.end(),
              [](const TPoint2D& a, const TPoint2D& b) { return a.X < b.X; });
    return e;
}

// The information text of a data series, from its plotted values.
std::string StatisticsText(const std::vector<TPoint2D>& points) {
    double lo = 1e308, hi = -1e308, sum = 0;
    for (const TPoint2D& p : points) {
        lo = std::min(lo, static_cast<double>(p.Y));
        hi = std::max(hi, static_cast<double>(p.Y));
        sum += static_cast<double>(p.Y);
    }
    const double n = static_cast<double>(points.size()), mean = sum / n;
    double squares = 0;
    for (const TPoint2D& p : points)
        squares += (static_cast<double>(p.Y) - mean) * (static_cast<double>(p.Y) - mean);
    const auto f = [](double v) { return FloatToStrFixed(v, 8, 4); };
    return "Plots Count : " + std::to_string(points.size()) + "\nMin Value : " + f(lo) +
           "\nMax Value : " + f(hi) + "\nSum : " + f(sum) + "\nMean Value : " + f(mean) +
           "\n\nDeviation : " + f(std::sqrt(squares / (n - 1)));
}

using ChartView = RepetitionFixture;

} // namespace

TEST_F(ChartView, DatesChartPlotsEveryRowApartAndFramesThem) {
    TFakeMgr mgr;
    TRChartDOptions o;
    const std::vector<int> cols{0, 1, 2};
    auto* chart = new TChartView(&mgr, Rep().rawDataHeader, Rep().simResultsAsRaw, cols, o);
    TSeries& s = chart->ZoreRuzez1->Series();
    ASSERT_EQ(s.Count(), 2);

    // The view frames every column's values, so the bounds are the same for either ordinate.
    Expected e;
    int missing = 0;
    for (size_t j = 1; j <= 2; ++j) {
        e = ExpectedPoints(Rep().simResultsAsRaw, cols, j, false);
        const TPoints& p = s.Series(static_cast<int>(j - 1));
        ASSERT_EQ(p.Count(), static_cast<int>(e.points.size()));
        for (int i = 0; i < p.Count(); ++i) {
            EXPECT_NEAR(static_cast<double>(p.Points(i).X), e.points[static_cast<size_t>(i)].X, 1e-9);
            EXPECT_EQ(static_cast<double>(p.Points(i).Y), e.points[static_cast<size_t>(i)].Y);
        }
        missing += e.missing;
    }
    EXPECT_GT(missing, 0) << "the example has rows without an observation";
    const TRect2D& v = chart->ZoreRuzez1->VisRect();
    const double mx = (e.maxX - e.minX) / 10, my = (e.maxY - e.minY) / 10;
    for (const auto& [got, want] :
         {std::pair{v.X1, e.minX - mx}, {v.X2, e.maxX + mx}, {v.Y1, e.minY - my}, {v.Y2, e.maxY + my}})
        EXPECT_NEAR(static_cast<double>(got), want, 1e-9);

    // Nothing is picked until the user picks a row; then the box shows that row's statistics.
    EXPECT_EQ(chart->EGLegendList1->ItemIndex(), -1);
    chart->EGLegendList1->SetItemIndex(1);
    chart->EGLegendList1Click();
    EXPECT_EQ(chart->InfosEdit1->toPlainText().toStdString(), chart->LegendInfo(1));
    EXPECT_EQ(chart->LegendInfo(1), StatisticsText(e.points));

    // A name without the lower-case extension gets it.
    QTemporaryDir out;
    dialogs.fileAnswer = out.path() + "/view.BMP";
    chart->Button1Click();
    EXPECT_TRUE(QFile::exists(out.path() + "/view.BMP.bmp"));

    chart->close();
    EXPECT_EQ(mgr.removed, std::vector<IChartForm*>{chart});
}

TEST_F(ChartView, RegressionsAreLeastSquaresAndKeepTheColours) {
    TFakeMgr mgr;
    TRChartDOptions o;
    o.draw_used_to_fit_only = true;
    o.draw_lin_reg = true;
    const std::vector<int> cols{0, 1, 2};
    auto* chart = new TChartView(&mgr, Rep().rawDataHeader, Rep().simResultsAsRaw, cols, o);
    const std::vector<TColor> colours = chart->SeriesColors();
    TSeries& s = chart->ZoreRuzez1->Series();
    ASSERT_EQ(s.Count(), 4);
    const Expected e = ExpectedPoints(Rep().simResultsAsRaw, cols, 2, true);
    double mx = 0, my = 0;
    for (const TPoint2D& p : e.points) {
        mx += static_cast<double>(p.X) / e.points.size();
        my += static_cast<double>(p.Y) / e.points.size();
    }
    // The least-squares line passes through the centre of its points.
    const TPoints& line = s.Series(3);
    EXPECT_NEAR(Eval(line.Func(), mx), my, 1e-6);
    const std::string lin = chart->LegendInfo(3);
    ASSERT_EQ(lin.rfind("Formula : \ny=" + line.Func() + "\n\nR\xC2\xB2 : ", 0), 0u) << lin;
    double r2 = -1;
    EXPECT_TRUE(TryParseFloat(lin.substr(lin.rfind(' ') + 1), r2)) << lin;
    EXPECT_TRUE(r2 >= 0 && r2 <= 1) << r2;

    // A polynomial's residuals sum to zero.
    o.draw_lin_reg = false;
    o.draw_pow_reg = true;
    o.pow_num = 3;
    chart->UpdateOptions(o);
    ASSERT_EQ(s.Count(), 4);
    const TPoints& poly = s.Series(3);
    double residual = 0, spread = e.maxY - e.minY;
    for (const TPoint2D& p : e.points)
        residual += static_cast<double>(p.Y) - Eval(poly.Func(), static_cast<double>(p.X));
    EXPECT_LE(std::fabs(residual), 1e-6 * spread * e.points.size());
    // The regression's row tells its formula, the data row its own points' statistics.
    TVeskPolyFit same;
    same.SetPower(3);
    for (const TPoint2D& p : e.inRowOrder)
        same.NextValue(static_cast<double>(p.X), static_cast<double>(p.Y));
    same.GetCoefficients();
    EXPECT_EQ(chart->LegendInfo(3), "Formula : \ny=" + same.GetShortFormula());
    EXPECT_EQ(chart->LegendInfo(2), StatisticsText(e.points));

    EXPECT_EQ(chart->SeriesColors(), colours);
    for (int i = 0; i < s.Count(); ++i)
        EXPECT_EQ(s.Series(i).Color(), colours[static_cast<size_t>(i / 2)]) << i;
    for (TColor c : colours)
        EXPECT_TRUE(VisibleOn(c, ColorToRGB(chart->ZoreRuzez1->ColorBg())));
    delete chart;
}

TEST_F(ChartView, BadDataIsRefusedWithTheWindowsMessages) {
    TFakeMgr mgr;
    const TRChartDOptions o;
    const auto message = [](const auto& make) {
        try {
            make();
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { TChartView(&mgr, "GDD", {1.0, 2.0}, {1.0}, o); }), "Data Malformed !");
    EXPECT_EQ(message([&] { TChartView(&mgr, "GDD", {}, {}, o); }),
              "Data are not consistent enought for Chart Rendering > \nNo data rows found !");
}

TEST(SeriesColors, RandomColoursStandOutFromLightAndDarkBackgrounds) {
    std::mt19937 random(7);
    for (const QRgb bg : {qRgb(240, 240, 240), qRgb(20, 20, 20), qRgb(120, 120, 120)})
        for (int i = 0; i < 200; ++i)
            EXPECT_TRUE(VisibleOn(RandomSeriesColor(random, bg), bg));
    EXPECT_FALSE(VisibleOn(0xF0F0F0, qRgb(240, 240, 240)));
    EXPECT_TRUE(VisibleOn(0x646464, qRgb(0, 0, 0)));  // 3.5 : 1
    EXPECT_FALSE(VisibleOn(0x505050, qRgb(0, 0, 0))); // 2.6 : 1
}
