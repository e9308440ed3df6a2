#include "HourlyTemps.h"

#include "UtilStuff.h"

void HourlyTemperatures(TInterpolationFunc f, const TWeatherYear& Wi, int i, THourTemps& t) {
    if (f != TempHeur) {
        for (int h = FIRST_SUMMED_HOUR; h <= LAST_SUMMED_HOUR; ++h)
            t[static_cast<std::size_t>(h - FIRST_SUMMED_HOUR)] = f(Wi, i, h);
        return;
    }
    // TempHeur's expressions, term by term.
    const double TminI = Wi.DayValue(1, i);
    const double TmaxI = Wi.DayValue(2, i);
    const double TminK = Wi.DayValue(1, i + 1);
    for (int h = FIRST_SUMMED_HOUR; h <= LAST_SUMMED_HOUR; ++h)
        t[static_cast<std::size_t>(h - FIRST_SUMMED_HOUR)] =
            h < 13 ? TminI + (TmaxI - TminI) * h / 12.0 : TmaxI - (TmaxI - TminK) * (h - 12) / 12.0;
}
