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

// The stages of one repetition, in the order StagedSearch runs them. Each returns false when stopped.
class Stages {
public:
    Stages(TMetropolis& opt, TRFunctionDesc& fd, TRMetropolisDesc& md, TUniDistrib& rand,
           TSearchProgress& progress)
        : opt_(opt), fd_(fd), md_(md), rand_(rand), progress_(progress), display_(!CONSOLE_MODE),
          nb_(fd.nb_of_parameters) {}

    // Warm-up at the start temperature.
    bool WarmUp() {
        if (!Run()) return false;
        ForEach(KeepBestAsLast);
        return true;
    }

    // Runs at the start temperature, keeping the best point.
    bool VeryGlobalSearch() {
        double last = fd_.best_result;
        for (int k = 1; k <= md_.veryglob; ++k) {
            Show(3, "Very global search: " + IntToStr(k));
            if (!Run()) return false;
            if (fd_.best_result > last) {
                last = fd_.best_result;
                Show(4, "SSres: " + Num(-fd_.best_result));
                ShowParameters(4, [](const TRVarInfo& v) { return v.bestvalue; });
            }
            ForEach(KeepBestAsLast);
        }
        ForEach(BackToLast);
        return true;
    }

    // Every run cools from temp0 to tempf, and tempf follows the specific heat of the last run
    // (its variance over the square of its temperature).
    bool GlobalSearch() {
        for (int t = 1;; ++t) {
            if (!Run()) return false;
            const double specific_Heat = md_.tempf > 0.0 ? fd_.var_result / (md_.tempf * md_.tempf) : 0.0;
            Show(nb_ + 6, "Global Search: " + IntToStr(t));
            Show(nb_ + 7, "Metropolis Temp:" + Num(md_.tempf));
            Show(nb_ + 8, "SSres: " + Num(-fd_.best_result));
            ShowParameters(nb_ + 8, [](const TRVarInfo& v) { return v.bestvalue; });
            if (specific_Heat > 0.0) {
                const double tempt = md_.tempf - md_.tT * md_.climbrate / specific_Heat;
                const double r = tempt / md_.tempf;
                if (r > 0.999) md_.climbrate = md_.climbrate * 5.0;
                if (r < 0.7) md_.climbrate = md_.climbrate / 5.0;
                md_.tempf = md_.tempf - md_.tT * md_.climbrate / specific_Heat;
            }
            ForEach(KeepBestAsLast);
            if (md_.tempf <= 0.0 || md_.climbrate <= 0.0 || t == md_.global) return true;
        }
    }

    // Pure descent from the best point.
    bool LocalSearch() {
        ForEach(BestWithWideStep);
        md_.temp0 = 0.0;
        md_.tempf = 0.0;
        for (int t = 1;; ++t) {
            Show(2 * nb_ + 10, "Local search:" + IntToStr(t));
            Show(2 * nb_ + 11, "SSres:" + Num(-fd_.best_result));
            ShowParameters(2 * nb_ + 11, [](const TRVarInfo& v) { return v.bestvalue; });
            const double last = fd_.best_result;
            if (!Run()) return false;
            // A run that found nothing better shrinks the steps faster on rejection from now on.
            if (fd_.best_result <= last) md_.bgedown = md_.bgedown * 0.9;
            if (std::fabs(fd_.best_result - last) < md_.precision || t > LOCAL_SEARCH_MAX) return true;
        }
    }

    // The repetition's best point becomes the overall best when it beats it.
    void KeepOverallBest(TRFunctionDesc& bestFit_D) {
        if (bestFit_D.var_info.size() < static_cast<std::size_t>(nb_))
            bestFit_D.var_info.resize(static_cast<std::size_t>(nb_));
        if (fd_.best_result <= fd_.best_overall_result) return;
        fd_.best_overall_result = fd_.best_result;
        bestFit_D.best_overall_result = fd_.best_result;
        for (int i = 0; i < nb_; ++i) {
            const double best = fd_.var_info[static_cast<std::size_t>(i)].bestvalue;
            fd_.var_info[static_cast<std::size_t>(i)].best_overall_value = best;
            bestFit_D.var_info[static_cast<std::size_t>(i)].best_overall_value = best;
        }
    }

    // A walk at a fixed temperature around the overall best point, every visited point going to
    // the sensitivity file.
    bool ConfidenceIntervalSearch(const TRFunctionDesc& bestFit_D, TSensitivityFile& sensitivity) {
        if (!Go()) return false;
        std::vector<double> first;
        for (int i = 0; i < nb_; ++i) {
            TRVarInfo& v = fd_.var_info[static_cast<std::size_t>(i)];
            v.value = bestFit_D.var_info[static_cast<std::size_t>(i)].best_overall_value;
            v.step = (v.maxBound - v.minBound) / 5.0;
            if (v.step == 0.0) v.step = 10.0;
            first.push_back(v.value);
        }
        first.push_back(std::fabs(fd_.best_overall_result));
        sensitivity.WriteLineAndFlush(first);
        md_.temp0 = md_.temp_confint;
        md_.tempf = md_.temp_confint;
        for (int t = 1;; ++t) {
            if (!Run(true, &sensitivity)) return false;
            Show(3 * nb_ + 13, "Confidence Interval Search: " + IntToStr(t));
            Show(3 * nb_ + 14, "SSres: " + Num(-fd_.curr_result));
            ShowParameters(3 * nb_ + 14, [](const TRVarInfo& v) { return v.value; });
            if (md_.climbrate <= 0.0 || t == md_.conf_interval) return true;
        }
    }

private:
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

    TMetropolis& opt_;
    TRFunctionDesc& fd_;
    TRMetropolisDesc& md_;
    TUniDistrib& rand_;
    TSearchProgress& progress_;
    bool display_;
    int nb_;
};

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
    CheckParameterSlots(fun_des);
    const bool confidenceStage = rep >= Met_des.nb_repetitions && !Met_des.skip_fisher;
    if (confidenceStage && f_sensitivity == nullptr)
        throw EOrvexError("The confidence-interval search has no sensitivity file");

    Stages s(aMetropolis, fun_des, Met_des, rand, metropolisProgress);
    metropolisProgress.Clear(1, metropolisProgress.Count() - 1); // line 0 is the fit's title
    dememo(fun_des, DEMEMO_STEPS, rand);
    if (!s.WarmUp() || !s.VeryGlobalSearch() || !s.GlobalSearch() || !s.LocalSearch()) return false;
    s.KeepOverallBest(bestFit_D);
    return !confidenceStage || s.ConfidenceIntervalSearch(bestFit_D, *f_sensitivity);
}
