#include "ChartTicks.h"

#include <cmath>

long double TickStepForCount(long double n) {
    long double step = 10000, k = 1, factor = 2;
    // k grows by 2 and 5 in turn, so the loop ends after a few hundred rounds at most.
    while (k < n && std::isfinite(k)) {
        k *= factor;
        if (k < n) step /= factor;
        factor = factor == 2 ? 5 : 2;
    }
    return step;
}

long double TickCount(long double pixels, long double extent, long double labelSize) {
    if (!(extent > 0) || !(labelSize > 0)) return 0;
    return std::nearbyint(pixels / extent * 10000 / labelSize);
}

std::vector<long double> TickValues(long double lo, long double hi, long double step, int maxCount) {
    std::vector<long double> ticks;
    if (!(step > 0) || !std::isfinite(lo) || !std::isfinite(hi)) return ticks;
    const long double q = lo / step;
    const long double first = q > 0 ? std::trunc(q) + 1 : std::trunc(q) - 1;
    for (long double i = first; static_cast<int>(ticks.size()) < maxCount; i += 1) {
        const long double t = i * step;
        if (t > hi) break;
        // Far from zero, adding 1 to the index may change nothing: stop rather than repeat.
        if (!ticks.empty() && !(t > ticks.back())) break;
        ticks.push_back(t == 0 ? 0.0L : t);
    }
    return ticks;
}

namespace {

// The next step below `step` in the 1, 2, 5 sequence.
long double FinerStep(long double step) {
    const long double decade = std::pow(10.0L, std::floor(std::log10(step) + 1e-9L));
    const long double mantissa = std::nearbyint(step / decade);
    if (mantissa >= 5) return 2 * decade;
    if (mantissa >= 2) return decade;
    return decade / 2;
}

int TicksInView(long double lo, long double hi, long double step) {
    int n = 0;
    for (const long double t : TickValues(lo, hi, step, 5))
        n += t >= lo;
    return n;
}

} // namespace

long double ReadableStep(long double step, long double lo, long double hi, long double pixelsPerUnit,
                         long double labelSpacing) {
    if (!(step > 0) || !std::isfinite(step) || !(pixelsPerUnit > 0) || !std::isfinite(pixelsPerUnit) ||
        !(labelSpacing > 0))
        return step;
    while (TicksInView(lo, hi, step) < 3) {
        const long double finer = FinerStep(step);
        if (!(finer * pixelsPerUnit >= labelSpacing)) break;
        step = finer;
    }
    return step;
}
