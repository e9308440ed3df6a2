#include "ModelsFuncLibLinear.h"

#include <bit>
#include <cstdint>

double TGDD::compute(const TRWeatherDay&, double T, int) {
    const double a = p()[0];
    return T > a ? T - a : 0.0;
}

double TGDD_inverse::compute(const TRWeatherDay&, double T, int) {
    const double a = p()[0];
    return T < a ? a - T : 0.0;
}

double TLandsberg::compute(const TRWeatherDay&, double T, int) {
    const double a = p()[0];
    if (T < a) return 1.0;
    return T == 0.0 ? 0.0 : a / T;
}

double TRichardson::compute(const TRWeatherDay&, double T, int) {
    const double tbas = p()[0], thaut = p()[1];
    if (tbas > thaut || T <= tbas) return 0.0;
    return T < thaut ? T - tbas : thaut - tbas;
}

double TRichardson_inverse::compute(const TRWeatherDay&, double T, int) {
    const double tbas = p()[0], thaut = p()[1];
    if (tbas >= thaut || T >= thaut) return 0.0;
    return T <= tbas ? thaut - tbas : thaut - T;
}

double TTreshold_Sup::compute(const TRWeatherDay&, double T, int) {
    return T > p()[0] ? 1.0 : 0.0;
}

double TTreshold_Inf::compute(const TRWeatherDay&, double T, int) {
    return T < p()[0] ? 1.0 : 0.0;
}

double TIdentity::compute(const TRWeatherDay&, double T, int) {
    return T;
}

double TTriangular::compute(const TRWeatherDay&, double T, int) {
    const double topt = p()[0], tmin = p()[1], tmax = p()[2];
    if (!(tmin < topt && topt < tmax)) return 0.0;
    if (tmin <= T && T < topt) return (T - tmin) / (topt - tmin);
    if (topt <= T && T < tmax) return (T - tmax) / (topt - tmax);
    return 0.0;
}

double TTriangular_inverse::compute(const TRWeatherDay&, double T, int) {
    const double topt = p()[0], tmin = p()[1], tmax = p()[2];
    if (!(tmin < topt && topt < tmax)) return 0.0;
    if (tmin <= T && T < topt) return 1.0 - (T - tmin) / (topt - tmin);
    if (topt <= T && T < tmax) return 1.0 - (T - tmax) / (topt - tmax);
    return 1.0;
}

double TSTICS_simple::compute(const TRWeatherDay&, double T, int) {
    const double a = p()[0], wp = p()[1], fc = p()[2];
    if (T <= wp) return wp == 0.0 ? 0.0 : a * T / wp;
    return fc == wp ? 0.0 : a + (1.0 - a) * (T - wp) / (fc - wp);
}

// Each kind's own compute, called directly so that the loop inlines it: the same outputs as
// one call per day.
#define RUN_OF_VALUES(Kind)                                                                                  \
    bool Kind::computeRun(const double* x, int n, double* out, int optim) {                                  \
        static const TRWeatherDay none{};                                                                    \
        for (int k = 0; k < n; ++k)                                                                          \
            out[k] = Kind::compute(none, x[k], optim);                                                       \
        return true;                                                                                         \
    }                                                                                                        \
    bool Kind::sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) {                                     \
        static const TRWeatherDay none{};                                                                    \
        SumDays(s, in, [&](int, double x) { return Kind::compute(none, x, optim); });                       \
        return true;                                                                                         \
    }

namespace {
// x where keep holds, else +0: a mask rather than a branch, which mispredicts day after day
// when temperatures hover about the base.
inline double KeepOrZero(double x, bool keep) {
    return std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) & (0 - static_cast<std::uint64_t>(keep)));
}
} // namespace

// The base read once: out might alias the parameters as far as the compiler knows.
bool TGDD::computeRun(const double* x, int n, double* out, int) {
    const double a = p()[0];
    for (int k = 0; k < n; ++k)
        out[k] = KeepOrZero(x[k] - a, x[k] > a);
    return true;
}

bool TGDD_inverse::computeRun(const double* x, int n, double* out, int) {
    const double a = p()[0];
    for (int k = 0; k < n; ++k)
        out[k] = KeepOrZero(a - x[k], x[k] < a);
    return true;
}

bool TGDD::sumDays(TDaySums& s, const TDaySumsArgs& in, int) {
    const double a = p()[0];
    SumDays(s, in, [a](int, double x) { return KeepOrZero(x - a, x > a); });
    return true;
}

bool TGDD_inverse::sumDays(TDaySums& s, const TDaySumsArgs& in, int) {
    const double a = p()[0];
    SumDays(s, in, [a](int, double x) { return KeepOrZero(a - x, x < a); });
    return true;
}
RUN_OF_VALUES(TLandsberg)
RUN_OF_VALUES(TRichardson)
RUN_OF_VALUES(TRichardson_inverse)
RUN_OF_VALUES(TTreshold_Sup)
RUN_OF_VALUES(TTreshold_Inf)
RUN_OF_VALUES(TIdentity)
RUN_OF_VALUES(TTriangular)
RUN_OF_VALUES(TTriangular_inverse)
RUN_OF_VALUES(TSTICS_simple)
