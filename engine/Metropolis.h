#pragma once
// Simulated-annealing core of a fit: temperature loops of sweeps over every parameter, one
// parameter moved at a time, each move judged by a truncated Metropolis test. The objective
// is maximised (a fit's objective is minus a sum of squares).

#include <atomic>
#include <span>

#include "OrvexRawTypes.h"

class TUniDistrib;

// Receives the points visited in confidence mode: rows of nb_of_parameters values followed
// by the sum of squares at that point.
class TSensitivityOutput {
public:
    virtual ~TSensitivityOutput() = default;
    // values holds values.size() / width rows of width numbers each.
    virtual void WriteRows(std::span<const double> values, int width) = 0;
};

// Raises EOrvexError for settings of one annealing run that would divide by zero or do
// nothing: ntr or nts below 1, or fewer than 2 sweeps in all (the variance needs two).
void CheckAnnealingSettings(const TRMetropolisDesc& md);
// The above, plus the staged search's own counts: global and conf_interval below 1 would
// make their stages loop until a temperature runs out, or for ever (conf_interval only
// matters when the confidence-interval search is not skipped).
void CheckSearchSettings(const TRMetropolisDesc& md);

// Raises EOrvexError when nb_of_parameters is negative or beyond the slots of var_info.
void CheckParameterSlots(const TRFunctionDesc& fd);
// The first nb_of_parameters slots of var_info, the parameters a search moves.
std::span<TRVarInfo> Parameters(TRFunctionDesc& fd);
std::span<const TRVarInfo> Parameters(const TRFunctionDesc& fd);

class TMetropolis {
public:
    virtual ~TMetropolis() = default;
    TMetropolis(const TMetropolis&) = delete;
    TMetropolis& operator=(const TMetropolis&) = delete;

    // The objective at the parameter values of fd; larger is better.
    virtual double f(const TRFunctionDesc& fd) = 0;

    // Start and final temperature both temp_metropolis; tT 4.0, bgeup 1.01, bgedown 0.99.
    // Every other field stays.
    static void InitMetropolisDesc(TRMetropolisDesc& md, double temp_metropolis);

    // One annealing run. Updates every value, step and bestvalue of fun_des and its
    // curr_result, best_result, mean_result, var_result; of Met_des only pacc.
    // In confidence mode every visited point goes to sensitivity (which may then not be null).
    // Returns false when stopped through Terminated(): the point and best point are then
    // consistent, mean_result and var_result are left as they were, and pacc holds the count
    // of accepted moves rather than the rate. Rows held for the sensitivity output are dropped.
    bool Metropolise(TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des, TUniDistrib& Unid,
                     bool conf_interval_loop, TSensitivityOutput* sensitivity);

    // A stop flag read at every parameter visit; null means never stopped.
    void SetStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

    // Safe points of a run (before every parameter visit): the run blocks in PauseGate while
    // paused, then ends when Terminated() is true. The staged search checks them too.
    virtual void PauseGate() {}
    virtual bool Terminated() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

protected:
    TMetropolis() = default;

private:
    const std::atomic<bool>* stop_ = nullptr;
};
