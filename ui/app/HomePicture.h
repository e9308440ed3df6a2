#pragma once
// The Home page's picture, a sprouting seedling, drawn at the size asked: the style's own
// pictures come at 16 pixels only.

#include <QPixmap>

QPixmap HomePicture(int side, qreal ratio);
