#pragma once
// Response functions that read more of the day than their input: day length, mean temperature.

#include "DayLengthCache.h"
#include "ModelFunction.h"

// Day-length threshold (p0), base temperature (p1), exponents (p2, p3) rounded to integers.
class TDelpierre : public TModelFunction {
public:
    TDelpierre() : TModelFunction("Delpierre", 4, 1, false, 25) {}

protected:
    double compute(const TRWeatherDay& wd, double T, int optim) override;

private:
    TDayLengthCache dayLengths_;
};

// Day-length threshold (p0) and two temperatures (p1 < p2).
class TWhite : public TModelFunction {
public:
    TWhite() : TModelFunction("White", 3, 1, false) {}

protected:
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Chilling state T moves the day length DL50, which moves the temperature T50 of the
// forcing response to the day's mean temperature: a1 (p0), a2 (p1), a3 (p2), Ccrit (p3).
class TDormphot : public TModelFunction {
public:
    TDormphot() : TModelFunction("Dormphot", 4, 0, true) {}

protected:
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};

// Mean-temperature threshold that moves with the chilling state T through four phases:
// T1 (p0), T2 (p1), Ctr (p2), Cpr (p3), Ccrit (p4).
class TFourPhases : public TModelFunction {
public:
    TFourPhases() : TModelFunction("Four Phases", 5, 0, true) {}

protected:
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};
