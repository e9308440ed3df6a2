#pragma once
// Uniform random numbers for the optimiser: a lagged-Fibonacci generator (97-entry table,
// lags 97 and 33) corrected by a subtractive sequence, period about 2^144.

#include <array>

class TUniDistrib {
public:
    // Seeds drawn from std::random_device, each in 1..99.
    TUniDistrib();
    // Fixed seeds, each in 1..99, for a reproducible fit. Raises EOrvexError otherwise:
    // a zero among the first three makes the table all zero.
    TUniDistrib(int seed1, int seed2, int seed3, int seed4);
    virtual ~TUniDistrib() = default;

    // Next value in [0, 1). 0 can come out; callers that must not use it test for it.
    // Virtual so that tests can script the draws of the optimiser.
    virtual double newRandom();

    int seed(int k) const { return seeds_[k]; } // k in 0..3, the seeds it was built with

private:
    void Seed(int seed1, int seed2, int seed3, int seed4);

    int ip = 97;
    int jp = 33;
    double c = 0.0;
    double cm = 0.0;
    double cd = 0.0;
    std::array<double, 98> mat_marsa{}; // entries 1..97; 0 unused so the lags read as written
    std::array<int, 4> seeds_{};
};
