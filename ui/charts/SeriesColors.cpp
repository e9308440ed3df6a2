#include "SeriesColors.h"

#include <cmath>

#include "ChartColors.h"

namespace {

// Relative luminance of an sRGB colour.
double Luminance(QRgb c) {
    const auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(c)) + 0.7152 * channel(qGreen(c)) + 0.0722 * channel(qBlue(c));
}

} // namespace

bool VisibleOn(TColor color, QRgb background) {
    const double a = Luminance(ColorToRGB(color)), b = Luminance(background);
    const double contrast = (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
    return contrast >= 3.0;
}

TColor RandomSeriesColor(std::mt19937& random, QRgb background) {
    std::uniform_int_distribution<TColor> any(0, 0xFFFFFF);
    // Every background leaves plenty of visible colours; the bound only guards the loop.
    for (int tries = 0; tries < 10000; ++tries) {
        const TColor c = any(random);
        if (VisibleOn(c, background)) return c;
    }
    return Luminance(background) > 0.18 ? clBlack : clWhite;
}
