#pragma once
// The day loop of a phase of one function on a climate column, with the function's outputs
// computed on the way: the fast path of the daily run, shared by the run (outputs computed
// ahead) and the function kinds (outputs computed inline, no day past the phase's end).

#include <cmath>

#include "MathUtils.h"

class TWeatherYear;

// What the loop carries from one call to the next, and what it met.
struct TDaySums {
    double sum = 0.0, sum1 = 0.0, a = 0.0; // the sum, the sum before the last day, the last increment
    int day = 0;                           // the next day to sum
    int missing = 0, outside = 0;          // missing values met, and of those the ones outside the data
    double fault = 0.0;                    // a non-finite output met on a summed day
    bool ended = false, failed = false;
};

// Days s.day .. end - 1: x[k] the input of day s.day + k; src[k] its station-year (null: no data)
// or src null when every day lies in the data; sums[k] receives the day's sum.
struct TDaySumsArgs {
    const double* x;
    const TWeatherYear* const* src;
    double* sums;
    int end;
    double weight;
    double zero; // + 0.0 turns -0 to 0 as the general loop's additive link does; -0.0 changes nothing
    double sStar;
    int failDay; // the phase fails once the next day reaches it
};

// out(k, x) is day k's output for input x. Sums as the general loop does, to the bit; a
// non-finite output leaves the sum non-finite, and only then are the days looked at again for
// the first summed one, where the general loop raises.
template <class Out> inline void SumDays(TDaySums& s, const TDaySumsArgs& in, Out&& out) {
    // Locals: a store into sums could alias in's fields, which would be read again every day.
    const double* const xs = in.x;
    const TWeatherYear* const* const src = in.src;
    double* const sums = in.sums;
    const double weight = in.weight, zero = in.zero, sStar = in.sStar;
    const int end = in.end, failDay = in.failDay;
    double sum = s.sum, sum1 = s.sum1, a = s.a;
    int day = s.day, missing = 0, outside = 0;
    const int start = day;
    bool ended = false, failed = false;
    while (day < end) {
        sum1 = sum;
        const int k = day - start;
        const double x = xs[k];
        a = out(k, x) * weight + zero;
        if (x == MISSING) [[unlikely]] {
            ++missing;
            if (src != nullptr && src[k] == nullptr) ++outside;
            a = 0.0;
        }
        sum += a;
        sums[k] = sum;
        ++day;
        if (sum > sStar) {
            ended = true;
            break;
        }
        if (day >= failDay) {
            failed = true;
            ended = true;
            break;
        }
    }
    if (!std::isfinite(sum)) [[unlikely]]
        for (int k = 0; k < day - start; ++k) {
            if (xs[k] == MISSING) continue;
            const double o = out(k, xs[k]);
            if (!std::isfinite(o)) {
                s.fault = o;
                ended = true;
                break;
            }
        }
    s.ended = s.ended || ended;
    s.failed = s.failed || failed;
    s.sum = sum;
    s.sum1 = sum1;
    s.a = a;
    s.day = day;
    s.missing += missing;
    s.outside += outside;
}
