#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// The frame's size: the window's own once shown, else its size with the reference's margins.
QSize FrameSize(const QWidget* window, const QWidget* reference) {
    if (window->isVisible()) return window->frameGeometry().size();
    QSize margins(0, 0);
    if (reference && reference->window()->isVisible()) {
        const QWidget* top = reference->window();
        margins = top->frameGeometry().size() - top->geometry().size();
    }
    return window->size() + margins;
}

QRect AvailableArea(const QWidget* window, QPoint at) {
    QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

void PlaceOnScreen(QWidget* window, QPoint wanted, const QWidget* reference) {
    // A window laid out but never sized takes its preferred size first.
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const QRect area = AvailableArea(window, wanted);
    if (!area.isValid()) {
        window->move(wanted);
        return;
    }
    QSize frame = FrameSize(window, reference);
    const QSize margins = frame - window->size();
    const QSize room = (area.size() - margins).expandedTo(window->minimumSize());
    if (window->width() > room.width() || window->height() > room.height()) {
        window->resize(window->size().boundedTo(room));
        frame = window->size() + margins;
    }
    const int x = std::max(area.left(), std::min(wanted.x(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.bottom() + 1 - frame.height()));
    window->move(x, y);
}

void PlaceCascaded(QWidget* window, const QWidget* owner, int n) {
    if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    const QWidget* top = owner->window();
    const QRect beside = top->frameGeometry();
    const QRect area = AvailableArea(window, beside.center());
    const QSize frame = FrameSize(window, top);
    const int step = std::max(24, frame.height() - window->height());
    const auto fits = [&](QPoint p) {
        return p.x() + frame.width() <= area.right() + 1 && p.y() + frame.height() <= area.bottom() + 1;
    };
    // Right of the owner, else left of it, else from the area's left edge.
    QPoint start(beside.right() + 1, std::max(beside.top(), area.top()));
    if (!fits(start)) start.setX(beside.left() - frame.width());
    if (start.x() < area.left()) start.setX(area.left());
    if (!fits(start)) start.setY(area.top());
    QPoint p = start;
    int column = 0;
    for (int i = 0; i < n; ++i) {
        p += QPoint(step, step);
        if (fits(p)) continue;
        // A new column of the cascade, from the top; the first one again when none is left.
        ++column;
        p = QPoint(start.x() + column * step, area.top());
        if (!fits(p)) {
            column = 0;
            p = QPoint(start.x(), area.top());
        }
    }
    PlaceOnScreen(window, p, top);
}
