#include "Slider.h"

#include "ChartColors.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

constexpr QRgb kDisabledThumb = 0xFF808080;

// GDI-style rectangle: pen outline on the first to the last-but-one pixel, brush inside.
void FramedRect(QPainter& p, int l, int t, int r, int b, QRgb pen, QRgb brush) {
    if (r <= l || b <= t) return;
    p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), QColor(brush));
    p.setPen(QColor(pen));
    p.drawRect(QRect(QPoint(l, t), QPoint(r - 2, b - 2)));
}

} // namespace

TSlider::TSlider(QWidget* parent) : QWidget(parent) {
    resize(50, 200);
}

void TSlider::SetTrackWidth(int value) {
    if (value == fTrackWidth) return;
    fTrackWidth = value;
    update();
}

void TSlider::SetTrackColor(TColor value) {
    if (value == fTrackColor) return;
    fTrackColor = value;
    update();
}

void TSlider::SetOrientation(TSliderOrientation value) {
    if (value == fOrientation) return;
    fOrientation = value;
    update();
}

void TSlider::SetThumbHeight(int value) {
    if (value == fThumbHeight) return;
    fThumbHeight = value;
    update();
}

void TSlider::SetThumbColor(TColor value) {
    if (value == fThumbColor) return;
    fThumbColor = value;
    update();
}

void TSlider::SetCtl3D(bool value) {
    if (value == fCtl3D) return;
    fCtl3D = value;
    update();
}

void TSlider::SetMin(int value) {
    if (value == fMin) return;
    fMin = value;
    if (value > fValue) SetValue(value);
    update();
}

void TSlider::SetMax(int value) {
    if (value == fMax) return;
    fMax = value;
    if (value < fValue) SetValue(value);
    update();
}

void TSlider::SetValue(int value) {
    if (value < fMin)
        value = fMin;
    else if (value > fMax)
        value = fMax;
    if (value == fValue) return;
    fValue = value;
    if (OnValueChange) OnValueChange(*this);
    DrawThumb();
}

int TSlider::Travel() const {
    const int length = fOrientation == TSliderOrientation::slHoriz ? width() : height();
    return length > fThumbHeight ? length - fThumbHeight : 0;
}

QRect TSlider::ThumbRect() const {
    const std::int64_t range = static_cast<std::int64_t>(fMax) - fMin;
    // 64 bits: a wide range times the track length overflows an int.
    const int d =
        range > 0 ? static_cast<int>(Travel() * (static_cast<std::int64_t>(fValue) - fMin) / range) : 0;
    if (fOrientation == TSliderOrientation::slHoriz) return QRect(d, 0, fThumbHeight, height());
    // The minimum sits at the bottom.
    return QRect(0, height() - d - fThumbHeight, width(), fThumbHeight);
}

void TSlider::DrawThumb() {
    // Only the old and the new place are painted again; the track under them is redrawn there.
    const QRect now = ThumbRect();
    if (!Thumb.isNull()) update(Thumb);
    update(now);
}

void TSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool horiz = fOrientation == TSliderOrientation::slHoriz;
    int l = 0, t = 0, r = width(), b = height();
    if (horiz) {
        t = (height() - fTrackWidth) / 2;
        b = t + fTrackWidth;
    } else {
        l = (width() - fTrackWidth) / 2;
        r = l + fTrackWidth;
    }
    p.fillRect(rect(), palette().color(backgroundRole()));
    const QRgb track = ColorToRGB(fTrackColor);
    if (fCtl3D) {
        FramedRect(p, l, t, r, b, ColorToRGB(clBtnHighlight), track);
        p.setPen(QColor(ColorToRGB(clBtnShadow)));
        p.drawLine(l, t, r - 1, t);
        p.drawLine(l, t, l, b - 1);
    } else if (r > l && b > t) {
        p.fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), QColor(track));
    }

    Thumb = ThumbRect();
    const QRgb brush = isEnabled() ? ColorToRGB(fThumbColor) : kDisabledThumb;
    l = Thumb.left();
    t = Thumb.top();
    r = Thumb.left() + Thumb.width();
    b = Thumb.top() + Thumb.height();
    if (fCtl3D) {
        FramedRect(p, l, t, r - 1, b - 1, ColorToRGB(clBtnHighlight), brush);
        p.setPen(QColor(ColorToRGB(clBtnShadow)));
        // Polylines leave out their last pixel: the shadow never reaches the row above the thumb,
        // which a moving thumb would not repaint.
        p.drawLine(l + 1, b - 3, l + 1, t + 1);
        if (r - 3 >= l + 1) p.drawLine(l + 1, t + 1, r - 3, t + 1);
        p.drawLine(l, b - 1, r - 1, b - 1);
        p.drawLine(r - 1, b - 1, r - 1, t);
    } else {
        FramedRect(p, l, t, r, b, ColorToRGB(clBlack), brush);
    }
}

void TSlider::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !ThumbRect().contains(pos)) return;
    capture = true;
    capturePoint = pos;
    captureValue = fValue;
}

void TSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!capture) return;
    const QPoint pos = event->position().toPoint();
    const int travel = Travel();
    if (travel <= 0) return;
    const std::int64_t range = static_cast<std::int64_t>(fMax) - fMin;
    // Measured from the press point, so the value follows the mouse without drift.
    const std::int64_t moved =
        fOrientation == TSliderOrientation::slHoriz ? pos.x() - capturePoint.x() : capturePoint.y() - pos.y();
    const std::int64_t target = captureValue + range * moved / travel;
    SetValue(static_cast<int>(
        std::clamp<std::int64_t>(target, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void TSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) capture = false;
}
