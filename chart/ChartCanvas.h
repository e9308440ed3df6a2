#pragma once
// GDI-style drawing on a QImage, pixel for pixel: lines leave out their last pixel, text is
// placed from its top-left corner, and rectangles are (Left, Top, Right, Bottom) with the right
// and bottom edges exclusive. Lines are clipped in floating point before they become pixels,
// so far-away end points never overflow an int or make a loop run long.

#include "ChartTypes.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QString>

class TChartCanvas {
public:
    TChartCanvas(QImage& image, const QFont& font);

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }

    // The region series are drawn in; right and bottom exclusive. Without one, the whole image.
    void SetClip(const TPixelRect& r);
    void ClearClip();

    void SetPenColor(QRgb color) { FPen = color; }
    void FillRect(const TPixelRect& r, QRgb color);
    void SetPixel(int x, int y, QRgb color);
    void MoveTo(int x, int y);
    // Draws from the pen position to (x, y) without that last pixel; the pen moves there.
    void LineTo(int x, int y);
    // A line between points whose coordinates may lie far outside the image (already rounded,
    // held as floating point); the last pixel is left out. Non-finite points draw nothing.
    void Segment(long double x0, long double y0, long double x1, long double y1);

    int TextWidth(const QString& text) const;
    int TextHeight(const QString& text) const;
    // Text without background, its top-left corner at (x, y), limited to `clip` and the region.
    void TextOut(int x, int y, const QString& text, QRgb color, const TPixelRect* clip = nullptr);

private:
    bool Inside(int x, int y) const;
    void Raster(int x0, int y0, int x1, int y1);

    QImage& FImage;
    QFont FFont;
    QFontMetrics FMetrics;
    TPixelRect FClip;
    QRgb FPen = 0xFF000000;
    int FPenX = 0, FPenY = 0;
};
