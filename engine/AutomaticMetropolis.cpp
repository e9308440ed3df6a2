#include "AutomaticMetropolis.h"

#include <cmath>
#include <string>
#include <vector>

#include "Metropolis.h"
#include "MyMetropolis.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"
#include "RandomDistrib.h"
#include "SearchProgress.h"
#include "SensitivityFile.h"

namespace {

// Runs of the local search after the first; it ends earlier once a run gains less than precision.
constexpr int LOCAL_SEARCH_MAX = 50;
// The start point is displaced this many times before the search.
constexpr int DEMEMO_STEPS = 10;

std::string Num(double x) {
    return FloatToStrGeneral(x, 15);
}

class Stages {
public:
    Stages(TMetropolis& opt, TRFunctionDesc& fd, TRMetropolisDesc& md, TUniDistrib& rand,
           TSearchProgress& progress)
        : opt_(opt), fd_(fd), md_(md), rand_(rand), progress_(progress), display_(!CONSOLE_MODE),
          nb_(fd.nb_of_parameters) {}

    // Safe point between two annealing runs.
    bool Go() {
        opt_.PauseGate();
        return !opt_.Terminated();
    }
    bool Run(bool conf_interval_loop = false, TSensitivityFile* sensitivity = nullptr) {
        return Go() && opt_.Metropolise(fd_, md_, rand_, conf_interval_loop, sensitivity);
    }

    void Show(int line, std::string text) {
        if (display_) progress_.Set(line, std::move(text));
    }
    // Lines first + 1 .. first + nb: name ":" then the value that get picks from the slot.
    template <class Get> void ShowParameters(int first, Get get) {
        if (!display_) return;
        for (int i = 1; i <= nb_; ++i) {
            const TRVarInfo& v = fd_.var_info[static_cast<std::size_t>(i - 1)];
            progress_.Set(first + i, v.name + ":" + Num(get(v)));
        }
    }
    void ForEach(void (*op)(TRVarInfo&)) {
        for (int i = 0; i < nb_; ++i)
            op(fd_.var_info[static_cast<std::size_t>(i)]);
    }

    int nb() const { return nb_; }

private:
    TMetropolis& opt_;
    TRFunctionDesc& fd_;
    TRMetropolisDesc& md_;
    TUniDistrib& rand_;
    TSearchProgress& progress_;
    bool display_;
    int nb_;
};

void KeepBestAsLast(TRVarInfo& v) {
    v.lastvalue = v.bestvalue;
}
void BackToLast(TRVarInfo& v) {
    v.value = v.lastvalue;
}
void BestWithWideStep(TRVarInfo& v) {
    // The global stage's rejections shrank the steps; the local descent starts wide again.
    v.value = v.bestvalue;
    v.step = v.step * 1000.0;
}

} // namespace

void dememo(TRFunctionDesc& fun_des, int nb_pas, TUniDistrib& rd) {
    const double uni = rd.newRandom();
    for (int pass = 0; pass < nb_pas; ++pass) {
        for (int i = 0; i < fun_des.nb_of_parameters; ++i) {
            TRVarInfo& v = fun_des.var_info[static_cast<std::size_t>(i)];
            const double valuepot = v.value + (uni - 0.5) * v.step;
            if (v.minBound < valuepot && valuepot < v.maxBound) v.value = valuepot;
        }
    }
}

bool AutoMetropolis(TMyMetropolis& aMetropolis, TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des,
                    TUniDistrib& rand, int rep, TSensitivityFile* f_sensitivity,
                    TSearchProgress& metropolisProgress, TRFunctionDesc& bestFit_D) {
    aMetropolis.SetModelParameters(fun_des);
    return StagedSearch(aMetropolis, fun_des, Met_des, rand, rep, f_sensitivity, metropolisProgress,
                        bestFit_D);
}

bool StagedSearch(TMetropolis& aMetropolis, TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des,
                  TUniDistrib& rand, int rep, TSensitivityFile* f_sensitivity,
                  TSearchProgress& metropolisProgress, TRFunctionDesc& bestFit_D) {
    CheckSearchSettings(Met_des);
    const int nb = fun_des.nb_of_parameters;
    if (nb < 0 || nb > static_cast<int>(fun_des.var_info.size()))
        throw EOrvexError("The optimisation problem has " + IntToStr(nb) + " parameters but " +
                          IntToStr(static_cast<long long>(fun_des.var_info.size())) + " slots");
    const bool confidenceStage = rep >= Met_des.nb_repetitions && !Met_des.skip_fisher;
    if (confidenceStage && f_sensitivity == nullptr)
        throw EOrvexError("The confidence-interval search has no sensitivity file");

    Stages s(aMetropolis, fun_des, Met_des, rand, metropolisProgress);
    metropolisProgress.Clear(1, metropolisProgress.Count() - 1); // line 0 is the fit's title

    dememo(fun_des, DEMEMO_STEPS, rand);

    // Warm-up at the start temperature.
    if (!s.Run()) return false;
    double LastResult = fun_des.best_result;
    s.ForEach(KeepBestAsLast);

    // Very global search: runs at the start temperature, keeping the best point.
    for (int k = 1; k <= Met_des.veryglob; ++k) {
        s.Show(3, "Very global search: " + IntToStr(k));
        if (!s.Run()) return false;
        if (fun_des.best_result > LastResult) {
            LastResult = fun_des.best_result;
            s.Show(4, "SSres: " + Num(-fun_des.best_result));
            s.ShowParameters(4, [](const TRVarInfo& v) { return v.bestvalue; });
        }
        s.ForEach(KeepBestAsLast);
    }
    s.ForEach(BackToLast);

    // Global search: every run cools from temp0 to tempf, and tempf follows the specific heat
    // of the last run (its variance over the square of its temperature).
    for (int t = 1;; ++t) {
        if (!s.Run()) return false;
        const double specific_Heat =
            Met_des.tempf > 0.0 ? fun_des.var_result / (Met_des.tempf * Met_des.tempf) : 0.0;
        s.Show(nb + 6, "Global Search: " + IntToStr(t));
        s.Show(nb + 7, "Metropolis Temp:" + Num(Met_des.tempf));
        s.Show(nb + 8, "SSres: " + Num(-fun_des.best_result));
        s.ShowParameters(nb + 8, [](const TRVarInfo& v) { return v.bestvalue; });
        if (specific_Heat > 0.0) {
            const double tempt = Met_des.tempf - Met_des.tT * Met_des.climbrate / specific_Heat;
            const double r = tempt / Met_des.tempf;
            if (r > 0.999) Met_des.climbrate = Met_des.climbrate * 5.0;
            if (r < 0.7) Met_des.climbrate = Met_des.climbrate / 5.0;
            Met_des.tempf = Met_des.tempf - Met_des.tT * Met_des.climbrate / specific_Heat;
        }
        s.ForEach(KeepBestAsLast);
        if (Met_des.tempf <= 0.0 || Met_des.climbrate <= 0.0 || t == Met_des.global) break;
    }

    // Local search: pure descent from the best point.
    s.ForEach(BestWithWideStep);
    Met_des.temp0 = 0.0;
    Met_des.tempf = 0.0;
    for (int t = 1;; ++t) {
        s.Show(2 * nb + 10, "Local search:" + IntToStr(t));
        s.Show(2 * nb + 11, "SSres:" + Num(-fun_des.best_result));
        s.ShowParameters(2 * nb + 11, [](const TRVarInfo& v) { return v.bestvalue; });
        LastResult = fun_des.best_result;
        if (!s.Run()) return false;
        // A run that found nothing better shrinks the steps faster on rejection from now on.
        if (fun_des.best_result <= LastResult) Met_des.bgedown = Met_des.bgedown * 0.9;
        if (std::fabs(fun_des.best_result - LastResult) < Met_des.precision || t > LOCAL_SEARCH_MAX) break;
    }

    if (bestFit_D.var_info.size() < static_cast<std::size_t>(nb))
        bestFit_D.var_info.resize(static_cast<std::size_t>(nb));
    if (fun_des.best_result > fun_des.best_overall_result) {
        fun_des.best_overall_result = fun_des.best_result;
        bestFit_D.best_overall_result = fun_des.best_result;
        for (int i = 0; i < nb; ++i) {
            const double best = fun_des.var_info[static_cast<std::size_t>(i)].bestvalue;
            fun_des.var_info[static_cast<std::size_t>(i)].best_overall_value = best;
            bestFit_D.var_info[static_cast<std::size_t>(i)].best_overall_value = best;
        }
    }

    if (!confidenceStage) return true;

    // Confidence-interval search: a walk at a fixed temperature around the best point, every
    // visited point going to the sensitivity file.
    if (!s.Go()) return false;
    std::vector<double> first;
    for (int i = 0; i < nb; ++i) {
        TRVarInfo& v = fun_des.var_info[static_cast<std::size_t>(i)];
        v.value = bestFit_D.var_info[static_cast<std::size_t>(i)].best_overall_value;
        v.step = (v.maxBound - v.minBound) / 5.0;
        if (v.step == 0.0) v.step = 10.0;
        first.push_back(v.value);
    }
    first.push_back(std::fabs(fun_des.best_overall_result));
    f_sensitivity->WriteLineAndFlush(first);
    Met_des.temp0 = Met_des.temp_confint;
    Met_des.tempf = Met_des.temp_confint;
    for (int t = 1;; ++t) {
        if (!s.Run(true, f_sensitivity)) return false;
        s.Show(3 * nb + 13, "Confidence Interval Search: " + IntToStr(t));
        s.Show(3 * nb + 14, "SSres: " + Num(-fun_des.curr_result));
        s.ShowParameters(3 * nb + 14, [](const TRVarInfo& v) { return v.value; });
        if (Met_des.climbrate <= 0.0 || t == Met_des.conf_interval) break;
    }
    return true;
}
