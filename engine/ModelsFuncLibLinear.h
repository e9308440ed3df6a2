#pragma once
// Linear, threshold and piecewise-linear response functions.

#include "ModelFunction.h"

// Growing degree days above base p0.
class TGDD : public TModelFunction {
public:
    TGDD() : TModelFunction("GDD", 1, 0, true, 25) {}

protected:
    TGDD(const char* n) : TModelFunction(n, 1, 0, true, 25) {}
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Degree days below p0.
class TGDD_inverse : public TGDD {
public:
    TGDD_inverse() : TGDD("GDD Inverse") {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// 1 below p0, p0 / T above.
class TLandsberg : public TModelFunction {
public:
    TLandsberg() : TModelFunction("Landsberg", 1, 0, true, 25) {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Degree days between Tbas (p0) and Thaut (p1), constant above Thaut.
class TRichardson : public TModelFunction {
public:
    TRichardson() : TModelFunction("Richardson", 2, 0, true, 25) {}

protected:
    TRichardson(const char* n) : TModelFunction(n, 2, 0, true, 25) {}
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

class TRichardson_inverse : public TRichardson {
public:
    TRichardson_inverse() : TRichardson("Richardson Inverse") {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

class TTreshold_Sup : public TModelFunction {
public:
    TTreshold_Sup() : TModelFunction("Threshold Superior", 1, 0, true) {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

class TTreshold_Inf : public TModelFunction {
public:
    TTreshold_Inf() : TModelFunction("Threshold Inferior", 1, 0, true) {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

class TIdentity : public TModelFunction {
public:
    TIdentity() : TModelFunction("Identity", 0, 1, true) {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// 0 at Tmin (p1), 1 at Topt (p0), 0 at Tmax (p2).
class TTriangular : public TModelFunction {
public:
    TTriangular() : TModelFunction("Triangular", 3, 0, true) {}

protected:
    TTriangular(const char* n) : TModelFunction(n, 3, 0, true) {}
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

class TTriangular_inverse : public TTriangular {
public:
    TTriangular_inverse() : TTriangular("Triangular Inverse") {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// a (p0) x T / wp (p1) up to wp, then linear to 1 at fc (p2), uncapped above.
class TSTICS_simple : public TModelFunction {
public:
    TSTICS_simple() : TModelFunction("STICS Simple", 3, 0, false) {}

protected:
    bool ReadsDay() const override { return false; }
    bool computeRun(const double* x, int n, double* out, int optim) override;
    bool sumDays(TDaySums& s, const TDaySumsArgs& in, int optim) override;
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};
