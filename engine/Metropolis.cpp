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

} // namespace

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
    const int nb = fun_des.nb_of_parameters;
    if (nb < 0 || nb > static_cast<int>(fun_des.var_info.size()))
        throw EOrvexError("The optimisation problem has " + IntToStr(nb) + " parameters but " +
                          IntToStr(static_cast<long long>(fun_des.var_info.size())) + " slots");
    if (conf_interval_loop && sensitivity == nullptr)
        throw EOrvexError("The confidence-interval search has no sensitivity file");

    const double temp0 = Met_des.temp0;
    const double tempf = Met_des.tempf;
    double beta = 0.0;
    double temp = temp0;
    if ((temp0 == 0.0) != (tempf == 0.0)) {
        const std::string line = "ERROR in metropolise: temp0,tempf=" + FloatToStrGeneral(temp0) + " " +
                                 FloatToStrGeneral(tempf) + "\n";
        std::fputs(line.c_str(), stdout);
        // A zero temperature asks for pure descent. Its reciprocal is infinite, so the schedule's
        // own limit is a run at 0 from the first loop; temp0 = 0 stays at 0 anyway.
        temp = 0.0;
    } else if (temp0 != 0.0) {
        // Reciprocal temperature grows by beta per loop, so the last loop runs at tempf.
        beta = (temp0 - tempf) / (static_cast<double>(Met_des.ntr) * temp0 * tempf);
    }

    Met_des.pacc = 0.0;
    auto keepBest = [&fun_des, nb] {
        fun_des.best_result = fun_des.curr_result;
        for (int i = 0; i < nb; ++i)
            fun_des.var_info[i].bestvalue = fun_des.var_info[i].value;
    };

    fun_des.curr_result = f(fun_des);
    if (fun_des.curr_result > fun_des.best_result) keepBest();

    double sm = 0.0;
    double ssq = 0.0;
    long long nATT = 0;
    const int width = nb + 1;
    std::vector<double> held; // sensitivity rows not yet written; dropped if f raises
    if (conf_interval_loop) held.reserve(SENSITIVITY_BLOCK * width);

    for (int loop = Met_des.ntr - 1; loop >= 0; --loop) {
        temp = temp / (1.0 + beta * temp);
        if (temp < 0.0) temp = 0.0;
        for (int sweep = Met_des.nts - 1; sweep >= 0; --sweep) {
            for (int i = 0; i < nb; ++i) {
                PauseGate();
                if (Terminated()) return false;
                TRVarInfo& v = fun_des.var_info[i];
                if (std::fabs(v.step) > 0.0) {
                    ++nATT;
                    double uni = Unid.newRandom();
                    const double savedvalue = v.value;
                    bool acc = false;
                    if (uni != 0.0 && uni != 1.0) {
                        v.value = v.value + (uni - 0.5) * v.step;
                        if (v.value >= v.minBound && v.value <= v.maxBound) {
                            const double newfresult = f(fun_des);
                            double df = newfresult - fun_des.curr_result;
                            if (temp > 0.0) {
                                df /= temp;
                                if (df > 0.0) {
                                    acc = true;
                                } else if (df >= -1.0) {
                                    uni = Unid.newRandom();
                                    acc = uni != 0.0 && uni != 1.0 && std::log(uni) < df;
                                }
                            } else {
                                acc = df > 0.0;
                            }
                            if (acc) {
                                fun_des.curr_result = newfresult;
                                v.step *= Met_des.bgeup;
                                if (newfresult > fun_des.best_result) keepBest();
                                Met_des.pacc += 1.0;
                            }
                        }
                    }
                    if (!acc) {
                        v.value = savedvalue;
                        v.step *= Met_des.bgedown;
                    }
                }
                if (conf_interval_loop) {
                    for (int k = 0; k < nb; ++k)
                        held.push_back(fun_des.var_info[k].value);
                    held.push_back(-fun_des.curr_result);
                    const bool lastSweep = loop == 0 && sweep == 0;
                    if (held.size() >= SENSITIVITY_BLOCK * width || lastSweep) {
                        sensitivity->WriteRows(held, width);
                        held.clear();
                    }
                }
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
