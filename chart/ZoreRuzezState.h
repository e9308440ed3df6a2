#pragma once
// What one render of the graph works with; private to the rendering files.

#include "ChartCanvas.h"
#include "ZoreRuzez.h"

struct TZoreRuzez::TRenderState {
    TChartCanvas& Canvas;
    TPixelRect R; // the control less its outer frame
    TPixelRect G; // the plot rectangle
};
