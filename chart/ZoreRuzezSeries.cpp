// Drawing of the series inside the series clip: point lists (lines, markers) and functions.

#include "ChartCanvas.h"
#include "ChartColors.h"
#include "MDParser10.h"
#include "ZoreRuzez.h"
#include "ZoreRuzezState.h"

#include <cmath>
#include <exception>

namespace {

// Sets a pixel given in floating point; anything off the image is simply not there.
void SetPixelF(TChartCanvas& cv, long double x, long double y, QRgb color) {
    if (!(x >= -1 && x <= cv.Width() && y >= -1 && y <= cv.Height())) return;
    cv.SetPixel(static_cast<int>(x), static_cast<int>(y), color);
}

} // namespace

void TZoreRuzez::DrawSeries(TRenderState& st) {
    // Without a plot area there is nothing to draw in, and the column step would divide by zero.
    if (st.G.Right - st.G.Left <= 0 || st.G.Bottom - st.G.Top <= 0) return;
    TPixelRect clip;
    if (!SeriesClip(st, clip) || clip.Right <= clip.Left || clip.Bottom <= clip.Top) return;
    st.Canvas.SetClip(clip);
    for (int i = 0; i < FSeries->Count(); ++i) {
        const TPoints& pts = FSeries->Series(i);
        if (!pts.Visible()) continue;
        if (!pts.ParseFunc().empty()) {
            DrawFunc(st, pts);
        } else if (pts.DrawStyle() == TDrawStyle::dsLines) {
            DrawLines(st, pts);
            if (pts.PointSymbol() != 0) DrawPoints(st, pts);
        } else {
            DrawPoints(st, pts);
        }
    }
    st.Canvas.ClearClip();
}

void TZoreRuzez::DrawLines(TRenderState& st, const TPoints& pts) {
    TChartCanvas& cv = st.Canvas;
    const TRect2D& v = FVisRect;
    const QRgb color = ColorToRGB(pts.Color());
    cv.SetPenColor(color);
    const int n = pts.Count();
    bool begun = false;
    long double penX = 0, penY = 0;
    // Y is not tested: the clip trims what lies above or below, the canvas clips in floating point.
    for (int i = 0; i < n; ++i) {
        const TPoint2D& p = pts.Points(i);
        const long double px = PixelX(p.X), py = PixelY(p.Y);
        if (p.X < v.X1) {
            if (i + 1 < n && pts.Points(i + 1).X > v.X1) {
                penX = px;
                penY = py;
                begun = true;
            }
        } else if (p.X <= v.X2) {
            if (n == 1) {
                SetPixelF(cv, px, py, color);
            } else {
                if (begun) cv.Segment(penX, penY, px, py);
                penX = px;
                penY = py;
                begun = true;
            }
        } else {
            if (begun) cv.Segment(penX, penY, px, py);
            break;
        }
    }
}

void TZoreRuzez::DrawPoints(TRenderState& st, const TPoints& pts) {
    TChartCanvas& cv = st.Canvas;
    const TRect2D& v = FVisRect;
    const QRgb color = ColorToRGB(pts.Color());
    const char32_t symbol = pts.PointSymbol();
    const QString text = symbol != 0 ? QString::fromUcs4(&symbol, 1) : QString();
    const int tw = symbol != 0 ? cv.TextWidth(text) / 2 : 0;
    const int th = symbol != 0 ? cv.TextHeight(text) / 2 : 0;
    for (int i = 0; i < pts.Count(); ++i) {
        const TPoint2D& p = pts.Points(i);
        if (p.X < v.X1) continue;
        if (p.X > v.X2) break;
        if (p.Y < v.Y1 || p.Y > v.Y2) continue;
        // Inside the view, so inside the plot: the pixel fits an int.
        const int px = static_cast<int>(PixelX(p.X)), py = static_cast<int>(PixelY(p.Y));
        if (symbol == 0) {
            cv.SetPixel(px, py, color);
            cv.FillRect(TPixelRect{px - 1, py - 1, px + 3, py + 3}, color);
        } else {
            cv.TextOut(px - tw, py - th, text, color);
        }
    }
}

void TZoreRuzez::DrawFunc(TRenderState& st, const TPoints& pts) {
    // A text that does not compile is skipped without a word; the other series still draw.
    try {
        if (!XParser->ParseExpression(pts.ParseFunc())) return;
    } catch (const std::exception&) {
        return;
    }
    TChartCanvas& cv = st.Canvas;
    const TPixelRect& g = st.G;
    const TRect2D& v = FVisRect;
    const QRgb color = ColorToRGB(pts.Color());
    cv.SetPenColor(color);
    const bool lines = pts.DrawStyle() == TDrawStyle::dsLines;
    const long double dx = (v.X2 - v.X1) / (g.Right - g.Left);
    const long double ys = (g.Bottom - g.Top) / (v.Y2 - v.Y1);
    // The margin is half a column, in X units; far beyond it a value breaks the line (a pole).
    const long double lo = v.Y1 - dx / 2, hi = v.Y2 + dx / 2, span = hi - lo;
    const long double breakLo = lo - 20 * span, breakHi = hi + 20 * span;
    const int h = height();
    bool prevDefined = false;
    long double prevY = 0;
    int lastC = g.Left;
    long double x = v.X1;
    for (int c = g.Left; c <= g.Right; ++c, x += dx) {
        XParser->SetX(x);
        if (x > pts.FuncDomX2()) break;
        bool defined = false;
        long double val = 0;
        if (x >= pts.FuncDomX1()) {
            try {
                val = XParser->Value();
                defined = !XParser->CalcError() && std::isfinite(val);
            } catch (const std::exception&) {
                defined = false;
            }
        }
        lastC = c;
        if (lines) {
            if (defined && (val < breakLo || val > breakHi)) defined = false;
            const long double y = defined ? g.Bottom - std::nearbyint((val - v.Y1) * ys) : 0;
            if (defined && prevDefined && (prevY >= 0 || y >= 0) && (prevY <= h || y <= h))
                cv.Segment(c - 1, prevY, c, y);
            prevDefined = defined;
            prevY = y;
        } else if (defined && val > lo && val < hi) {
            SetPixelF(cv, c, g.Bottom - std::nearbyint((val - v.Y1) * ys), color);
        }
    }
    // The segment primitive leaves a line's last pixel out.
    if (lines && prevDefined) SetPixelF(cv, lastC, prevY, color);
}
