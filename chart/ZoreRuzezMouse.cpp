// The graph's mouse gestures: click zoom, rubber band, panning and the hint gesture, and the
// animated zoom that applies a zoom target.

#include "ZoreRuzez.h"
#include "ZoreRuzezHint.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

// Frame pace of the zoom animation; the view follows wall time, so slow renders drop frames.
constexpr int kZoomFrameMs = 10;

} // namespace

bool TZoreRuzez::Matches(TMouseAction action, const QMouseEvent& event) const {
    const Qt::KeyboardModifiers keys = event.modifiers();
    switch (action) {
    case TMouseAction::maNone:
        return false;
    case TMouseAction::maRight:
        return event.button() == Qt::RightButton;
    case TMouseAction::maShift:
        return event.button() == Qt::LeftButton && keys.testFlag(Qt::ShiftModifier);
    case TMouseAction::maCtrl:
        return event.button() == Qt::LeftButton && keys.testFlag(Qt::ControlModifier);
    case TMouseAction::maAlt:
        return event.button() == Qt::LeftButton && keys.testFlag(Qt::AltModifier);
    }
    return false;
}

bool TZoreRuzez::InsidePlot(int x, int y) const {
    const TPixelRect& g = XGraphRect;
    // Before the first render there is no plot, and every pixel-to-data step would divide by zero.
    if (g.Right <= g.Left || g.Bottom <= g.Top) return false;
    return x >= g.Left && x <= g.Right && y >= g.Top && y <= g.Bottom;
}

// Qt keeps sending moves to the pressed control until the last button is released, even outside
// it: that grab carries every gesture, the hint gesture included.
void TZoreRuzez::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (XHintGesture) {
        EndHint();
        return;
    }
    if (XMouseAction != 0) return;
    XMousePointsMove = 0;
    const QPoint pos = event->position().toPoint();
    if (XZoomThread || !InsidePlot(pos.x(), pos.y())) return;
    if (Matches(FMouseFuncHint, *event)) {
        XMouseAction = maHint;
        XHintGesture = true;
        XMousePos = pos;
        XHintForm->show();
        CalculateHint();
        return;
    }
    if (Matches(FMouseZoom, *event)) XMouseAction |= maClick;
    if (Matches(FMousePan, *event)) {
        XMouseAction |= maPan;
        XMousePos = pos;
    }
    if (event->button() == Qt::LeftButton && XMouseAction == 0 && FMouseZoom != TMouseAction::maNone) {
        XMouseAction = maBand;
        XLastZoomR = TPixelRect{pos.x(), pos.y(), pos.x(), pos.y()};
        update();
    }
}

void TZoreRuzez::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint pos = event->position().toPoint();
    if (XHintGesture) {
        XMousePos = pos;
        if (InsidePlot(pos.x(), pos.y())) {
            CalculateHint();
        } else {
            XMouseAction = 0;
            XHintForm->hide();
        }
        return;
    }
    ++XMousePointsMove;
    if ((XMouseAction & maPan) && XMousePointsMove >= 3) {
        if (FMousePan == TMouseAction::maRight && !event->buttons().testFlag(Qt::RightButton)) {
            XMouseAction = 0;
            return;
        }
        XMouseAction = maPan; // no zoom-out click can follow a pan
        Pan(pos.x(), pos.y());
    }
    if (XMouseAction == maBand) {
        const TPixelRect& g = XGraphRect;
        XLastZoomR.Right = std::clamp(pos.x(), g.Left, g.Right);
        XLastZoomR.Bottom = std::clamp(pos.y(), g.Top, g.Bottom);
        update();
    }
}

void TZoreRuzez::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (XHintGesture) {
        EndHint();
        return;
    }
    // Idle before any zoom paints, so the band is not drawn again.
    const int action = std::exchange(XMouseAction, 0);
    if (action == maBand) {
        update();
        if (event->button() == Qt::LeftButton) GraphZoom();
    } else if ((action & maClick) && XMousePointsMove < 3) {
        // Zoom out: twice as wide and high about the view's centre, not about the mouse.
        TRect2D t = FVisRect;
        const long double w = t.X2 - t.X1, h = t.Y2 - t.Y1;
        t.X1 -= w / 2;
        t.X2 += w / 2;
        t.Y1 -= h / 2;
        t.Y2 += h / 2;
        AdjustZoom(t);
        ApplyZoom(t);
    }
}

void TZoreRuzez::Pan(int x, int y) {
    const TPixelRect& g = XGraphRect;
    TRect2D& v = FVisRect;
    const long double sx = static_cast<long double>(x - XMousePos.x()) * (v.X2 - v.X1) / (g.Right - g.Left);
    const long double sy = static_cast<long double>(y - XMousePos.y()) * (v.Y2 - v.Y1) / (g.Bottom - g.Top);
    v.X1 -= sx;
    v.X2 -= sx;
    v.Y1 += sy;
    v.Y2 += sy;
    XMousePos = QPoint(x, y);
    XRenderNeed = true;
    if (OnVisChange) OnVisChange(*this);
    PaintNow();
}

void TZoreRuzez::GraphZoom() {
    const TPixelRect& g = XGraphRect;
    const TRect2D& v = FVisRect;
    TPixelRect& b = XLastZoomR;
    TRect2D t = v;
    if (b.Left == b.Right || b.Top == b.Bottom) {
        // A click: half as wide and high about the view's centre.
        const long double w = v.X2 - v.X1, h = v.Y2 - v.Y1;
        t.X1 += w / 4;
        t.X2 -= w / 4;
        t.Y1 += h / 4;
        t.Y2 -= h / 4;
    } else {
        if (b.Right < b.Left) std::swap(b.Left, b.Right);
        if (b.Bottom < b.Top) std::swap(b.Top, b.Bottom);
        const long double ux = (v.X2 - v.X1) / (g.Right - g.Left);
        const long double uy = (v.Y2 - v.Y1) / (g.Bottom - g.Top);
        t.X1 = v.X1 + (b.Left - g.Left) * ux;
        t.X2 = v.X1 + (b.Right - g.Left) * ux;
        t.Y1 = v.Y1 + (g.Bottom - b.Bottom) * uy;
        t.Y2 = v.Y1 + (g.Bottom - b.Top) * uy;
    }
    AdjustZoom(t);
    if (t.X2 - t.X1 < v.X2 - v.X1 || t.Y2 - t.Y1 < v.Y2 - v.Y1) ApplyZoom(t);
}

void TZoreRuzez::ApplyZoom(const TRect2D& target) {
    if (FZoomTime <= 0) {
        DrawGraph(target);
        return;
    }
    XZoomThread.emplace();
    XZoomThread->FromRect = FVisRect;
    XZoomThread->ToRect = target;
    XZoomThread->ZoomTime = FZoomTime;
    XZoomThread->TimeToDraw = XTimeToDraw;
    XZoomThread->Clock.start();
    // The first frame comes as soon as the event loop runs, later ones at the frame pace.
    XZoomTimer.start(0);
}

void TZoreRuzez::DrawGraph(const TRect2D& view) {
    FVisRect = view;
    XRenderNeed = true;
    if (OnVisChange) OnVisChange(*this);
    PaintNow();
}

void TZoreRuzez::ZoomFrame() {
    if (!XZoomThread) {
        XZoomTimer.stop();
        return;
    }
    XZoomTimer.setInterval(kZoomFrameMs);
    const TZoomThread& z = *XZoomThread;
    // The clock starts at one render's duration, so the first frame already shows that progress.
    const long double t = z.TimeToDraw + static_cast<long double>(z.Clock.elapsed());
    TRect2D now = z.ToRect; // the last frame is exactly the target
    const bool last = t >= z.ZoomTime;
    if (!last) {
        const TRect2D& a = z.FromRect;
        const TRect2D& b = z.ToRect;
        now.X1 = a.X1 + t * ((b.X1 - a.X1) / z.ZoomTime);
        now.Y1 = a.Y1 + t * ((b.Y1 - a.Y1) / z.ZoomTime);
        now.X2 = a.X2 + t * ((b.X2 - a.X2) / z.ZoomTime);
        now.Y2 = a.Y2 + t * ((b.Y2 - a.Y2) / z.ZoomTime);
    } else {
        XZoomTimer.stop();
        XZoomThread.reset();
    }
    DrawGraph(now);
}

// Drawn over the cached picture: inverting the band's outline is the white XOR pen, so the band
// never needs a render and vanishes with the next plain paint.
void TZoreRuzez::DrawBand(QPainter& painter) const {
    const int x1 = std::min(XLastZoomR.Left, XLastZoomR.Right),
              x2 = std::max(XLastZoomR.Left, XLastZoomR.Right);
    const int y1 = std::min(XLastZoomR.Top, XLastZoomR.Bottom),
              y2 = std::max(XLastZoomR.Top, XLastZoomR.Bottom);
    const auto invert = [&](int l, int t, int r, int b) {
        const QRect rect(QPoint(l, t), QPoint(r, b));
        QImage part = XTempBmp.copy(rect);
        part.invertPixels();
        painter.drawImage(rect.topLeft(), part);
    };
    invert(x1, y1, x2, y1);
    if (y2 > y1) invert(x1, y2, x2, y2);
    if (y2 - y1 > 1) {
        invert(x1, y1 + 1, x1, y2 - 1);
        if (x2 > x1) invert(x2, y1 + 1, x2, y2 - 1);
    }
}
