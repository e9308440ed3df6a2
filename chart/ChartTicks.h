#pragma once
// Axis tick placement: a step of 10000 / (1, 2, 10, 20, 100, ...) and the ticks of a view range.

#include <vector>

// `n` is the number of labels that would fit into 10000 data units.
long double TickStepForCount(long double n);
// The labels that fit into 10000 units for a plot `pixels` long showing `extent` data units with
// labels `labelSize` pixels apart: Round(pixels / extent x 10000 / labelSize).
long double TickCount(long double pixels, long double extent, long double labelSize);
// Multiples of `step` up to `hi`, starting at (Trunc(lo / step) + 1) x step when lo / step > 0,
// else at (Trunc(lo / step) - 1) x step, which may lie below `lo` (callers skip those). Made by
// index, so zero is exact; never more than `maxCount`, and they always increase.
std::vector<long double> TickValues(long double lo, long double hi, long double step, int maxCount = 10000);
// `step` made finer down the 1, 2, 5 sequence (50, 20, 10, 5, ...) while the view [lo, hi] holds
// fewer than three ticks and the finer ticks still lie `labelSpacing` pixels apart: the rule
// above may leave a single number on an axis (a view 70 units wide with a step of 50).
long double ReadableStep(long double step, long double lo, long double hi, long double pixelsPerUnit,
                         long double labelSpacing);
