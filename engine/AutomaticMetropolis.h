#pragma once
// One repetition of a fit's search: a start-point displacement, then a warm-up, the very
// global search, the global search with adaptive cooling, the local search and (on the last
// repetition, unless skipped) the confidence-interval search that fills the sensitivity file.

#include "OrvexRawTypes.h"

class TMetropolis;
class TMyMetropolis;
class TSearchProgress;
class TSensitivityFile;
class TUniDistrib;

// Moves every parameter nb_pas times by (uni - 0.5) x step, one draw uni for all of them;
// a move that would reach a bound or beyond is not made.
void dememo(TRFunctionDesc& fun_des, int nb_pas, TUniDistrib& rd);

// The search of repetition rep (from 1) of a fit. fun_des is the repetition's problem;
// bestFit_D carries the best point from repetition to repetition; Met_des keeps the changes
// to tempf, temp0, climbrate, bgedown and pacc. f_sensitivity may be null unless this is the
// confidence-interval repetition (rep >= nb_repetitions and skip_fisher false).
// Raises EOrvexError on settings that cannot run (CheckSearchSettings) and passes the
// objective's errors on. Returns false when stopped through the optimiser's Terminated().
bool AutoMetropolis(TMyMetropolis& aMetropolis, TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des,
                    TUniDistrib& rand, int rep, TSensitivityFile* f_sensitivity,
                    TSearchProgress& metropolisProgress, TRFunctionDesc& bestFit_D);

// The same stages for any objective; AutoMetropolis first writes the start point into the
// model and then calls this.
bool StagedSearch(TMetropolis& aMetropolis, TRFunctionDesc& fun_des, TRMetropolisDesc& Met_des,
                  TUniDistrib& rand, int rep, TSensitivityFile* f_sensitivity,
                  TSearchProgress& metropolisProgress, TRFunctionDesc& bestFit_D);
