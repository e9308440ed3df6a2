#pragma once
// Random series colours that stay readable on the graph's background.

#include <QRgb>
#include <random>

#include "ChartTypes.h"

// Enough contrast between the two colours for a thin line to stand out.
bool VisibleOn(TColor color, QRgb background);
// A random platform colour ($00BBGGRR) below $1000000 that is visible on `background`.
TColor RandomSeriesColor(std::mt19937& random, QRgb background);
