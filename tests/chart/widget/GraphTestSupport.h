#pragma once
// Shared by the graph's tests: a bare graph and a view check.

#include "ChartColors.h"
#include "ZoreRuzez.h"

#include <gtest/gtest.h>

// A graph with nothing but the background and the series: the plot is the whole control.
inline void MakeBare(TZoreRuzez& g, int w, int h) {
    g.resize(w, h);
    g.SetNumbHoriz(false);
    g.SetNumbVert(false);
    g.SetGridStyle(TGridStyle::gsNone);
    g.SetGraphBorder(TBorderStyle::bstNone);
    g.SetColorBg(clWhite);
}

inline void ExpectRect(const TRect2D& r, const TRect2D& want, double tol = 1e-12) {
    EXPECT_NEAR(static_cast<double>(r.X1), static_cast<double>(want.X1), tol);
    EXPECT_NEAR(static_cast<double>(r.Y1), static_cast<double>(want.Y1), tol);
    EXPECT_NEAR(static_cast<double>(r.X2), static_cast<double>(want.X2), tol);
    EXPECT_NEAR(static_cast<double>(r.Y2), static_cast<double>(want.Y2), tol);
}
