#include "Metropolis.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "NumberText.h"
#include "OrvexError.h"
#include "RandomDistrib.h"

namespace {

// Sensitivity rows are held and written this many at a time.
constexpr std::size_t SENSITIVITY_BLOCK = 10000;

void RequireAtLeast(const char* name, long long value, long long least, const char* why) {
    if (value < least)
        throw EOrvexError(std::string("Optimisation setting ") + name + " is " + IntToStr(value) +
                          ": it must be at least " + IntToStr(least) + " (" + why + ")");
}

// Reciprocal temperature grows by beta per loop, so the last loop runs at tempf.
struct Schedule {
    double temp = 0.0;
    double beta = 0.0;
    void Cool() {
        temp = temp / (1.0 + beta * temp);
        if (temp < 0.0) temp = 0.0;
    }
};

Schedule StartSchedule(const TRMetropolisDesc& md) {
    const double temp0 = md.temp0;
    const double tempf = md.tempf;
    Schedule s{temp0, 0.0};
    if ((temp0 == 0.0) != (tempf == 0.0)) {
        const std::string line = "ERROR in metropolise: temp0,tempf=" + FloatToStrGeneral(temp0) + " " +
                                 FloatToStrGeneral(tempf) + "\n";
        std::fputs(line.c_str(), stdout);
        // A zero temperature asks for pure descent. Its reciprocal is infinite, so the schedule's
        // own limit is a run at 0 from the first loop; temp0 = 0 stays at 0 anyway.
        s.temp = 0.0;
    } else if (temp0 != 0.0) {
        s.beta = (temp0 - tempf) / (static_cast<double>(md.ntr) * temp0 * tempf);
    }
    return s;
}

// The truncated Metropolis test of an objective change df at temperature temp. Written so that a
// NaN is refused without drawing.
bool Accept(double df, double temp, TUniDistrib& Unid) {
    if (!(temp > 0.0)) return df > 0.0;
    df /= temp;
    if (df > 0.0) return true;
    if (!(df >= -1.0)) return false;
    const double uni = Unid.newRandom();
    return uni != 0.0 && uni != 1.0 && std::log(uni) < df;
}

void KeepBest(TRFunctionDesc& fun_des) {
    fun_des.best_result = fun_des.curr_result;
    for (TRVarInfo& v : Parameters(fun_des))
        v.bestvalue = v.value;
}

// Sensitivity rows are held and written in blocks; rows held when f raises are dropped.
class HeldRows {
public:
    HeldRows(int width, bool used) : width_(width) {
        if (used) rows_.reserve(SENSITIVITY_BLOCK * static_cast<std::size_t>(width));
    }
    // The point and minus its objective; the last sweep writes at once.
    void Add(const TRFunctionDesc& fun_des, bool lastSweep, TSensitivityOutput& out) {
        for (const TRVarInfo& v : Parameters(fun_des))
            rows_.push_back(v.value);
        rows_.push_back(-fun_des.curr_result);
        if (rows_.size() >= SENSITIVITY_BLOCK * static_cast<std::size_t>(width_) || lastSweep) {
            out.WriteRows(rows_, width_);
            rows_.clear();
        }
    }

private:
    int width_;
    std::vector<double> rows_;
};

// One trial move of parameter v; a refused move puts the value back and shrinks the step.
bool MoveParameter(TMetropolis& opt, TRFunctionDesc& fun_des, TRVarInfo& v, const TRMetropolisDesc& Met_des,
                   TUniDistrib& Unid, double temp) {
    const double uni = Unid.newRandom();
    const double savedvalue = v.value;
    bool acc = false;
    if (uni != 0.0 && uni != 1.0) {
        v.value = v.value + (uni - 0.5) * v.step;
        if (v.value >= v.minBound && v.value <= v.maxBound) {
            const double newfresult = opt.f(fun_des);
            acc = Accept(newfresult - fun_des.curr_result, temp, Unid);
            if (acc) {
                fun_des.curr_result = newfresult;
                v.step *= Met_des.bgeup;
                if (newfresult > fun_des.best_result) KeepBest(fun_des);
            }
        }
    }
    if (!acc) {
        v.value = savedvalue;
        v.step *= Met_des.bgedown;
    }
    return acc;
}

} // namespace

void CheckParameterSlots(const TRFunctionDesc& fd) {
    const int nb = fd.nb_of_parameters;
    if (nb < 0 || nb > static_cast<int>(fd.var_info.size()))
        throw EOrvexError("The optimisation problem has " + IntToStr(nb) + " parameters but " +
                          IntToStr(static_cast<long long>(fd.var_info.size())) + " slots");
}

std::span<TRVarInfo> Parameters(TRFunctionDesc& fd) {
    return {fd.var_info.data(), static_cast<std::size_t>(fd.nb_of_parameters)};
}

std::span<const TRVarInfo> Parameters(const TRFunctionDesc& fd) {
    return {fd.var_info.data(), static_cast<std::size_t>(fd.nb_of_parameters)};
}

void CheckAnnealingSettings(const TRMetropolisDesc& md) {
    RequireAtLeast("ntr", md.ntr, 1, "temperature loops of a run");
    RequireAtLeast("nts", md.nts, 1, "sweeps per temperature loop");
    RequireAtLeast("ntr x nts", static_cast<long long>(md.ntr) * md.nts, 2,
                   "the variance of a run needs two sweeps");
}

void CheckSearchSettings(const TRMetropolisDesc& md) {
    CheckAnnealingSettings(md);
    RequireAtLeast("global", md.global, 1, "runs of the global search");
    // A skipped confidence-interval search never reads its count.
    if (!md.skip_fisher)
        RequireAtLeast("conf_interval", md.conf_interval, 1, "runs of the confidence-interval search");
}

void TMetropolis::InitMetropolisDesc(TRMetropolisDesc& md, double temp_metropolis) {
    md.temp0 = temp_metropolis;
    md.tempf = temp_metropolis;
    md.tT = 4.0;
    md.bgeup = 1.01;
    md.bgedown = 0.99;
}

bool TMetropolis::Metropolise(TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des, TUniDistrib& Unid,
                              bool conf_interval_loop, TSensitivityOutput* sensitivity) {
    CheckAnnealingSettings(Met_des);
    CheckParameterSlots(fun_des);
    if (conf_interval_loop && sensitivity == nullptr)
        throw EOrvexError("The confidence-interval search has no sensitivity file");

    Schedule schedule = StartSchedule(Met_des);
    Met_des.pacc = 0.0;
    fun_des.curr_result = f(fun_des);
    if (fun_des.curr_result > fun_des.best_result) KeepBest(fun_des);

    double sm = 0.0;
    double ssq = 0.0;
    long long nATT = 0;
    HeldRows held(fun_des.nb_of_parameters + 1, conf_interval_loop);
    for (int loop = Met_des.ntr - 1; loop >= 0; --loop) {
        schedule.Cool();
        for (int sweep = Met_des.nts - 1; sweep >= 0; --sweep) {
            for (TRVarInfo& v : Parameters(fun_des)) {
                PauseGate();
                if (Terminated()) return false;
                if (std::fabs(v.step) > 0.0) {
                    ++nATT;
                    if (MoveParameter(*this, fun_des, v, Met_des, Unid, schedule.temp)) Met_des.pacc += 1.0;
                }
                if (conf_interval_loop) held.Add(fun_des, loop == 0 && sweep == 0, *sensitivity);
            }
            sm += fun_des.curr_result;
            ssq += fun_des.curr_result * fun_des.curr_result;
        }
    }

    const double n = static_cast<double>(Met_des.ntr) * Met_des.nts;
    fun_des.mean_result = sm / n;
    fun_des.var_result = (ssq - fun_des.mean_result * fun_des.mean_result * n) / (n - 1.0);
    Met_des.pacc = nATT > 0 ? Met_des.pacc / static_cast<double>(nATT) : 0.0;
    return true;
}
