// The one drawing pass of the graph: background, frames, grid with axis numbers, the y = x line
// and the series clip. The series themselves are in ZoreRuzezSeries.cpp.

#include "ChartCanvas.h"
#include "ChartColors.h"
#include "ChartNumberText.h"
#include "ChartTicks.h"
#include "ZoreRuzez.h"
#include "ZoreRuzezState.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Tick offsets are truncated, and never beyond the plot; a tick left of the view is skipped.
int TickOffset(long double t, long double v1, long double pixelsPerUnit, int pixels) {
    const long double off = std::trunc((t - v1) * pixelsPerUnit);
    if (!(off >= 0)) return -1;
    return off > pixels ? pixels : static_cast<int>(off);
}

bool IsPictureStyle(TBgStyle s) {
    return s == TBgStyle::bgsImageStretch || s == TBgStyle::bgsImageTile;
}

// An axis number along its axis: where it starts and how long it is, in pixels.
struct TAxisLabel {
    QString text;
    int start = 0;
    int size = 0;
};

// Numbers must be whole: those reaching past [lo, hi) move inwards, and one that then overlaps
// a neighbour is dropped, the last number winning over the one before it.
std::vector<TAxisLabel> PlaceLabels(std::vector<TAxisLabel> labels, int lo, int hi) {
    std::vector<TAxisLabel> inside;
    for (TAxisLabel& l : labels) {
        if (l.size > hi - lo) continue;
        l.start = std::clamp(l.start, lo, hi - l.size);
        inside.push_back(std::move(l));
    }
    std::stable_sort(inside.begin(), inside.end(),
                     [](const TAxisLabel& a, const TAxisLabel& b) { return a.start < b.start; });
    std::vector<TAxisLabel> kept;
    for (size_t i = 0; i < inside.size(); ++i) {
        TAxisLabel& l = inside[i];
        if (!kept.empty() && l.start < kept.back().start + kept.back().size) {
            if (i + 1 < inside.size() || kept.size() < 2) continue;
            kept.pop_back();
            if (l.start < kept.back().start + kept.back().size) continue;
        }
        kept.push_back(std::move(l));
    }
    return kept;
}

} // namespace

void TZoreRuzez::RebuildBackground() {
    XBgRedraw = false;
    XBgInUse = true;
    XBgBmp = QImage();
    const bool horiz = FBgStyle == TBgStyle::bgsLineHoriz;
    if (!horiz && FBgStyle != TBgStyle::bgsLineVert) return;
    const int w = width(), h = height();
    if (w <= 0 || h <= 0) return;
    XBgBmp = QImage(w, h, QImage::Format_RGB32);
    XBgBmp.fill(ColorToRGB(FColorBg));
    const QRgb c1 = ColorToRGB(FColorBg), c2 = ColorToRGB(FColorBg2);
    const int n = horiz ? h : w;
    // 12.20 fixed point, steps truncated toward zero: the last line falls a step short of c2.
    const std::int32_t dr = ((qRed(c2) - qRed(c1)) * (1 << 20)) / n;
    const std::int32_t dg = ((qGreen(c2) - qGreen(c1)) * (1 << 20)) / n;
    const std::int32_t db = ((qBlue(c2) - qBlue(c1)) * (1 << 20)) / n;
    std::int32_t r = qRed(c1) << 20, g = qGreen(c1) << 20, b = qBlue(c1) << 20;
    TChartCanvas canvas(XBgBmp, font());
    for (int i = 0; i < n; ++i) {
        const QRgb c = qRgb(r >> 20, g >> 20, b >> 20);
        canvas.FillRect(horiz ? TPixelRect{0, i, w, i + 1} : TPixelRect{i, 0, i + 1, h}, c);
        r += dr;
        g += dg;
        b += db;
    }
}

void TZoreRuzez::DrawBackground(TChartCanvas& canvas) {
    const TPixelRect all{0, 0, width(), height()};
    if (IsPictureStyle(FBgStyle) && XBgInUse) {
        QImage picture;
        if (FBgImage.empty() || !picture.load(QString::fromStdString(FBgImage))) XBgInUse = false;
        if (XBgInUse) {
            canvas.FillRect(all, ColorToRGB(FColorBg));
            QPainter painter(&XTempBmp);
            if (FBgStyle == TBgStyle::bgsImageStretch) {
                painter.drawImage(QRect(0, 0, width(), height()), picture);
            } else if (picture.width() > 0 && picture.height() > 0) {
                for (int y = 0; y < XTempBmp.height(); y += picture.height())
                    for (int x = 0; x < XTempBmp.width(); x += picture.width())
                        painter.drawImage(x, y, picture);
            }
            return;
        }
    }
    const bool gradient = FBgStyle == TBgStyle::bgsLineHoriz || FBgStyle == TBgStyle::bgsLineVert;
    if (gradient && XBgInUse && XBgBmp.size() == XTempBmp.size()) {
        QPainter painter(&XTempBmp);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, XBgBmp);
        return;
    }
    // Solid, or a picture style without a usable picture.
    canvas.FillRect(all, ColorToRGB(FColorBg));
}

void TZoreRuzez::DrawBorder(TChartCanvas& canvas, TBorderStyle style, TColor color, TPixelRect& f) const {
    const auto drawUp = [&](QRgb c) {
        canvas.SetPenColor(c);
        canvas.MoveTo(f.Left, f.Bottom - 1);
        canvas.LineTo(f.Left, f.Top);
        canvas.LineTo(f.Right + 1, f.Top);
    };
    const auto drawDown = [&](QRgb c) {
        canvas.SetPenColor(c);
        canvas.MoveTo(f.Left, f.Bottom);
        canvas.LineTo(f.Right, f.Bottom);
        canvas.LineTo(f.Right, f.Top);
    };
    switch (style) {
    case TBorderStyle::bstNone:
        return;
    case TBorderStyle::bstSingle:
        // Outline only: the framed area keeps what lies beneath.
        canvas.SetPenColor(ColorToRGB(color));
        canvas.MoveTo(f.Left, f.Top);
        canvas.LineTo(f.Right, f.Top);
        canvas.LineTo(f.Right, f.Bottom);
        canvas.LineTo(f.Left, f.Bottom);
        canvas.LineTo(f.Left, f.Top);
        break;
    case TBorderStyle::bstRaised:
        drawUp(ColorToRGB(clBtnHighlight));
        drawDown(ColorToRGB(clBtnShadow));
        break;
    case TBorderStyle::bstLowered:
        drawDown(ColorToRGB(clBtnHighlight));
        drawUp(ColorToRGB(clBtnShadow));
        break;
    }
    f.Left += 1;
    f.Top += 1;
    f.Right -= 1;
    f.Bottom -= 1;
}

std::string TZoreRuzez::AxisText(const TLabeling& handler, long double value) {
    if (handler) {
        std::string lbl;
        handler(*this, value, lbl);
        return lbl;
    }
    return ChartFloatToStrF(value, FFF, 16, 3);
}

long double TZoreRuzez::VerticalStep(TChartCanvas& cv, const TPixelRect& g, const TRect2D& v) const {
    const int textH = cv.TextHeight(QStringLiteral("Xy"));
    const long double pixels = g.Bottom - g.Top, extent = v.Y2 - v.Y1;
    // Finer numbers keep half a line between them.
    return ReadableStep(TickStepForCount(TickCount(pixels, extent, textH)), v.Y1, v.Y2, pixels / extent,
                        1.5L * textH);
}

int TZoreRuzez::VerticalNumbersWidth(TChartCanvas& cv, const TPixelRect& g, const TRect2D& v) {
    int widest = 0;
    const long double step = VerticalStep(cv, g, v);
    for (const long double t : TickValues(v.Y1, v.Y2, step))
        widest = std::max(widest, cv.TextWidth(QString::fromStdString(AxisText(FOnYLabeling, t))));
    return widest;
}

void TZoreRuzez::DrawVerticalAxis(TRenderState& st) {
    TChartCanvas& cv = st.Canvas;
    const TPixelRect& g = st.G;
    const TRect2D& v = FVisRect;
    const int textH = cv.TextHeight(QStringLiteral("Xy"));
    const int pixels = g.Bottom - g.Top;
    const long double extent = v.Y2 - v.Y1;
    const long double step = VerticalStep(cv, g, v);
    const int half = textH / 2;
    const TPixelRect ly{st.R.Left, st.R.Top, g.Left, g.Bottom};
    const bool axisLine = FGridStyle == TGridStyle::gsXAxis || FGridStyle == TGridStyle::gsAxises ||
                          FGridStyle == TGridStyle::gsXGrid || FGridStyle == TGridStyle::gsFull;
    const bool gridLine = FGridStyle == TGridStyle::gsXGrid || FGridStyle == TGridStyle::gsFull;
    std::vector<TAxisLabel> labels;
    for (const long double t : TickValues(v.Y1, v.Y2, step)) {
        const int offset = TickOffset(t, v.Y1, pixels / extent, pixels);
        if (offset < 0) continue;
        const int y = g.Bottom - offset;
        const bool isAxis = std::fabs(t) < 1e-5L;
        if (axisLine && (isAxis || gridLine)) {
            cv.SetPenColor(ColorToRGB(isAxis ? FColorAxis : FColorGrid));
            cv.MoveTo(g.Left, y);
            cv.LineTo(g.Right + 1, y);
        }
        if (FNumbVert) labels.push_back({QString::fromStdString(AxisText(FOnYLabeling, t)), y - half, textH});
    }
    for (const TAxisLabel& l : PlaceLabels(std::move(labels), ly.Top, ly.Bottom))
        cv.TextOut(g.Left - cv.TextWidth(l.text) - 3, l.start, l.text, ColorToRGB(FColorNumb), &ly);
}

void TZoreRuzez::DrawHorizontalAxis(TRenderState& st) {
    TChartCanvas& cv = st.Canvas;
    const TPixelRect& g = st.G;
    const TRect2D& v = FVisRect;
    std::string templ;
    if (FOnXLabeling) {
        const std::string a = AxisText(FOnXLabeling, v.X1), b = AxisText(FOnXLabeling, v.X2);
        templ = b.size() > a.size() ? b : a;
        for (char& ch : templ)
            if (ch >= '0' && ch <= '9') ch = '8';
    } else {
        const auto d = [](long double x) {
            return std::fabs(x) < 1e-5L
                       ? 5
                       : static_cast<int>(std::nearbyint(std::fabs(std::log10(std::fabs(x)))));
        };
        templ = std::string(static_cast<size_t>(std::max(d(v.X1), d(v.X2)) + 1), '8') + ",888";
    }
    const int pixels = g.Right - g.Left;
    const long double extent = v.X2 - v.X1;
    const int templWidth = cv.TextWidth(QString::fromStdString(templ));
    const long double n = templ.empty() ? 10 : TickCount(pixels, extent, templWidth);
    const long double step =
        ReadableStep(TickStepForCount(n), v.X1, v.X2, pixels / extent, templ.empty() ? 0 : templWidth);
    // The corner left of the plot is free: the first number may stay centred on its tick.
    const TPixelRect lx{st.R.Left, g.Bottom + 1, st.R.Right, st.R.Bottom};
    const bool axisLine = FGridStyle == TGridStyle::gsYAxis || FGridStyle == TGridStyle::gsAxises ||
                          FGridStyle == TGridStyle::gsYGrid || FGridStyle == TGridStyle::gsFull;
    const bool gridLine = FGridStyle == TGridStyle::gsYGrid || FGridStyle == TGridStyle::gsFull;
    std::vector<TAxisLabel> labels;
    for (const long double t : TickValues(v.X1, v.X2, step)) {
        const int offset = TickOffset(t, v.X1, pixels / extent, pixels);
        if (offset < 0) continue;
        const int x = g.Left + offset;
        const bool isAxis = std::fabs(t) < 1e-5L;
        if (axisLine && (isAxis || gridLine)) {
            cv.SetPenColor(ColorToRGB(isAxis ? FColorAxis : FColorGrid));
            cv.MoveTo(x, g.Top);
            cv.LineTo(x, g.Bottom + 1);
        }
        if (FNumbHoriz) {
            QString text = QString::fromStdString(AxisText(FOnXLabeling, t));
            const int w = cv.TextWidth(text);
            labels.push_back({std::move(text), x - w / 2, w});
        }
    }
    for (const TAxisLabel& l : PlaceLabels(std::move(labels), lx.Left, lx.Right))
        cv.TextOut(l.start, g.Bottom + 4, l.text, ColorToRGB(FColorNumb), &lx);
}

void TZoreRuzez::DrawOneOneLine(TRenderState& st, const TPixelRect& f) {
    const TRect2D& v = FVisRect;
    const long double sx = (f.Right - f.Left) / (v.X2 - v.X1), sy = (f.Bottom - f.Top) / (v.Y2 - v.Y1);
    st.Canvas.SetPenColor(ColorToRGB(clRed));
    // From data (0, 0) to (10000, 10000); the canvas clips it in floating point.
    st.Canvas.Segment(f.Left + std::nearbyint(-v.X1 * sx), f.Bottom - std::nearbyint(-v.Y1 * sy),
                      f.Left + std::nearbyint((10000 - v.X1) * sx),
                      f.Bottom - std::nearbyint((10000 - v.Y1) * sy));
}

void TZoreRuzez::DrawGridAndNumbers(TRenderState& st) {
    if (FGridStyle != TGridStyle::gsNone || FNumbVert) DrawVerticalAxis(st);
    if (FGridStyle != TGridStyle::gsNone || FNumbHoriz) DrawHorizontalAxis(st);
    TPixelRect f{st.G.Left - 1, st.G.Top - 1, st.G.Right + 1, st.G.Bottom + 1};
    DrawBorder(st.Canvas, FGraphBorder, FColorBorder, f);
    if (FDrawOneOne) DrawOneOneLine(st, f);
}

bool TZoreRuzez::SeriesClip(const TRenderState& st, TPixelRect& c) const {
    const TRect2D& v = FVisRect;
    c = TPixelRect{st.G.Left, st.G.Top, st.G.Right + 1, st.G.Bottom + 1};
    const long double w = c.Right - c.Left, h = c.Bottom - c.Top;
    const long double vw = v.X2 - v.X1, vh = v.Y2 - v.Y1;
    const auto rnd = [](long double x) { return static_cast<int>(std::nearbyint(x)); };
    const auto cutLeftOfZero = [&] { c.Left = c.Right - rnd(w * v.X2 / vw) - 1; };
    switch (FQuadrant) {
    case TEGQuadrant::egqAll:
        return true;
    case TEGQuadrant::egqFirst:
        if (v.X2 < 0 || v.Y2 < 0) return false;
        if (v.X1 < 0) cutLeftOfZero();
        if (v.Y1 < 0) c.Bottom = c.Top + rnd(h * v.Y2 / vh);
        return true;
    case TEGQuadrant::egqSecond:
        if (v.X1 > 0 || v.Y2 < 0) return false;
        if (v.X2 > 0) c.Right = c.Left + rnd(-v.X1 * w / vw) + 1;
        if (v.Y1 < 0) c.Bottom = c.Top + rnd(h * v.Y2 / vh) + 1;
        return true;
    case TEGQuadrant::egqThird:
        if (v.X1 > 0 || v.Y1 > 0) return false;
        if (v.X2 > 0) c.Right = c.Left + rnd(-v.X1 * w / vw);
        if (v.Y2 > 0) c.Top = c.Bottom - rnd(-v.Y1 * h / vh);
        return true;
    case TEGQuadrant::egqFourth:
        if (v.X2 < 0 || v.Y1 > 0) return false;
        if (v.X1 < 0) cutLeftOfZero();
        if (v.Y2 > 0) c.Top = c.Bottom - rnd(-v.Y1 * h / vh);
        return true;
    case TEGQuadrant::egqRight:
        if (v.X2 < 0) return false;
        if (v.X1 < 0) cutLeftOfZero();
        return true;
    case TEGQuadrant::egqLeft:
        if (v.X1 > 0) return false;
        if (v.X2 > 0) c.Right = c.Left + rnd(-v.X1 * w / vw);
        return true;
    }
    return true;
}

void TZoreRuzez::Render(QImage* target) {
    const bool offscreen = target == nullptr;
    if (width() <= 0 || height() <= 0) {
        // Nothing to draw on; the picture follows the empty size.
        if (offscreen) {
            XTempBmp = QImage();
            XRenderNeed = false;
        }
        return;
    }
    if (offscreen) {
        if (XTempBmp.width() != width() || XTempBmp.height() != height()) {
            XTempBmp = QImage(std::max(width(), 0), std::max(height(), 0), QImage::Format_RGB32);
            if (XBgInUse) XBgRedraw = true;
        }
        target = &XTempBmp;
    }
    if (XBgRedraw) RebuildBackground();
    TChartCanvas canvas(*target, font());
    if (offscreen) {
        DrawBackground(canvas);
        XRenderNeed = false;
    }
    TRenderState st{canvas, TPixelRect{0, 0, width() - 1, height() - 1}, {}};
    DrawBorder(canvas, FBorderStyle, FColorBorder, st.R);
    st.G = st.R;
    if (FNumbHoriz) st.G.Bottom -= canvas.TextHeight(QStringLiteral("Xy")) + 4;
    if (FGraphBorder != TBorderStyle::bstNone) {
        st.G.Left += 1;
        st.G.Top += 1;
        st.G.Right -= 1;
        st.G.Bottom -= 1;
    }
    // Room for the widest number of the vertical axis, and never less than the usual room.
    if (FNumbVert) {
        TRect2D view = FVisRect;
        AdjustZoom(view);
        const int widest = VerticalNumbersWidth(canvas, st.G, view);
        st.G.Left += std::max(canvas.TextWidth(QStringLiteral("88888,888")), widest) + 4;
    }
    XGraphRect = st.G;
    AdjustZoom(FVisRect);
    DrawGridAndNumbers(st);
    DrawSeries(st);
}
