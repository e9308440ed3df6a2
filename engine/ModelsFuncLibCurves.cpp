#include "ModelsFuncLibCurves.h"

#include <cfloat>
#include <cmath>
#include <cstring>

#include "MATH387.h"
#include "OrvexError.h"

namespace {
// Rounds to single precision; values beyond its range become infinities, as the hardware does.
float ToSingle(double x) {
    if (x > FLT_MAX) return INFINITY;
    if (x < -FLT_MAX) return -INFINITY;
    return static_cast<float>(x);
}

double Logistic(double x) {
    return x <= MAX_EXP ? 1.0 / (1.0 + std::exp(x)) : 0.0;
}
} // namespace

double TSigmoid::compute(const TRWeatherDay&, double T, int) {
    return Logistic(p()[0] * (T - p()[1]));
}

double TSigmoid_negative::compute(const TRWeatherDay&, double T, int) {
    // Capped like the other sigmoids: past the cap the value is 0 to double precision anyway.
    return Logistic(-p()[0] * (T - p()[1]));
}

double TNormal::compute(const TRWeatherDay&, double T, int) {
    const double c = T - p()[2];
    const double x = p()[0] * c * c + p()[1] * c;
    if (std::isnan(x)) raiseFault("invalid operation");
    return Logistic(x);
}

double TNegativeExp::compute(const TRWeatherDay&, double T, int optim) {
    double x = p()[0] * T;
    if (x > MAX_EXP) x = MAX_EXP;
    const double e = level(optim) != 0 ? static_cast<double>(fexp(ToSingle(x))) : std::exp(x);
    return e * p()[1];
}

double TBidabe::compute(const TRWeatherDay& wd, double, int) {
    const double q10 = p()[0];
    if (!(q10 > 0.0))
        throw EOrvexError("Error: the Q10 of the Bidabe function must be greater than 0 (parameter <0>) !");
    const double k = -std::log(q10) / 10.0;
    const double a = wd._tmn * k;
    const double b = wd._tmx * k;
    if (ToSingle(a) > MAX_EXP || ToSingle(b) > MAX_EXP) return 999999.9;
    return std::exp(a) + std::exp(b);
}

double TUnimodal::compute(const TRWeatherDay&, double T, int) {
    const double topt = p()[0], tmin = p()[1], tmax = p()[2];
    if (T - tmin <= 0.0 || topt <= tmin || tmax <= topt) return 0.0;
    // Just above Tmin the rate tends to 0; single precision would see a logarithm of 0.
    const float t = ToSingle(T - tmin);
    if (t == 0.0f) return 0.0;
    if (topt != shape_.topt || tmin != shape_.tmin || tmax != shape_.tmax) {
        shape_ = Shape{topt, tmin, tmax};
        // Wrapping round could revive entries of parameters long gone: clear them then.
        if (++generation_ == 0) {
            memo_.fill(Memo{});
            generation_ = 1;
        }
    }
    if (!shape_.alfaKnown) {
        const long double r = fln(ToSingle((tmax - tmin) / (topt - tmin)));
        shape_.alfa = r == 0.0L ? 999999.9L : 0.6931471805L / r;
        shape_.alfaKnown = true;
    }
    if (T > tmax) return 0.0;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &t, sizeof bits);
    Memo& m = memo_[((bits * 2654435761u) >> 22) & (MEMO_SIZE - 1)];
    if (m.generation == generation_ && m.key == bits) return m.result;
    const double r = rising(t);
    m = Memo{bits, generation_, r};
    return r;
}

// The formula from step A on, for T - Tmin = t within (0, Tmax - Tmin].
double TUnimodal::rising(float t) {
    const long double alfa = shape_.alfa;
    long double A = fln(t) * alfa;
    if (A > MAX_EXP_DIV_2) A = MAX_EXP_DIV_2;
    if (!shape_.bKnown) {
        long double B = fln(ToSingle(shape_.topt - shape_.tmin)) * alfa;
        if (B > MAX_EXP_DIV_2) B = MAX_EXP_DIV_2;
        shape_.expB = fexp(ToSingle(static_cast<double>(B)));
        shape_.den = fexp(ToSingle(static_cast<double>(2.0L * B)));
        shape_.bKnown = true;
    }
    const long double num = 2.0L * fexp(ToSingle(static_cast<double>(A))) * shape_.expB -
                            fexp(ToSingle(static_cast<double>(2.0L * A)));
    const long double den = shape_.den;
    return den == 0.0L ? 0.0 : static_cast<double>(num / den);
}

double TPhotos::compute(const TRWeatherDay&, double T, int) {
    const double P = p()[0];
    const double div1 = 19 * P * P * P * P - 1330 * P * P * P + 15675 * P * P + 266000 * P + 760000;
    const double div2 = (35 * P - 950) * 57;
    const double div3 = (35 * P - 950) * P;
    if (div1 == 0.0 || div2 == 0.0 || div3 == 0.0) return 0.0;
    if (T < -5.0 || T > 40.0) return 0.0;
    const double m = -5700 * P * (35 * P - 950) / div1;
    const double pp = P * m * (27075 - 1330 * P + 19 * P * P) / div2 + 100;
    const double n = (475 - P * P) * m / div3;
    const double o = -(35 * n + m) / 1425;
    return o * T * T * T + n * T * T + m * T + pp;
}

double TSmoothed_Utah::compute(const TRWeatherDay&, double T, int) {
    const double tm1 = p()[0], topt = p()[1], tn2 = p()[2], mn = p()[3];
    if (!(tm1 < topt && topt < tn2)) return 0.0;
    const double half = (1.0 + mn) / 2.0;
    const double D1 = topt - tm1;
    const double D2 = topt - tn2;
    const double drop = 1.0 - half;
    if (T < tm1) return Logistic((tm1 - T) * 4.0 / D1);
    if (T < topt) return 1.0 - 0.5 * (T - topt) * (T - topt) / (D1 * D1);
    if (T < tn2) return 1.0 - drop * (T - topt) * (T - topt) / (D2 * D2);
    const double span = (half - mn) * 2.0;
    // min = 1 flattens the tail to min; its slope k would divide by a zero span.
    if (span == 0.0) return mn;
    const double C2 = 2.0 * drop / D2;
    const double k = 4.0 * C2 / span;
    const double x = (tn2 - T) * k;
    return x <= MAX_EXP ? span / (1.0 + std::exp(x)) + mn : mn;
}
