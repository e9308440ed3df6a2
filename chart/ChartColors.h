#pragma once
// Platform colour values ($00BBGGRR or a system colour index) turned into Qt colours.

#include "ChartTypes.h"

#include <QRgb>

// System colours (15 button face, 16 button shadow, 20 button highlight, ...) come from the
// application palette, so the graph follows the desktop's theme.
QRgb ColorToRGB(TColor color);
