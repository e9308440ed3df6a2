#include "UtilStuff.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "MathUtils.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "OrvexVersion.h"
#include "Weather.h"

double TempHeur(const TWeatherYear& Wi, int i, int heure) {
    const double TminI = Wi.DayValue(1, i);
    const double TmaxI = Wi.DayValue(2, i);
    const double TminK = Wi.DayValue(1, i + 1);
    if (heure < 13) return TminI + (TmaxI - TminI) * heure / 12.0;
    return TmaxI - (TmaxI - TminK) * (heure - 12) / 12.0;
}

double TempHeur_shark(const TWeatherYear& Wi, int i, int heure) {
    const double tminJ = Wi.DayValue(1, i);
    const double tmaxJ = Wi.DayValue(2, i);
    double tmaxI = tmaxJ;
    if (i > 1) {
        // A missing previous maximum would drag the night curve to -9999: use the day's own.
        const double prev = Wi.DayValue(2, i - 1);
        if (prev != MISSING) tmaxI = prev;
    }
    const double tminK = Wi.DayValue(1, i + 1);

    if (heure >= 6 && heure <= 15) return tminJ + std::log(heure - 5.0) / std::log(10.0) * (tmaxJ - tminJ);

    // One parabola from 15 h of a day (k = 1) to 6 h of the next (k = 16).
    double k, Tx, Tn;
    if (heure < 6) {
        k = heure + 10.0;
        Tx = tmaxI;
        Tn = tminJ;
    } else {
        k = heure - 14.0;
        Tx = tmaxJ;
        Tn = tminK;
    }
    const double a = (Tn - Tx) * (-3.0) / 1125.0;
    const double b = (Tn - Tx) * 126.0 / 1125.0;
    const double c = (1248.0 * Tx - 123.0 * Tn) / 1125.0;
    return a * k * k + b * k + c;
}

std::string myFloatToStr(double value, const TRVarInfo& info) {
    return FloatToStrFixed(value, info.b4_point + info.after_point, info.after_point);
}

double Fisher(double SS, double SSbest, int n, int ntot) {
    if (SSbest == 0.0) throw EOrvexError("Fisher statistic: division by zero (the best sum of squares is 0)");
    if (n == 0) throw EOrvexError("Fisher statistic: division by zero (no observation left out)");
    if (ntot == n)
        throw EOrvexError("Fisher statistic: division by zero (as many parameters as observations)");
    return ((std::fabs(SS) - std::fabs(SSbest)) / n) / (std::fabs(SSbest) / (ntot - n));
}

int ListGetMax(const std::vector<int>& list) {
    if (list.empty()) throw EOrvexError("ListGetMax: the list is empty");
    return *std::max_element(list.begin(), list.end());
}

int GetRawDataLen(const std::vector<TRRawData>& list) {
    if (list.empty()) return -1;
    return static_cast<int>(list.front().data_row.size());
}

void LogIt(std::string_view text) {
    if (std::getenv("ORVEX_DEBUG") == nullptr) return;
    // One lock per line so lines of several threads never interleave.
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

std::string ApplicationVersion() {
    return ORVEX_VERSION_TEXT;
}
