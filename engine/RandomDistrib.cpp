#include "RandomDistrib.h"

#include <random>
#include <string>

#include "NumberText.h"
#include "OrvexError.h"

TUniDistrib::TUniDistrib() {
    std::random_device rd;
    std::uniform_int_distribution<int> pick(1, 99);
    const int s1 = pick(rd);
    const int s2 = pick(rd);
    const int s3 = pick(rd);
    const int s4 = pick(rd);
    Seed(s1, s2, s3, s4);
}

TUniDistrib::TUniDistrib(int seed1, int seed2, int seed3, int seed4) {
    for (int s : {seed1, seed2, seed3, seed4})
        if (s < 1 || s > 99)
            throw EOrvexError("Random generator seed " + IntToStr(s) + " is out of the range 1..99");
    Seed(seed1, seed2, seed3, seed4);
}

void TUniDistrib::Seed(int seed1, int seed2, int seed3, int seed4) {
    seeds_ = {seed1, seed2, seed3, seed4};
    // Every factor stays below 179, so the products fit easily in 32 bits.
    for (int ii = 1; ii <= 97; ++ii) {
        double su = 0.0;
        double tu = 0.5;
        for (int k = 0; k < 24; ++k) {
            const int mu = ((seed1 * seed2) % 179) * seed3 % 179;
            seed1 = seed2;
            seed2 = seed3;
            seed3 = mu;
            seed4 = (53 * seed4 + 1) % 169;
            if ((seed4 * mu) % 64 >= 32) su += tu;
            tu *= 0.5;
        }
        mat_marsa[ii] = su;
    }
    c = 362436.0 / 16777216.0;
    cd = 7654321.0 / 16777216.0;
    cm = 16777213.0 / 16777216.0;
    ip = 97;
    jp = 33;
}

double TUniDistrib::newRandom() {
    double uni = mat_marsa[ip] - mat_marsa[jp];
    if (uni < 0.0) uni += 1.0;
    mat_marsa[ip] = uni;
    if (--ip == 0) ip = 97;
    if (--jp == 0) jp = 97;
    c -= cd;
    if (c < 0.0) c += cm;
    uni -= c;
    if (uni < 0.0) uni += 1.0;
    return uni;
}
