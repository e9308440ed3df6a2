#include "ChartCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

TChartCanvas::TChartCanvas(QImage& image, const QFont& font)
    : FImage(image), FFont(font), FMetrics(font, &image) {
    ClearClip();
}

void TChartCanvas::SetClip(const TPixelRect& r) {
    FClip.Left = std::max(r.Left, 0);
    FClip.Top = std::max(r.Top, 0);
    FClip.Right = std::min(r.Right, FImage.width());
    FClip.Bottom = std::min(r.Bottom, FImage.height());
}

void TChartCanvas::ClearClip() {
    FClip = TPixelRect{0, 0, FImage.width(), FImage.height()};
}

bool TChartCanvas::Inside(int x, int y) const {
    return x >= FClip.Left && x < FClip.Right && y >= FClip.Top && y < FClip.Bottom;
}

void TChartCanvas::FillRect(const TPixelRect& r, QRgb color) {
    const int l = std::max(r.Left, FClip.Left), t = std::max(r.Top, FClip.Top);
    const int ri = std::min(r.Right, FClip.Right), b = std::min(r.Bottom, FClip.Bottom);
    for (int y = t; y < b; ++y) {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
        std::fill(line + l, line + std::max(l, ri), color);
    }
}

void TChartCanvas::SetPixel(int x, int y, QRgb color) {
    if (Inside(x, y)) FImage.setPixel(x, y, color);
}

void TChartCanvas::MoveTo(int x, int y) {
    FPenX = x;
    FPenY = y;
}

void TChartCanvas::LineTo(int x, int y) {
    Segment(FPenX, FPenY, x, y);
    MoveTo(x, y);
}

void TChartCanvas::Raster(int x0, int y0, int x1, int y1) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
        SetPixel(x0, y0, FPen);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void TChartCanvas::Segment(long double x0, long double y0, long double x1, long double y1) {
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) return;
    if (FClip.Right <= FClip.Left || FClip.Bottom <= FClip.Top) return;
    // Liang-Barsky against the region grown by two pixels: a cut end then lies outside what is
    // visible, so leaving out the last pixel still only matters for uncut ends.
    const long double xmin = FClip.Left - 2.0L, xmax = FClip.Right + 1.0L;
    const long double ymin = FClip.Top - 2.0L, ymax = FClip.Bottom + 1.0L;
    const long double dx = x1 - x0, dy = y1 - y0;
    long double t0 = 0, t1 = 1;
    const long double p[4] = {-dx, dx, -dy, dy};
    const long double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return;
            continue;
        }
        const long double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return;
            t1 = std::min(t1, t);
        }
    }
    const long double cx0 = t0 > 0 ? x0 + t0 * dx : x0, cy0 = t0 > 0 ? y0 + t0 * dy : y0;
    const long double cx1 = t1 < 1 ? x0 + t1 * dx : x1, cy1 = t1 < 1 ? y0 + t1 * dy : y1;
    Raster(static_cast<int>(std::nearbyint(cx0)), static_cast<int>(std::nearbyint(cy0)),
           static_cast<int>(std::nearbyint(cx1)), static_cast<int>(std::nearbyint(cy1)));
}

int TChartCanvas::TextWidth(const QString& text) const {
    return FMetrics.horizontalAdvance(text);
}

int TChartCanvas::TextHeight(const QString&) const {
    return FMetrics.height();
}

void TChartCanvas::TextOut(int x, int y, const QString& text, QRgb color, const TPixelRect* clip) {
    TPixelRect r = FClip;
    if (clip) {
        r.Left = std::max(r.Left, clip->Left);
        r.Top = std::max(r.Top, clip->Top);
        r.Right = std::min(r.Right, clip->Right);
        r.Bottom = std::min(r.Bottom, clip->Bottom);
    }
    if (r.Right <= r.Left || r.Bottom <= r.Top) return;
    QPainter painter(&FImage);
    painter.setClipRect(QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top));
    painter.setFont(FFont);
    painter.setPen(QColor::fromRgb(color));
    painter.drawText(x, y + FMetrics.ascent(), text);
}
