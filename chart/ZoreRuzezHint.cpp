// The hint gesture: the hint window's drawing, and the search for the series under the mouse.

#include "ZoreRuzezHint.h"

#include "ChartCanvas.h"
#include "ChartColors.h"
#include "ChartNumberText.h"
#include "MDParser10.h"
#include "ZoreRuzez.h"

#include <QCursor>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {

constexpr int kHintWidth = 80, kHintHeight = 50;
// Where the texts end, and where the hint sits below the mouse.
constexpr int kTextRight = 75;
constexpr int kCursorGap = 5;

int CursorHeight() {
    const QPixmap shape = QCursor().pixmap();
    return shape.isNull() ? 32 : shape.height();
}

} // namespace

TEGHintForm::TEGHintForm(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint),
      XBitmap(kHintWidth, kHintHeight, QImage::Format_RGB32) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kHintWidth, kHintHeight);
    Render();
}

void TEGHintForm::SetHint(const std::string& x, const std::string& y, bool displaySeries, TColor color,
                          const std::string& function) {
    XX = x;
    XY = y;
    XDisplaySeries = displaySeries;
    XColor = color;
    XFunction = function;
    Render();
    update();
}

void TEGHintForm::Render() {
    const int w = width(), h = height();
    if (XBitmap.width() < w || XBitmap.height() < h)
        XBitmap = QImage(std::max(w, XBitmap.width()), std::max(h, XBitmap.height()), QImage::Format_RGB32);
    TChartCanvas cv(XBitmap, font());
    const QRgb face = ColorToRGB(clBtnFace);
    cv.FillRect(TPixelRect{0, 0, w, h}, face);
    cv.SetPenColor(ColorToRGB(clBtnHighlight));
    cv.MoveTo(0, h - 1);
    cv.LineTo(0, 0);
    cv.LineTo(w, 0);
    cv.SetPenColor(ColorToRGB(clBtnShadow));
    cv.MoveTo(0, h - 1);
    cv.LineTo(w - 1, h - 1);
    cv.LineTo(w - 1, 0);
    const QRgb ink = ColorToRGB(clBlack);
    cv.TextOut(2, 2, QStringLiteral("X:"), ink);
    cv.TextOut(2, 17, QStringLiteral("Y:"), ink);
    const QString xx = QString::fromStdString(XX), xy = QString::fromStdString(XY);
    cv.TextOut(kTextRight - cv.TextWidth(xx), 2, xx, ink);
    cv.TextOut(kTextRight - cv.TextWidth(xy), 17, xy, ink);
    if (!XDisplaySeries) return;
    const QString fn = QString::fromStdString(XFunction);
    const TPixelRect clip{13, 31, w - 2, h - 2};
    cv.TextOut(kTextRight - cv.TextWidth(fn), 32, fn, ink, &clip);
    // The swatch: black frame, filled with the series' colour.
    cv.FillRect(TPixelRect{3, 31, 11, h - 2}, ColorToRGB(clBlack));
    cv.FillRect(TPixelRect{4, 32, 10, h - 3}, ColorToRGB(XColor));
}

void TEGHintForm::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), XBitmap, event->rect());
}

void TZoreRuzez::EndHint() {
    XHintGesture = false;
    XMouseAction = 0;
    XHintForm->hide();
}

void TZoreRuzez::CalculateHint() {
    const int x = XMousePos.x(), y = XMousePos.y();
    long double gx = 0, gy = 0;
    // Outside the plot the window keeps its text and place.
    if (!GetGraphCoords(x, y, &gx, &gy)) return;
    std::string xx, xy;
    if (FOnXLabeling)
        FOnXLabeling(*this, gx, xx);
    else
        xx = ChartFloatToStrF(gx, TFloatFormat::ffFixed, 15, 4);
    if (FOnYLabeling)
        FOnYLabeling(*this, gy, xy);
    else
        xy = ChartFloatToStrF(gy, TFloatFormat::ffFixed, 15, 4);

    bool found = false;
    TColor color = clBlack;
    std::string name;
    // The first visible series whose line passes within a few pixels of the mouse wins.
    for (int i = 0; i < FSeries->Count() && !found; ++i) {
        const TPoints& s = FSeries->Series(i);
        if (!s.Visible()) continue;
        bool compiled = false;
        if (!s.ParseFunc().empty()) {
            try {
                compiled = XParser->ParseExpression(s.ParseFunc());
            } catch (const std::exception&) {
                compiled = false;
            }
        }
        bool segment = false;
        std::optional<long double> p = HintRow(s, compiled, x - 2, gy, segment);
        for (int c = x - 1; c <= x + 2; ++c) {
            segment = false;
            const std::optional<long double> q = HintRow(s, compiled, c, gy, segment);
            if (p && q) {
                const long double lo = std::min(*p, *q), hi = std::max(*p, *q);
                if (segment || (lo < y + 3 && hi > y - 3)) {
                    found = true;
                    color = s.Color();
                    name = s.Func().empty() ? s.Caption() : s.Func();
                    break;
                }
            }
            p = q;
        }
    }
    XHintForm->SetHint(xx, xy, found, color, name);
    XHintForm->move(mapToGlobal(QPoint(x, y + CursorHeight() + kCursorGap)));
}

// The pixel row of a series at column c; none where it has no value. A point segment that is at
// most about two pixels wide around c (a vertical jump) and spans the mouse's data Y sets
// `segment` instead and gives row 0.
std::optional<long double> TZoreRuzez::HintRow(const TPoints& s, bool compiled, int c, long double mouseY,
                                               bool& segment) {
    const TPixelRect& g = XGraphRect;
    const TRect2D& v = FVisRect;
    const int pw = g.Right - g.Left, ph = g.Bottom - g.Top;
    const long double x = v.X1 + static_cast<long double>(c - g.Left) * (v.X2 - v.X1) / pw;
    const auto row = [&](long double val) -> std::optional<long double> {
        const long double r = std::nearbyint(g.Bottom - (val - v.Y1) * ph / (v.Y2 - v.Y1));
        if (!std::isfinite(r)) return std::nullopt;
        return r;
    };
    if (!s.ParseFunc().empty()) {
        if (!compiled) return std::nullopt;
        try {
            XParser->SetX(x);
            const long double val = XParser->Value();
            if (XParser->CalcError() || !std::isfinite(val)) return std::nullopt;
            return row(val);
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }
    const int n = s.Count();
    if (n < 2) return std::nullopt;
    int a = 0;
    while (a < n && s.Points(a).X < x)
        ++a;
    a = std::clamp(a, 1, n - 1);
    const TPoint2D& p0 = s.Points(a - 1);
    const TPoint2D& p1 = s.Points(a);
    const long double colG = std::nearbyint((p0.X - v.X1) * pw / (v.X2 - v.X1)) + g.Left;
    const long double colH = std::nearbyint((p1.X - v.X1) * pw / (v.X2 - v.X1)) + g.Left;
    if (c <= colG + 1 && c >= colH - 1 && mouseY >= std::min(p0.Y, p1.Y) && mouseY <= std::max(p0.Y, p1.Y)) {
        segment = true;
        return 0.0L;
    }
    return row(p0.Y + (x - p0.X) * (p1.Y - p0.Y) / (p1.X - p0.X));
}
