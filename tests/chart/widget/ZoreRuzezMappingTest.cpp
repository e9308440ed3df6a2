#include "GraphTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

TEST(ZoreRuzezMapping, VisRectRefusesEmptyAndNonFiniteViews) {
    TZoreRuzez g;
    int vis = 0;
    g.OnVisChange = [&](TZoreRuzez&) { ++vis; };
    const long double inf = std::numeric_limits<long double>::infinity();
    const long double nan = std::numeric_limits<long double>::quiet_NaN();
    const TRect2D refused[] = {Rect2D(0, 5, 0, 10), Rect2D(1, 2, 3, 2), Rect2D(0, 0, inf, 1),
                               Rect2D(nan, 0, 1, 1), Rect2D(0, -inf, 1, 1)};
    for (const TRect2D& r : refused)
        g.SetVisRect(r);
    EXPECT_EQ(vis, 0);
    ExpectRect(g.VisRect(), {-10, -10, 10, 10});

    g.SetVisRect(Rect2D(10, 10, -10, -5));
    EXPECT_EQ(vis, 1);
    ExpectRect(g.VisRect(), {-10, -5, 10, 10});
}

TEST(ZoreRuzezMapping, ZoomLimitsKeepTheCentre) {
    TZoreRuzez g;
    struct Case {
        TRect2D in, out;
    } cases[] = {
        {Rect2D(1, 1, 1.001L, 1.001L), Rect2D(0.9955L, 0.9955L, 1.0055L, 1.0055L)},
        {Rect2D(-20000, 0, 20000, 1), Rect2D(-5000, 0, 5000, 1)},
        {Rect2D(0, -1e6L, 1, 1e6L), Rect2D(0, -5000, 1, 5000)},
        {Rect2D(-10, -10, 10, 10), Rect2D(-10, -10, 10, 10)},
    };
    for (const Case& c : cases) {
        TRect2D r = c.in;
        g.AdjustZoom(r);
        ExpectRect(r, c.out, 1e-9);
    }
}

TEST(ZoreRuzezMapping, MaintainRatioLengthensTheShorterSide) {
    TZoreRuzez g;
    g.resize(400, 300);
    g.SetMaintainRatio(true);
    g.Picture();
    const TPixelRect p = g.GraphRect();
    const long double plotRatio = static_cast<long double>(p.Right - p.Left) / (p.Bottom - p.Top);
    for (const long double aspect : {1.0L, 2.0L, 0.5L}) {
        g.SetAspectRatio(aspect);
        for (const TRect2D start : {Rect2D(-10, -1, 10, 1), Rect2D(-1, -10, 1, 10)}) {
            TRect2D r = start;
            g.AdjustZoom(r);
            const long double w = r.X2 - r.X1, h = r.Y2 - r.Y1;
            EXPECT_NEAR(static_cast<double>(w / h), static_cast<double>(plotRatio * aspect), 1e-9);
            EXPECT_NEAR(static_cast<double>(r.X1 + r.X2), static_cast<double>(start.X1 + start.X2), 1e-9);
            EXPECT_NEAR(static_cast<double>(r.Y1 + r.Y2), static_cast<double>(start.Y1 + start.Y2), 1e-9);
            EXPECT_TRUE(w >= start.X2 - start.X1 && h >= start.Y2 - start.Y1);
        }
    }
    g.SetAspectRatio(0);
    EXPECT_EQ(g.AspectRatio(), 0.5L) << "0 is ignored";
}

TEST(ZoreRuzezMapping, PixelAndDataRoundTrip) {
    TZoreRuzez g;
    g.resize(317, 233);
    g.SetVisRect(Rect2D(-3.7L, 12.5L, 41.2L, 19.25L));
    g.Picture();
    const TPixelRect p = g.GraphRect();
    ASSERT_GT(p.Right - p.Left, 100);
    const TRect2D& v = g.VisRect();
    EXPECT_EQ(std::tuple(g.PixelX(v.X1), g.PixelX(v.X2), g.PixelY(v.Y1), g.PixelY(v.Y2)),
              std::tuple(p.Left, p.Right, p.Bottom, p.Top));
    const long double unitX = (v.X2 - v.X1) / (p.Right - p.Left);
    for (int x = p.Left; x <= p.Right; x += 7) {
        for (int y = p.Top; y <= p.Bottom; y += 5) {
            long double gx = 0, gy = 0;
            ASSERT_TRUE(g.GetGraphCoords(x, y, &gx, &gy));
            EXPECT_TRUE(g.PixelX(gx) == x && g.PixelY(gy) == y) << x << "," << y;
            // data -> pixel -> data stays within half a pixel
            const long double dx = v.X1 + (x - p.Left + 0.3L) * unitX;
            long double back = 0;
            g.GetGraphCoords(static_cast<int>(g.PixelX(dx)), y, &back, nullptr);
            EXPECT_LE(std::fabs(back - dx), unitX / 2 + 1e-12L);
        }
    }
    EXPECT_FALSE(g.GetGraphCoords(p.Left - 1, p.Top, nullptr, nullptr));
    EXPECT_FALSE(g.GetGraphCoords(p.Left, p.Bottom + 1, nullptr, nullptr));
}
