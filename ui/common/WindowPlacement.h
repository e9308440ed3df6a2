#pragma once
// Windows open whole inside the available area of their screen (task bars and docks left out).

#include <QPoint>

class QWidget;

// Moves a window that is not shown yet so that its frame starts at `wanted`, or as near to it
// as keeps the whole frame on the screen; one larger than the area shrinks when it may.
// `reference`, a shown window, lends its frame margins: a window has its own only once shown.
void PlaceOnScreen(QWidget* window, QPoint wanted, const QWidget* reference = nullptr);

// Places the n-th (from 0) of the windows opened from `owner`: beside the owner's window where
// there is room, each one a title bar lower and further right than the one before, starting
// again at the top when the next would leave the screen.
void PlaceCascaded(QWidget* window, const QWidget* owner, int n);
