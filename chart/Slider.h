#pragma once
// TSlider: a track bar with an integer Value between Minimum and Maximum and a rectangular thumb
// dragged with the left mouse button. A value change repaints only the thumb's old and new place.

#include "ChartTypes.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>

enum class TSliderOrientation : std::uint8_t { slHoriz, slVertical };

class TSlider : public QWidget {
    Q_OBJECT

public:
    using TNotify = std::function<void(TSlider& sender)>;

    explicit TSlider(QWidget* parent = nullptr);

    int TrackWidth() const { return fTrackWidth; }
    void SetTrackWidth(int value);
    TColor TrackColor() const { return fTrackColor; }
    void SetTrackColor(TColor value);
    TSliderOrientation Orientation() const { return fOrientation; }
    void SetOrientation(TSliderOrientation value);
    int ThumbHeight() const { return fThumbHeight; }
    void SetThumbHeight(int value);
    TColor ThumbColor() const { return fThumbColor; }
    void SetThumbColor(TColor value);
    bool Ctl3D() const { return fCtl3D; }
    void SetCtl3D(bool value);
    int Minimum() const { return fMin; }
    // Moves Value up to a new minimum above it; the other bound is not checked.
    void SetMin(int value);
    int Maximum() const { return fMax; }
    // Moves Value down to a new maximum below it; the other bound is not checked.
    void SetMax(int value);
    int Value() const { return fValue; }
    // Clamps into [Minimum, Maximum]; a change fires OnValueChange and moves the thumb.
    void SetValue(int value);

    // The thumb's place for the current value and size, in client pixels (right and bottom
    // exclusive). An empty range or a track no longer than the thumb keeps it at the minimum end.
    QRect ThumbRect() const;

    TNotify OnValueChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void DrawThumb();
    // Pixels the thumb can travel along the track; 0 when it cannot move.
    int Travel() const;

    QRect Thumb; // where the thumb was last drawn
    bool capture = false;
    QPoint capturePoint;
    int captureValue = 0;
    int fTrackWidth = 10;
    TColor fTrackColor = clBtnFace;
    TSliderOrientation fOrientation = TSliderOrientation::slVertical;
    int fThumbHeight = 20;
    TColor fThumbColor = clBtnFace;
    int fMin = 0, fMax = 100;
    int fValue = 0;
    bool fCtl3D = true;
};
