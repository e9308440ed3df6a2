#include "ZoreRuzez.h"

#include "MDParser10.h"
#include "ZoreRuzezHint.h"
#include "ZoreRuzezLegend.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <utility>

TZoreRuzez::TZoreRuzez(QWidget* parent)
    : QWidget(parent), FSeries(std::make_unique<TSeries>()), XParser(std::make_unique<TMDParser>()) {
    FSeries->OnChange = [this](TSeries&) { SeriesChange(); };
    XHintForm = new TEGHintForm(this);
    XZoomTimer.callOnTimeout(this, [this] { ZoomFrame(); });
    resize(60, 40);
}

TZoreRuzez::~TZoreRuzez() {
    XZoomTimer.stop();
    XZoomThread.reset();
    // The list keeps no rows of a graph that is gone; no events fire while the graph dies.
    if (XLegend && XLegend->FZoreRuzez == this) {
        XLegend->FZoreRuzez = nullptr;
        XLegend->clear();
    }
}

TEGLegendList* TZoreRuzez::Legend() const {
    return XLegend.data();
}

void TZoreRuzez::Changed(bool bgRedraw) {
    XRenderNeed = true;
    if (bgRedraw) XBgRedraw = true;
    update();
    if (OnChange) OnChange(*this);
}

void TZoreRuzez::SetAspectRatio(long double value) {
    if (value == FAspectRatio || value == 0) return;
    FAspectRatio = value;
    Changed();
}

void TZoreRuzez::SetBgImage(const std::string& value) {
    if (value == FBgImage) return;
    FBgImage = value;
    if (FBgStyle == TBgStyle::bgsImageStretch || FBgStyle == TBgStyle::bgsImageTile) {
        XRenderNeed = true;
        XBgRedraw = true;
        update();
    }
    if (OnChange) OnChange(*this);
}

void TZoreRuzez::SetBgStyle(TBgStyle value) {
    if (value == FBgStyle) return;
    FBgStyle = value;
    Changed(true);
}

void TZoreRuzez::SetBorderStyle(TBorderStyle value) {
    if (value == FBorderStyle) return;
    FBorderStyle = value;
    Changed();
}

void TZoreRuzez::SetGraphBorder(TBorderStyle value) {
    if (value == FGraphBorder) return;
    FGraphBorder = value;
    Changed();
}

void TZoreRuzez::SetColorAxis(TColor value) {
    if (value == FColorAxis) return;
    FColorAxis = value;
    Changed();
}

void TZoreRuzez::SetColorBg(TColor value) {
    if (value == FColorBg) return;
    FColorBg = value;
    Changed(true);
}

void TZoreRuzez::SetColorBg2(TColor value) {
    if (value == FColorBg2) return;
    FColorBg2 = value;
    Changed(true);
}

void TZoreRuzez::SetColorBorder(TColor value) {
    if (value == FColorBorder) return;
    FColorBorder = value;
    Changed();
}

void TZoreRuzez::SetColorGrid(TColor value) {
    if (value == FColorGrid) return;
    FColorGrid = value;
    Changed();
}

void TZoreRuzez::SetColorNumb(TColor value) {
    if (value == FColorNumb) return;
    FColorNumb = value;
    Changed();
}

void TZoreRuzez::SetGridStyle(TGridStyle value) {
    if (value == FGridStyle) return;
    FGridStyle = value;
    Changed();
}

void TZoreRuzez::SetNumbHoriz(bool value) {
    if (value == FNumbHoriz) return;
    FNumbHoriz = value;
    Changed();
}

void TZoreRuzez::SetNumbVert(bool value) {
    if (value == FNumbVert) return;
    FNumbVert = value;
    Changed();
}

void TZoreRuzez::SetQuadrant(TEGQuadrant value) {
    FQuadrant = value;
    Changed();
}

void TZoreRuzez::SetOnXLabeling(TLabeling handler) {
    FOnXLabeling = std::move(handler);
    Changed();
}

void TZoreRuzez::SetOnYLabeling(TLabeling handler) {
    FOnYLabeling = std::move(handler);
    Changed();
}

void TZoreRuzez::SetMaintainRatio(bool value) {
    FMaintainRatio = value;
    XRenderNeed = true;
    update();
}

void TZoreRuzez::SetFloatFormatting(TFloatFormat value) {
    FFF = value;
    XRenderNeed = true;
    update();
}

void TZoreRuzez::SetDrawOneOne(bool value) {
    FDrawOneOne = value;
    XRenderNeed = true;
    update();
}

void TZoreRuzez::SetVisRect(const TRect2D& value) {
    // An empty or non-finite extent would divide by zero or poison every position.
    const long double w = value.X2 - value.X1, h = value.Y2 - value.Y1;
    if (w == 0 || h == 0 || !std::isfinite(w) || !std::isfinite(h)) return;
    FVisRect = value;
    if (FVisRect.X2 < FVisRect.X1) std::swap(FVisRect.X1, FVisRect.X2);
    if (FVisRect.Y2 < FVisRect.Y1) std::swap(FVisRect.Y1, FVisRect.Y2);
    XRenderNeed = true;
    if (OnVisChange) OnVisChange(*this);
    PaintNow();
}

void TZoreRuzez::AdjustZoom(TRect2D& r) const {
    long double w = r.X2 - r.X1;
    if (w < 0.01L) {
        r.X1 -= (0.01L - w) / 2;
        r.X2 += (0.01L - w) / 2;
    } else if (w > 10000) {
        r.X1 += (w - 10000) / 2;
        r.X2 -= (w - 10000) / 2;
    }
    long double h = r.Y2 - r.Y1;
    if (h < 0.01L) {
        r.Y1 -= (0.01L - h) / 2;
        r.Y2 += (0.01L - h) / 2;
    } else if (h > 10000) {
        r.Y1 += (h - 10000) / 2;
        r.Y2 -= (h - 10000) / 2;
    }
    if (!FMaintainRatio) return;
    const int pw = XGraphRect.Right - XGraphRect.Left, ph = XGraphRect.Bottom - XGraphRect.Top;
    // Without a plot area there is no ratio to keep.
    if (pw <= 0 || ph <= 0) return;
    w = r.X2 - r.X1;
    h = r.Y2 - r.Y1;
    const long double target = static_cast<long double>(pw) / ph * FAspectRatio;
    if (!(target > 0) || !std::isfinite(target)) return;
    const long double ratio = w / h;
    if (ratio > target) {
        const long double grow = (w / target - h) / 2;
        r.Y1 -= grow;
        r.Y2 += grow;
    } else if (ratio < target) {
        const long double grow = (h * target - w) / 2;
        r.X1 -= grow;
        r.X2 += grow;
    }
}

long double TZoreRuzez::PixelX(long double x) const {
    const TPixelRect& g = XGraphRect;
    return g.Left + std::nearbyint((x - FVisRect.X1) * (g.Right - g.Left) / (FVisRect.X2 - FVisRect.X1));
}

long double TZoreRuzez::PixelY(long double y) const {
    const TPixelRect& g = XGraphRect;
    return g.Bottom - std::nearbyint((y - FVisRect.Y1) * (g.Bottom - g.Top) / (FVisRect.Y2 - FVisRect.Y1));
}

bool TZoreRuzez::GetGraphCoords(int x, int y, long double* gx, long double* gy) const {
    const TPixelRect& g = XGraphRect;
    if (x < g.Left || x > g.Right || y < g.Top || y > g.Bottom) return false;
    if (g.Right == g.Left || g.Bottom == g.Top) return false;
    if (gx)
        *gx = FVisRect.X1 +
              static_cast<long double>(x - g.Left) * (FVisRect.X2 - FVisRect.X1) / (g.Right - g.Left);
    if (gy)
        *gy = FVisRect.Y1 +
              static_cast<long double>(g.Bottom - y) * (FVisRect.Y2 - FVisRect.Y1) / (g.Bottom - g.Top);
    return true;
}

void TZoreRuzez::SeriesChange() {
    if (XLegend) XLegend->UpdateList(-1);
    XRenderNeed = true;
    if (OnChange) OnChange(*this);
    if (XUpdateCounter <= 0) update();
}

void TZoreRuzez::BeginUpdate() {
    ++XUpdateCounter;
}

void TZoreRuzez::EndUpdate() {
    if (XUpdateCounter > 1) {
        --XUpdateCounter;
        return;
    }
    XUpdateCounter = 0;
    PaintNow();
}

bool TZoreRuzez::RenderDue() const {
    return XRenderNeed || XTempBmp.width() != width() || XTempBmp.height() != height();
}

const QImage& TZoreRuzez::Picture() {
    if (RenderDue()) Render();
    return XTempBmp;
}

// The zoom animation starts its clock at the last render's duration.
void TZoreRuzez::RenderTimed() {
    QElapsedTimer timer;
    timer.start();
    Render();
    XTimeToDraw = static_cast<int>(timer.elapsed());
}

void TZoreRuzez::PaintNow() {
    if (RenderDue()) RenderTimed();
    if (isVisible()) repaint();
}

void TZoreRuzez::paintEvent(QPaintEvent* event) {
    if (RenderDue()) RenderTimed();
    QPainter painter(this);
    painter.drawImage(event->rect(), XTempBmp, event->rect());
    if (XMouseAction == maBand) DrawBand(painter);
}
