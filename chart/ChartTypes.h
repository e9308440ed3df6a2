#pragma once
// Value types shared by the graph control, its series and its drawing helpers.

#include <cstdint>

// Platform colour: $00BBGGRR, or $FF000000 plus a system colour index.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clBtnShadow = 0xFF000010;
constexpr TColor clBtnHighlight = 0xFF000014;

// A rectangle in data coordinates; the graph keeps X1 < X2 and Y1 < Y2 for its view.
struct TRect2D {
    long double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// Values are stored as given, never reordered.
inline TRect2D Rect2D(long double x1, long double y1, long double x2, long double y2) {
    return TRect2D{x1, y1, x2, y2};
}

struct TPoint2D {
    long double X = 0, Y = 0;
};

// Integer pixel rectangle with GDI meaning: Right and Bottom are coordinates, not sizes.
struct TPixelRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

enum class TBgStyle : std::uint8_t { bgsSolid, bgsLineHoriz, bgsLineVert, bgsImageStretch, bgsImageTile };
enum class TBorderStyle : std::uint8_t { bstNone, bstSingle, bstRaised, bstLowered };
enum class TGridStyle : std::uint8_t { gsNone, gsXAxis, gsYAxis, gsAxises, gsXGrid, gsYGrid, gsFull };
enum class TEGQuadrant : std::uint8_t { egqAll, egqFirst, egqSecond, egqThird, egqFourth, egqRight, egqLeft };
enum class TMouseAction : std::uint8_t { maNone, maRight, maShift, maCtrl, maAlt };
enum class TFloatFormat : std::uint8_t { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
enum class TDrawStyle : std::uint8_t { dsLines, dsPoints };
