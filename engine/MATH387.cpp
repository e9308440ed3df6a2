#include "MATH387.h"

#include <cmath>
#include <string>

#include "OrvexError.h"

long double fcos(float x) {
    return std::cos(static_cast<long double>(x));
}

long double ftan(float x) {
    return std::tan(static_cast<long double>(x));
}

long double farccos(float x) {
    const long double lx = x;
    if (!(lx >= -1.0L && lx <= 1.0L))
        throw EOrvexError("Invalid floating point operation: arc cosine outside [-1, 1]");
    return std::atan2(std::sqrt(1.0L - lx * lx), lx);
}

long double farctan(float x) {
    return std::atan2(static_cast<long double>(x), 1.0L);
}

long double fln(float x) {
    if (!(x > 0.0f)) throw EOrvexError("Invalid floating point operation: logarithm of a value <= 0");
    return std::log(static_cast<long double>(x));
}

long double fexp(float x) {
    const long double r = std::exp(static_cast<long double>(x));
    if (std::isinf(r)) throw EOrvexError("Floating point overflow in exponential");
    return r;
}
