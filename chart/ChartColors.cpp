#include "ChartColors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QRgb SystemColor(unsigned index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 1:
        return pal.color(QPalette::Window).rgb(); // desktop
    case 4:
        return pal.color(QPalette::Window).rgb(); // menu
    case 5:
        return pal.color(QPalette::Base).rgb(); // window
    case 7:
        return pal.color(QPalette::WindowText).rgb(); // menu text
    case 8:
        return pal.color(QPalette::Text).rgb(); // window text
    case 13:
        return pal.color(QPalette::Highlight).rgb();
    case 14:
        return pal.color(QPalette::HighlightedText).rgb();
    case 15:
        return pal.color(QPalette::Button).rgb(); // button face
    case 16:
        return pal.color(QPalette::Dark).rgb(); // button shadow
    case 17:
        return pal.color(QPalette::Disabled, QPalette::Text).rgb(); // grey text
    case 18:
        return pal.color(QPalette::ButtonText).rgb();
    case 20:
        return pal.color(QPalette::Light).rgb(); // button highlight
    case 21:
        return pal.color(QPalette::Shadow).rgb(); // 3D dark shadow
    case 22:
        return pal.color(QPalette::Midlight).rgb(); // 3D light
    case 23:
        return pal.color(QPalette::ToolTipText).rgb();
    case 24:
        return pal.color(QPalette::ToolTipBase).rgb();
    default:
        return qRgb(0, 0, 0);
    }
}

} // namespace

QRgb ColorToRGB(TColor color) {
    if ((color & 0xFF000000u) == 0xFF000000u) return SystemColor(color & 0xFFu);
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}
