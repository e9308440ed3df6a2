#include "HomePicture.h"

#include <QPainter>
#include <QPainterPath>

QPixmap HomePicture(int side, qreal ratio) {
    QPixmap pixmap(QSize(side, side) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 96.0, side / 96.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x8B, 0x5A, 0x2B));
    p.drawEllipse(QRectF(14, 74, 68, 16));
    p.setPen(QPen(QColor(0x2E, 0x7D, 0x32), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(48, 80), QPointF(48, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x43, 0xA0, 0x47));
    QPainterPath left;
    left.moveTo(48, 48);
    left.cubicTo(30, 50, 14, 36, 12, 20);
    left.cubicTo(30, 18, 46, 30, 48, 48);
    p.drawPath(left);
    p.setBrush(QColor(0x66, 0xBB, 0x6A));
    QPainterPath right;
    right.moveTo(48, 40);
    right.cubicTo(56, 22, 72, 12, 86, 12);
    right.cubicTo(86, 30, 70, 42, 48, 40);
    p.drawPath(right);
    return pixmap;
}
