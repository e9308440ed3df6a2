#pragma once
// Scripted draws, objectives and problems shared by the annealing and staged search tests.

#include <deque>
#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Metropolis.h"
#include "RandomDistrib.h"

// Hands out the draws a test lists, then `rest` for ever; without `rest`, one more draw fails the test.
class ScriptedRandom : public TUniDistrib {
public:
    explicit ScriptedRandom(std::deque<double> draws, double rest = -1.0)
        : TUniDistrib(1, 2, 3, 4), draws_(std::move(draws)), rest_(rest) {}
    double newRandom() override {
        if (draws_.empty() && rest_ < 0.0) throw std::logic_error("unexpected draw");
        if (draws_.empty()) return rest_;
        const double x = draws_.front();
        draws_.pop_front();
        return x;
    }
    std::size_t left() const { return draws_.size(); }

private:
    std::deque<double> draws_;
    double rest_;
};

struct Call {
    double temp0, tempf, bgedown;
    bool operator==(const Call&) const = default;
};
inline void PrintTo(const Call& c, std::ostream* os) {
    *os << "{" << c.temp0 << ", " << c.tempf << ", " << c.bgedown << "}";
}

// The n-th evaluation (n from 0) returns result(point, n) and records the settings it ran under;
// the search is stopped once stopAfter evaluations are made.
class TestObjective : public TMetropolis {
public:
    using Result = std::function<double(const TRFunctionDesc&, int)>;
    TestObjective(const TRMetropolisDesc& md, Result result) : md_(md), result_(std::move(result)) {}
    double f(const TRFunctionDesc& fd) override {
        calls.push_back({md_.temp0, md_.tempf, md_.bgedown});
        return result_(fd, static_cast<int>(calls.size()) - 1);
    }
    void PauseGate() override { ++gates; }
    bool Terminated() const override { return stopAfter >= 0 && static_cast<int>(calls.size()) >= stopAfter; }
    std::vector<Call> calls;
    int gates = 0;
    int stopAfter = -1;

private:
    const TRMetropolisDesc& md_;
    Result result_;
};

// Parameters "a", "b", ... at the given values, all with one step and one range.
inline TRFunctionDesc Problem(const std::vector<double>& values, double step, double lo = -100.0,
                              double hi = 100.0) {
    TRFunctionDesc fd;
    fd.nb_of_parameters = static_cast<int>(values.size());
    fd.var_info.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        TRVarInfo& v = fd.var_info[i];
        v.setName(std::string(1, static_cast<char>('a' + i)));
        v.value = v.bestvalue = values[i];
        v.step = step;
        v.minBound = lo;
        v.maxBound = hi;
    }
    fd.best_result = -1e10;
    fd.best_overall_result = -1e10;
    return fd;
}

// Parameters that never move: every annealing run is one evaluation.
inline TRFunctionDesc Fixed(const std::vector<double>& values) {
    TRFunctionDesc fd = Problem(values, 0.0);
    for (TRVarInfo& v : fd.var_info)
        v.minBound = v.maxBound = v.value;
    return fd;
}

inline TRMetropolisDesc Settings(int ntr = 1, int nts = 2, double temp0 = 5.0, double tempf = 5.0) {
    TRMetropolisDesc md;
    md.ntr = ntr;
    md.nts = nts;
    md.veryglob = 2;
    md.global = 2;
    md.conf_interval = 2;
    md.nb_repetitions = 1;
    md.temp_confint = 3;
    md.climbrate = 0.1;
    md.precision = 0.5;
    TMetropolis::InitMetropolisDesc(md, temp0);
    md.tempf = tempf;
    return md;
}
