#include "MyMetropolis.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "RowPool.h"
#include "Weather.h"

namespace {

constexpr int PREFETCH_ROWS = 1000;

[[noreturn, gnu::noinline]] void RaiseNoColumn(int column, int rowNumber) {
    if (column < 0)
        throw EOrvexError("A phase picks its T0 from the phenology data but names no column for it");
    throw EOrvexError("Phenology row " + IntToStr(rowNumber) + " has no column " + IntToStr(column + 4) +
                      " although the model reads a date there");
}

// Inline: once per phase and row.
inline TRPhenoDate& DateAt(TRPhenoData& row, int column, int rowNumber) {
    if (column < 0 || column >= static_cast<int>(row.dates.size())) [[unlikely]]
        RaiseNoColumn(column, rowNumber);
    return row.dates[static_cast<std::size_t>(column)];
}

} // namespace

TMyMetropolis::TMyMetropolis(TMetaModel& p_model, const TWeather& p_wea, TRPhenoInfos& p_pheno,
                             const TRFitInfo& p_fit, int p_missing_threshold, int p_fit_left_id,
                             std::shared_ptr<const TFitRows> p_rows)
    : model_(p_model), wea_(p_wea), pheno_(p_pheno), fit_(p_fit), missing_threshold_(p_missing_threshold),
      fitLeftID_(p_fit_left_id),
      // Counting the gaps reads every day a row's runs can reach: once per fit, not per pass.
      rows_(p_rows != nullptr && p_rows->phenoRowOfFit.size() == fit_.tabFit.size()
                ? std::move(p_rows)
                : MatchFitRows(p_model, p_wea, p_pheno, p_fit, p_missing_threshold)) {}

TMyMetropolis::~TMyMetropolis() = default;

double TMyMetropolis::UnscoredPenalty(double observed) {
    const double d = LAST_RUN_DAY + std::fabs(observed);
    return d * d;
}

void TMyMetropolis::SetModelParameters(const TRFunctionDesc& fd) {
    model_.setParameters(fd);
}

bool TMyMetropolis::Runs(int p) const {
    const int k = phenoRowOfFit_[static_cast<std::size_t>(p - 1)];
    return k >= 0 && !pheno_.tabPheno[static_cast<std::size_t>(k)].dates.empty() &&
           !gapRow_[static_cast<std::size_t>(p - 1)];
}

int TMyMetropolis::PrepareWorkers() {
    // A row without phenology row stops the evaluation where it stands: kept in order.
    if (!allMatched_ || fit_.nb_fit() < 2) return 1;
    const int chosen = choice_.ChooseForNextEvaluation();
    if (chosen < 2) return 1;
    if (rowWorkers_ == nullptr) {
        rowWorkers_ = std::make_shared<TRowWorkers>(model_, choice_.WorkersToMake());
        choice_.ThreadsMade();
    }
    const int use = std::min(chosen, rowWorkers_->pool->Workers());
    if (use < 2) return 1;
    const std::size_t rows = static_cast<std::size_t>(fit_.nb_fit());
    runs_.resize(rows);
    // Whole cache lines per row: no two threads write one line.
    dateStride_ = (static_cast<std::size_t>(model_.GetNbPhases()) + 7) / 8 * 8;
    runDates_.resize(rows * dateStride_);
    return use;
}

void TMyMetropolis::SetParametersOnce(const TRFunctionDesc& fd, bool& done) {
    if (done) return;
    // A run changes no function parameter and no phase field but T0 and S*, which every row
    // sets again: the rest of the vector is written once per evaluation.
    model_.setParameters(fd);
    t0s_.clear();
    sStars_.clear();
    for (const auto& ph : model_.PhasesArr) {
        t0s_.push_back(ph->t0);
        sStars_.push_back(ph->sStar);
    }
    done = true;
}

void TMyMetropolis::RunRow(TMetaModel& m, int p, RowRun& out, double* dates) {
    const int k = phenoRowOfFit_[static_cast<std::size_t>(p - 1)];
    TRPhenoData& row = pheno_.tabPheno[static_cast<std::size_t>(k)];
    // A run changes no T0 nor S*: only the T0s rows pick are set again.
    for (std::size_t i = 0; i < m.PhasesArr.size(); ++i) {
        TPhase& phase = *m.PhasesArr[i];
        if (phase.t0Mode != TPhaseT0Mode::PickedFromPheno) continue;
        const double t0 = DateAt(row, phase.t0DataColumn, k + 1).date;
        // A missing T0 on this row leaves the one of the parameter vector.
        phase.SetT0(t0 != MISSING ? t0 : t0s_[i]);
    }
    // Rows run one after another: on sets too large to stay in the caches, the next rows'
    // climate is fetched while this one runs.
    if (fit_.nb_fit() >= PREFETCH_ROWS) {
        if (p < fit_.nb_fit()) m.PrefetchRow(phenoRowOfFit_[static_cast<std::size_t>(p)], true);
        if (p + 1 < fit_.nb_fit()) m.PrefetchRow(phenoRowOfFit_[static_cast<std::size_t>(p + 1)], false);
    }
    m.Run(k);
    if (dates != nullptr) std::copy(m.DatePredictedArr.begin(), m.DatePredictedArr.end(), dates);
    out.missing = m.GetNbMissingTemp();
    out.outside = m.GetNbMissingOutsideData();
    out.days = 0;
    for (const auto& ph : m.PhasesArr)
        if (ph->last_date >= ph->first_date) out.days += ph->last_date - ph->first_date + 1;
    out.error = nullptr;
}

double TMyMetropolis::f(const TRFunctionDesc& fd) {
    double sumsquare = 0.0;
    unscored_ = TUnscoredRows{};
    const int nbPhases = model_.GetNbPhases();
    const int nbFit = fit_.nb_fit();
    bool parametersSet = false;
    const double started = choice_.Now();
    const int use = PrepareWorkers();
    const bool parallel = use > 1;
    lastWorkers_ = use;
    ownDates_.resize(static_cast<std::size_t>(nbPhases));
    if (parallel) {
        bool any = false;
        for (int p = 1; p <= nbFit && !any; ++p)
            any = Runs(p);
        if (any) {
            SetParametersOnce(fd, parametersSet);
            for (int w = 0; w < use; ++w) {
                TMetaModel& copy = *rowWorkers_->copies[static_cast<std::size_t>(w)];
                copy.setParameters(fd);
                for (std::size_t i = 0; i < copy.PhasesArr.size(); ++i) {
                    copy.PhasesArr[i]->t0 = t0s_[i];
                    copy.PhasesArr[i]->sStar = sStars_[i];
                }
            }
            rowWorkers_->pool->ForEach(
                nbFit,
                [&](int w, int i) {
                    if (!Runs(i + 1)) return;
                    RowRun& out = runs_[static_cast<std::size_t>(i)];
                    try {
                        RunRow(*rowWorkers_->copies[static_cast<std::size_t>(w)], i + 1, out,
                               runDates_.data() + static_cast<std::size_t>(i) * dateStride_);
                    } catch (...) {
                        out.error = std::current_exception();
                    }
                },
                use);
        }
    }

    RowRun sequential;
    bool overflow = false;
    int lastRun = 0;
    long long days = 0;
    for (int p = 1; p <= nbFit; ++p) {
        const int k = phenoRowOfFit_[static_cast<std::size_t>(p - 1)];
        if (k < 0)
            throw EOrvexError("Failure : station(s) in the fit information file is(are) missing in the "
                              "phenology data file or in wrong order...");
        TRPhenoData& row = pheno_.tabPheno[static_cast<std::size_t>(k)];
        if (!Runs(p)) continue;

        const RowRun* run = &sequential;
        const double* dates = ownDates_.data();
        if (parallel) {
            run = &runs_[static_cast<std::size_t>(p - 1)];
            dates = runDates_.data() + static_cast<std::size_t>(p - 1) * dateStride_;
            // The model itself meets the row's error, as it would have without the threads.
            if (run->error) {
                RunRow(model_, p, sequential, ownDates_.data());
                std::rethrow_exception(run->error);
            }
        } else {
            SetParametersOnce(fd, parametersSet);
            RunRow(model_, p, sequential, nullptr);
            dates = model_.DatePredictedArr.data(); // read before the next row runs
        }
        lastRun = p;
        days += run->days;
        // The row's own run decides: with too many missing temperatures its observations
        // are not scored but weigh their penalty.
        const bool scorable = run->missing <= missing_threshold_;

        for (int j = 0; j < nbPhases; ++j) {
            const TPhase& phase = *model_.PhasesArr[static_cast<std::size_t>(j)];
            const int c = phase.phenoDataColumn;
            if (c < 0) continue;
            TRPhenoDate& obs = DateAt(row, c, k + 1);
            if (p == fitLeftID_) {
                obs.fits = 0;
            } else if (phase.usedToFit) {
                double deviance = 0.0;
                if (obs.date != MISSING) {
                    obs.fits = 1;
                    if (scorable) {
                        // A date before -365 (a sum that falls on a phase's last day interpolates
                        // one far back) counts as -365: no deviation then weighs more than the
                        // penalty of a row that cannot be scored, so leaving the data never pays.
                        // Dates within -365..365 keep their deviation.
                        const double date = dates[j];
                        deviance = std::max(date, double(FIRST_RUN_DAY)) - obs.date;
                        // One whose square overflows still ends the fit: such parameters break
                        // the arithmetic.
                        overflow = overflow || !std::isfinite((date - obs.date) * (date - obs.date));
                    } else {
                        sumsquare += UnscoredPenalty(obs.date);
                        ++unscored_.observations;
                        unscored_.maxMissing = std::max(unscored_.maxMissing, run->missing);
                        unscored_.outsideData = unscored_.outsideData || run->outside > 0;
                        continue;
                    }
                }
                sumsquare += deviance * deviance;
            }
        }
    }
    // The model is left as the last row's run left it: the fit reads its state.
    if (parallel && lastRun > 0) RunRow(model_, lastRun, sequential, ownDates_.data());
    choice_.Measure(choice_.Now() - started, days, parallel);
    if (overflow || !std::isfinite(sumsquare))
        throw EOrvexError("Floating point overflow in the sum of squares of the fit: a predicted date lies "
                          "far outside the year");
    return -sumsquare;
}
