#pragma once
// Logistic, exponential and polynomial response functions.

#include <array>
#include <cstdint>

#include "ModelFunction.h"

// 1 / (1 + exp(p0 (T - p1))): decreasing for a positive slope p0.
class TSigmoid : public TModelFunction {
public:
    TSigmoid() : TModelFunction("Sigmoid", 2, 0, true) {}

protected:
    TSigmoid(const char* n) : TModelFunction(n, 2, 0, true) {}
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// 1 / (1 + exp(-p0 (T - p1))): increasing for a positive slope p0.
class TSigmoid_negative : public TSigmoid {
public:
    TSigmoid_negative() : TSigmoid("Sigmoid Negative") {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// "Varnel": 1 / (1 + exp(p0 c^2 + p1 c)) with c = T - p2.
class TNormal : public TModelFunction {
public:
    TNormal() : TModelFunction("Varnel", 3, 1, false) {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// p1 exp(p0 T); the only kind whose exponential follows the optimisation level.
class TNegativeExp : public TModelFunction {
public:
    TNegativeExp() : TModelFunction("Negative Exponential", 2, 1, true) {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Q10 (p0) response of the day's minimum and maximum; the input value is not used.
class TBidabe : public TModelFunction {
public:
    TBidabe() : TModelFunction("Bidabe", 1, 1, false) {}

protected:
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Wang: Topt (p0), Tmin (p1), Tmax (p2), in single-precision logarithms and exponentials.
// The extended-precision logarithms and exponentials cost hundreds of nanoseconds a day, so
// the terms of the parameters are kept while they stand, and so are the recent results: the
// result depends only on T - Tmin rounded to single precision, and a climate record holds
// few distinct temperatures.
class TUnimodal : public TModelFunction {
public:
    TUnimodal() : TModelFunction("Wang", 3, 4, false) {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;

private:
    struct Shape {
        double topt = 0.0, tmin = 0.0, tmax = 0.0;
        long double alfa = 0.0L, expB = 0.0L, den = 0.0L;
        bool alfaKnown = false, bKnown = false;
    };
    struct Memo {
        std::uint32_t key = 0; // bits of T - Tmin in single precision
        std::uint32_t generation = 0;
        double result = 0.0;
    };
    static constexpr std::size_t MEMO_SIZE = 1024;
    double rising(float t);
    Shape shape_;
    std::uint32_t generation_ = 0; // entries of another generation belong to older parameters
    std::array<Memo, MEMO_SIZE> memo_{};
};

// Cubic between -5 and 40 degrees with its optimum at p0.
class TPhotos : public TModelFunction {
public:
    TPhotos() : TModelFunction("Parabolic", 1, 0, false) {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Tm1 (p0), Topt (p1), Tn2 (p2), min (p3): 0.5 at Tm1, 1 at Topt, (1 + min) / 2 at Tn2,
// tending to min far above.
class TSmoothed_Utah : public TModelFunction {
public:
    TSmoothed_Utah() : TModelFunction("Smoothed Utah", 4, 0, false) {}

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};
