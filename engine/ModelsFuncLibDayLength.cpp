#include "ModelsFuncLibDayLength.h"

#include <cmath>

#include "OrvexError.h"
#include "WeatherUtils.h"

namespace {
double Logistic(double v, double s, double c) {
    const double x = s * (v - c);
    return x > MAX_EXP ? 0.0 : 1.0 / (1.0 + std::exp(x));
}
} // namespace

double TDelpierre::compute(const TRWeatherDay& wd, double T, int) {
    if (wd._lat == MISSING)
        throw EOrvexError("Latitude is missing in the climate data file for using Delpierre function");
    // A zero threshold would divide; the replacement stays in the parameters.
    if (param.var_value[0] == 0.0) param.var_value[0] = ALMOST_ZERO;
    const double p0 = p()[0], p1 = p()[1];
    const double dl = dayLengths_.Get(wd._doy, wd._lat);
    if (dl >= p0 || T >= p1) return 0.0;
    const double ex = std::nearbyint(p()[2]);
    const double ey = std::nearbyint(p()[3]);
    if (dl == 0.0 && ey < 0.0) raiseFault("division by zero");
    // Integer powers: exact for the small exponents a fit uses, reciprocal when negative.
    return std::pow(p1 - T, ex) * std::pow(dl / p0, ey);
}

double TWhite::compute(const TRWeatherDay& wd, double T, int) {
    if (wd._lat == MISSING)
        throw EOrvexError("Latitude is missing in the climate data file for using White function");
    const double p0 = p()[0], p1 = p()[1], p2 = p()[2];
    if (p2 <= p1) return 0.0;
    const double dl = DayLength2(wd._doy, wd._lat);
    return (T <= p1 || (dl <= p0 && T <= p2)) ? 1.0 : 0.0;
}

double TDormphot::compute(const TRWeatherDay& wd, double T, int) {
    const double a1 = p()[0], a2 = p()[1], a3 = p()[2], ccrit = p()[3];
    const double DL = DayLength(wd._doy, wd._lat);
    const double DL50 = 24.0 * Logistic(T, a1, ccrit);
    const double T50 = 60.0 * Logistic(DL, a2, DL50);
    return Logistic(wd._tmp, a3, T50);
}

double TFourPhases::compute(const TRWeatherDay& wd, double T, int) {
    const double T1 = p()[0], T2 = p()[1], ctr = p()[2], cpr = p()[3], ccrit = p()[4];
    const double tmean = wd._tmp;
    double ttrh = 0.0;
    if (T < ctr) {
        if (ctr == 0.0) raiseFault("division by zero");
        ttrh = ((T2 - T1) / ctr + T1) * T;
    }
    if (cpr <= T && T < ccrit) ttrh = (T1 - T2) * (T - ccrit) / (ccrit - cpr) + T1;
    if (T < ctr) return tmean > ttrh ? 1.0 : 0.0;
    if (T < cpr) return 0.0;
    if (T < ccrit) return tmean > ttrh ? 1.0 : 0.0;
    return 1.0;
}
