// Pixel checks of rendered pictures against positions computed from the mapping and font
// metrics (no reference pictures).

#include "ChartCanvas.h"
#include "GraphTestSupport.h"
#include "MDParser10.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace {

constexpr TColor kGreen = 0x00C000;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kMagenta = 0xFF00FF;

bool Is(const QImage& img, int x, int y, TColor c) {
    return x >= 0 && y >= 0 && x < img.width() && y < img.height() && img.pixel(x, y) == ColorToRGB(c);
}

int CountColor(const QImage& img, TColor c, int left = 0, int top = 0, int right = -1, int bottom = -1) {
    if (right < 0) right = img.width();
    if (bottom < 0) bottom = img.height();
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            n += Is(img, x, y, c) ? 1 : 0;
    return n;
}

} // namespace

TEST(ZoreRuzezRender, GradientStepsAndAMissingPictureFallsBackToSolid) {
    TZoreRuzez g;
    MakeBare(g, 60, 100);
    g.SetColorBg2(clBlack);
    g.SetBgStyle(TBgStyle::bgsLineHoriz);
    const QImage& img = g.Picture();
    EXPECT_EQ(img.pixel(5, 0), ColorToRGB(clWhite));
    EXPECT_EQ(qRed(img.pixel(5, 50)), 127);
    EXPECT_EQ(qGreen(img.pixel(59, 50)), 127) << "the whole line";
    EXPECT_EQ(qBlue(img.pixel(5, 99)), 2);

    g.SetBgStyle(TBgStyle::bgsImageTile);
    g.Picture();
    g.SetColorBg(kGreen);
    EXPECT_EQ(CountColor(g.Picture(), kGreen), 60 * 100);
}

// The pixels of `text` in the number colour when drawn alone on the background.
int Ink(const TZoreRuzez& g, const QString& text) {
    QImage alone(400, 100, QImage::Format_RGB32);
    alone.fill(ColorToRGB(clWhite));
    TChartCanvas canvas(alone, g.font());
    canvas.TextOut(10, 10, text, ColorToRGB(kMagenta));
    return CountColor(alone, kMagenta);
}

TEST(ZoreRuzezRender, AxesGridAndWholeNumbersSitOnTheirTicks) {
    TZoreRuzez g;
    g.resize(300, 320);
    g.SetColorBg(clWhite);
    g.SetColorAxis(kBlue);
    g.SetColorGrid(kGreen);
    g.SetColorNumb(kMagenta);
    const QImage& img = g.Picture();
    const TPixelRect p = g.GraphRect();
    const QFontMetrics fm(g.font(), const_cast<QImage*>(&img));
    const int h = p.Bottom - p.Top, w = p.Right - p.Left, textH = fm.height();
    const int axisRow = p.Bottom - static_cast<int>(std::trunc(10.0L * h / 20));
    const int axisCol = p.Left + static_cast<int>(std::trunc(10.0L * w / 20));
    // Vertical grid lines are drawn after the horizontal ones and cross them.
    for (int x = p.Left; x <= p.Right; ++x)
        EXPECT_TRUE(Is(img, x, axisRow, kBlue) || Is(img, x, axisRow, kGreen)) << x;
    for (int y = p.Top; y <= p.Bottom; ++y)
        EXPECT_TRUE(Is(img, axisCol, y, kBlue)) << y;
    // The step is 1 or more: the tick 5 is a grid line.
    const int row5 = p.Bottom - static_cast<int>(std::trunc(15.0L * h / 20));
    EXPECT_TRUE(Is(img, p.Left + 3, row5, kGreen));
    // "0.000" right-aligned 3 pixels left of the plot, centred on the axis row.
    const int zeroW = fm.horizontalAdvance("0.000"), top = axisRow - textH / 2;
    EXPECT_GT(CountColor(img, kMagenta, p.Left - zeroW - 3, top, p.Left - 3, top + textH), 0);
    EXPECT_EQ(CountColor(img, kMagenta, p.Left - 3, 0, p.Left, p.Bottom + 1), 0);

    const QString low = "-10.000", high = "10.000";
    const int lowW = fm.horizontalAdvance(low), highW = fm.horizontalAdvance(high);
    const auto inkIn = [&](int left, int top, int w) {
        return CountColor(img, kMagenta, left, top, left + w, top + textH);
    };
    // Under the plot: the first number centred on its tick, the last one pulled inside.
    EXPECT_EQ(inkIn(p.Left - lowW / 2, p.Bottom + 4, lowW), Ink(g, low));
    EXPECT_EQ(inkIn(300 - 1 - highW, p.Bottom + 4, highW), Ink(g, high));
    // Left of the plot: the top number below the control's edge, the bottom one above the plot's.
    EXPECT_EQ(inkIn(p.Left - highW - 3, 0, highW), Ink(g, high));
    EXPECT_EQ(inkIn(p.Left - lowW - 3, p.Bottom - textH, lowW), Ink(g, low));

    // Numbers wider than the usual room widen the margin instead of losing their first digits.
    g.SetVisRect(Rect2D(-10, -123456789, 10, -123456780));
    g.SetFloatFormatting(TFloatFormat::ffGeneral);
    const QImage& wide = g.Picture();
    const QString big = "-123456780";
    EXPECT_GE(g.GraphRect().Left, fm.horizontalAdvance(big) + 4);
    EXPECT_EQ(CountColor(wide, kMagenta, 0, 0, g.GraphRect().Left, textH), Ink(g, big));
}

TEST(ZoreRuzezRender, EachAxisNumbersAtLeastThreeTicksWhereTheyFit) {
    // A response curve's view, -20 .. 40 widened by a tenth, on both axes.
    const TRect2D view = Rect2D(-25.97, -25.97, 45.67, 45.67);
    const long double extent = view.X2 - view.X1;
    std::vector<long double> xs, ys;
    TZoreRuzez g;
    const auto text = [](long double v) {
        return QString::number(static_cast<double>(v), 'f', 3).toStdString();
    };
    g.SetOnXLabeling([&](TZoreRuzez&, long double v, std::string& lbl) {
        xs.push_back(v);
        lbl = text(v);
    });
    g.SetOnYLabeling([&](TZoreRuzez&, long double v, std::string& lbl) {
        ys.push_back(v);
        lbl = text(v);
    });
    g.resize(400, 400);
    g.SetVisRect(view);
    g.Picture();
    QImage probe(10, 10, QImage::Format_RGB32);
    TChartCanvas canvas(probe, g.font());
    const int labelW = canvas.TextWidth(QStringLiteral("-88.888")),
              textH = canvas.TextHeight(QStringLiteral("Xy"));
    // Plots sized so that the usual rule picks a step of 50, which leaves the view only 0.
    const int plotW = static_cast<int>(0.8L * extent * labelW / 10), plotH = static_cast<int>(6.5L * textH);
    const TPixelRect p = g.GraphRect();
    g.resize(plotW + g.width() - (p.Right - p.Left), plotH + g.height() - (p.Bottom - p.Top));
    xs.clear();
    ys.clear();
    g.Picture();
    ASSERT_EQ(g.GraphRect().Right - g.GraphRect().Left, plotW);
    ASSERT_EQ(g.GraphRect().Bottom - g.GraphRect().Top, plotH);
    ASSERT_GE(xs.size(), 2u);
    xs.erase(xs.begin(), xs.begin() + 2); // the two texts that size the numbers
    // The vertical numbers are also asked for once to size the margin.
    for (const auto* numbers : {&xs, &ys}) {
        const std::set<long double> inView(numbers->begin(), numbers->end());
        EXPECT_GE(std::count_if(inView.begin(), inView.end(), [&](long double t) { return t >= view.X1; }), 3)
            << (numbers == &xs ? "X" : "Y");
    }
}

TEST(ZoreRuzezRender, PointMarkerAndSymbol) {
    TZoreRuzez g;
    MakeBare(g, 201, 201);
    TPoints& s = g.Series().Add();
    s.SetColor(kGreen);
    s.SetDrawStyle(TDrawStyle::dsPoints);
    s.Add(2, 3);
    s.Add(50, 3);  // right of the view
    s.Add(-4, 11); // above the view
    QImage img = g.Picture();
    const int px = static_cast<int>(g.PixelX(2)), py = static_cast<int>(g.PixelY(3));
    EXPECT_EQ(CountColor(img, kGreen), 16) << "one 4 x 4 marker only";
    EXPECT_EQ(CountColor(img, kGreen, px - 1, py - 1, px + 3, py + 3), 16);

    s.SetPointSymbol(U'x');
    img = g.Picture();
    const QFontMetrics fm(g.font(), &img);
    const int tw = fm.horizontalAdvance("x") / 2, th = fm.height() / 2;
    const int inside = CountColor(img, kGreen, px - tw, py - th, px - tw + 2 * tw + 2, py - th + fm.height());
    EXPECT_GT(inside, 0);
    EXPECT_EQ(CountColor(img, kGreen), inside) << "the symbol sits around the point";
}

TEST(ZoreRuzezRender, HugeValuesAndQuadrantsAreClipped) {
    TZoreRuzez g;
    g.resize(240, 200);
    g.SetColorBg(clWhite);
    g.SetGridStyle(TGridStyle::gsNone);
    TPoints& s = g.Series().Add();
    s.SetColor(kGreen);
    s.Add(-1e300L, 1e300L);
    s.Add(0, 0);
    s.Add(1, -1e4000L);
    s.Add(1e300L, 5);
    const QImage& img = g.Picture();
    const TPixelRect p = g.GraphRect();
    const int all = CountColor(img, kGreen);
    EXPECT_EQ(CountColor(img, kGreen, p.Left, p.Top, p.Right + 1, p.Bottom + 1), all)
        << "nothing outside the plot";
    // From (0, 0) to (1, -1e4000) the line is vertical at x = 0 down to the plot's lower edge.
    EXPECT_TRUE(Is(img, static_cast<int>(g.PixelX(0)), p.Bottom, kGreen));
    EXPECT_TRUE(
        Is(img, static_cast<int>(g.PixelX(0)), (p.Bottom + static_cast<int>(g.PixelY(0))) / 2, kGreen));

    g.SetQuadrant(TEGQuadrant::egqFirst);
    const QImage& first = g.Picture();
    const int axisCol = static_cast<int>(g.PixelX(0)), axisRow = static_cast<int>(g.PixelY(0));
    EXPECT_EQ(CountColor(first, kGreen, 0, 0, axisCol - 1, 200), 0);
    EXPECT_EQ(CountColor(first, kGreen, 0, axisRow + 2, 240, 200), 0);

    g.SetVisRect(Rect2D(-20, -10, -5, 10));
    EXPECT_EQ(CountColor(g.Picture(), kGreen), 0) << "first quadrant, view left of 0";
}

TEST(ZoreRuzezRender, OneOneLineAndTinyPlot) {
    TZoreRuzez g;
    MakeBare(g, 101, 101);
    g.SetVisRect(Rect2D(-1, -1, 9, 9));
    g.SetDrawOneOne(true);
    const QImage& img = g.Picture();
    for (const long double d : {0.0L, 2.5L, 5.0L, 8.0L})
        EXPECT_TRUE(Is(img, static_cast<int>(g.PixelX(d)) - 1, static_cast<int>(g.PixelY(d)) + 1, clRed) ||
                    Is(img, static_cast<int>(g.PixelX(d)), static_cast<int>(g.PixelY(d)), clRed))
            << static_cast<double>(d);

    // A control narrower than its margins: no series, no division, no crash.
    TZoreRuzez tiny;
    tiny.resize(12, 8);
    tiny.SetMaintainRatio(true);
    TPoints& s = tiny.Series().Add();
    s.SetColor(kGreen);
    s.Add(0, 0);
    s.Add(1, 1);
    TPoints& f = tiny.Series().Add();
    f.SetFunc("X");
    f.SetColor(kGreen);
    EXPECT_EQ(CountColor(tiny.Picture(), kGreen), 0);
    EXPECT_TRUE(std::isfinite(tiny.VisRect().X1) && std::isfinite(tiny.VisRect().Y2));
    TZoreRuzez none;
    none.resize(0, 0);
    EXPECT_TRUE(none.Picture().isNull());
}

TEST(ZoreRuzezRender, FunctionCurveAndItsBreakAtAPole) {
    TZoreRuzez g;
    MakeBare(g, 201, 201);
    TPoints& half = g.Series().Add();
    half.SetFunc("X / 2");
    half.SetColor(kBlue);
    QImage img = g.Picture();
    const TPixelRect p = g.GraphRect();
    EXPECT_GT(CountColor(img, kBlue), p.Right - p.Left) << "a line across the plot";

    half.SetVisible(false);
    TPoints& pole = g.Series().Add();
    pole.SetFunc("1/X");
    pole.SetColor(kGreen);
    img = g.Picture();
    EXPECT_EQ(CountColor(img, kBlue), 0) << "hidden series absent";
    // Both branches are there...
    EXPECT_GT(CountColor(img, kGreen, p.Left, p.Top, g.PixelX(-1) + 1, p.Bottom + 1), 0);
    EXPECT_GT(CountColor(img, kGreen, g.PixelX(1), p.Top, p.Right + 1, p.Bottom + 1), 0);
    // ...but no line joins them across the pole.
    const int c0 = static_cast<int>(g.PixelX(0));
    EXPECT_EQ(CountColor(img, kGreen, c0 - 2, static_cast<int>(g.PixelY(2.5L)), c0 + 3,
                         static_cast<int>(g.PixelY(-2.5L)) + 1),
              0);

    // A domain that starts at 0 leaves the left half empty.
    pole.SetFuncDomX1(0);
    img = g.Picture();
    EXPECT_EQ(CountColor(img, kGreen, 0, 0, c0, 201), 0);
    EXPECT_GT(CountColor(img, kGreen), 0);

    // A text that does not compile is skipped; the others still draw.
    TPoints& bad = g.Series().Add();
    bad.SetFunc("X+*");
    half.SetVisible(true);
    EXPECT_GT(CountColor(g.Picture(), kBlue), 0);
}

TEST(ZoreRuzezRender, ABatchOfChangesPaintsOnceAtItsOutermostEnd) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            paints += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    TZoreRuzez g;
    MakeBare(g, 80, 60);
    g.show();
    QApplication::processEvents();
    g.installEventFilter(&counter);

    g.BeginUpdate();
    TPoints& s = g.Series().Add();
    s.SetColor(kGreen);
    s.Add(-5, -5);
    s.Add(5, 5);
    g.BeginUpdate();
    g.EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 0) << "nothing is painted inside the batch";
    g.EndUpdate();
    EXPECT_EQ(counter.paints, 1) << "the end of the batch paints at once";
    EXPECT_GT(CountColor(g.grab().toImage(), kGreen), 0);
}
