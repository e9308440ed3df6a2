#pragma once
// Erez's dynamic chill model on hourly temperatures: p0 slope, p1 temperature of the
// transition (kelvin), p2 and p3 activation energies E0 and E1 (kelvin), p4 and p5 the
// factors A0 and A1. The chill precursor carries over from hour to hour.

#include "ModelFunction.h"

class TErez : public TModelFunction {
public:
    TErez() : TModelFunction("Erez", 6, 1, false) {
        mustTempHour = true;
        tempHour = true;
        keepsState_ = true;
    }
    void ResetState() override { InterS = 0.0; }

    double InterS = 0.0; // carried precursor state

protected:
    bool ReadsDay() const override { return false; }
    double compute(const TRWeatherDay& wd, double T, int optim) override;
};
