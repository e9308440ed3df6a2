#include "MyMetropolis.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <unordered_map>

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
      rows_(p_rows != nullptr && p_rows->phenoRowOfFit.size() == fit_.tabFit.size() ? std::move(p_rows)
                                                                                    : MatchRows()) {}

std::shared_ptr<const TFitRows> TMyMetropolis::MatchRows() const {
    // The first phenology row of each key, through a hash map: a fit may have thousands of rows.
    struct KeyHash {
        std::size_t operator()(const std::tuple<int, int, int>& t) const {
            const auto [a, b, c] = t;
            return (static_cast<std::size_t>(static_cast<unsigned>(a)) * 0x9E3779B1u) ^
                   (static_cast<std::size_t>(static_cast<unsigned>(b)) * 0x85EBCA77u) ^
                   static_cast<std::size_t>(static_cast<unsigned>(c)) * 0xC2B2AE3Du;
        }
    };
    std::unordered_map<std::tuple<int, int, int>, int, KeyHash> firstRow;
    for (int k = pheno_.nb_obs() - 1; k >= 0; --k) {
        const TRPhenoData& pr = pheno_.tabPheno[static_cast<std::size_t>(k)];
        firstRow[{pr.station, pr.provenance, pr.year}] = k;
    }
    auto rows = std::make_shared<TFitRows>();
    rows->phenoRowOfFit.reserve(fit_.tabFit.size());
    for (const TRInfoData& fr : fit_.tabFit) {
        const auto at = firstRow.find({fr.station, fr.provenance, fr.year});
        const int found = at == firstRow.end() ? -1 : at->second;
        rows->allMatched = rows->allMatched && found >= 0;
        rows->phenoRowOfFit.push_back(found);
        bool outside = false;
        const int gaps = found >= 0 ? GapCount(found, outside) : 0;
        rows->gapRow.push_back(gaps > missing_threshold_ ? 1 : 0);
        if (gaps > missing_threshold_) {
            ++rows->gapRows;
            rows->maxGapCount = std::max(rows->maxGapCount, gaps);
            rows->gapOutsideData = rows->gapOutsideData || outside;
        }
    }
    return rows;
}

TMyMetropolis::~TMyMetropolis() = default;

double TMyMetropolis::UnscoredPenalty(double observed) {
    const double d = LAST_RUN_DAY + std::fabs(observed);
    return d * d;
}

int TMyMetropolis::GapCount(int k, bool& outside) const {
    // Gaps depend on the data alone, so they are judged once, on the row's own year from the
    // first day a run can start to the last it can reach, whatever the parameters: a run
    // that would cross them is not set against one that would not.
    const TRPhenoData& row = pheno_.tabPheno[static_cast<std::size_t>(k)];
    if (row.dates.empty() || k >= static_cast<int>(pheno_.tabWeatherIdx.size())) return 0;
    const int w = pheno_.tabWeatherIdx[static_cast<std::size_t>(k)];
    if (w < 0 || w >= wea_.NbYears() || model_.PhasesArr.empty()) return 0;
    const TWeatherYear& year = wea_.Year(w);

    // Per phase, the days its runs can read whatever the parameters: from its T0 when no
    // parameter moves it (else day 1) to the day before its observation's limit (day 364
    // without one), the first day being summed in any case. A phase that follows the previous
    // one may also start the day after that one's last day, or after its failure on the day
    // sixty days after its own observation (365 without one).
    struct Span {
        int from = 1, to = LAST_RUN_DAY - 1;
        bool follows = false; // never reads a day the previous phase reads in the same run
    };
    std::vector<Span> spans;
    for (std::size_t i = 0; i < model_.PhasesArr.size(); ++i) {
        const TPhase& ph = *model_.PhasesArr[i];
        const int c = ph.phenoDataColumn;
        const double obs = ph.usedToFit && c >= 0 && c < static_cast<int>(row.dates.size())
                               ? row.dates[static_cast<std::size_t>(c)].date
                               : MISSING;
        Span s;
        if (obs != MISSING)
            s.to = static_cast<int>(std::clamp(std::ceil(std::min(obs + 60.0, 365.0)) - 1.0,
                                               double(FIRST_RUN_DAY - 1), double(LAST_RUN_DAY - 1)));
        if (ph.t0Mode == TPhaseT0Mode::PickedFromPrevPhase) {
            s.from = 0;
            if (i > 0) {
                const Span& prev = spans.back();
                s.follows = true;
                s.from = prev.from;
                const int afterFailure =
                    obs == MISSING
                        ? LAST_RUN_DAY
                        : static_cast<int>(std::clamp(std::nearbyint(obs + 60.0), double(FIRST_RUN_DAY),
                                                      double(LAST_RUN_DAY)));
                s.to = std::max({s.to, std::min(prev.to + 1, LAST_RUN_DAY), afterFailure});
            }
        } else {
            double t0 = MISSING;
            if (ph.photoperiodMode == TPhotoperiodMode::No) {
                if (ph.t0Mode == TPhaseT0Mode::Fixed) t0 = ph.t0;
                const int tc = ph.t0DataColumn;
                if (ph.t0Mode == TPhaseT0Mode::PickedFromPheno && tc >= 0 &&
                    tc < static_cast<int>(row.dates.size()))
                    t0 = row.dates[static_cast<std::size_t>(tc)].date;
            }
            // A T0 that no parameter moves may start before day 1, in the previous year's data
            // or before any.
            if (t0 != MISSING)
                s.from = static_cast<int>(std::clamp(std::nearbyint(t0), double(FIRST_RUN_DAY), 400.0));
            if (i > 0 && ph.phaseLinkMode != TPhaseLinkMode::Sequential)
                s.from = std::max(s.from, spans.back().from);
        }
        s.to = std::min(std::max(s.to, s.from), LAST_RUN_DAY);
        spans.push_back(s);
    }
    int first = LAST_RUN_DAY + 1, last = FIRST_RUN_DAY - 1;
    for (const Span& s : spans) {
        first = std::min(first, s.from);
        last = std::max(last, s.to);
    }

    int count = 0;
    for (int d = first; d <= last; ++d) {
        const TRWeatherDay& wd = year.GetDay(d);
        // Phases that follow one another sum a day once: the one missing most counts. A phase
        // with a T0 of its own may sum it as well.
        int dayCount = 0, chain = 0;
        for (std::size_t i = 0; i < spans.size(); ++i) {
            if (!spans[i].follows) {
                dayCount += chain;
                chain = 0;
            }
            if (d < spans[i].from || d > spans[i].to) continue;
            int n = 0;
            for (const auto& fn : model_.PhasesArr[i]->functions) {
                const int col = fn->GetWeatherDataColumn();
                if (col < 0) continue;
                bool missing = GetWeatherDayDataAt(wd, col) == MISSING;
                if (!missing && fn->tempHour)
                    missing = wd._tmn == MISSING || wd._tmx == MISSING || year.DayValue(1, d + 1) == MISSING;
                n += missing ? 1 : 0;
            }
            chain = std::max(chain, n);
        }
        dayCount += chain;
        count += dayCount;
        int at = d;
        if (dayCount > 0 && d < 1) outside = outside || year.Locate(at) == nullptr;
    }
    return count;
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
            rowWorkers_->pool->ForEach(nbFit, [&](int w, int i) {
                if (!Runs(i + 1)) return;
                RowRun& out = runs_[static_cast<std::size_t>(i)];
                try {
                    RunRow(*rowWorkers_->copies[static_cast<std::size_t>(w)], i + 1, out,
                           runDates_.data() + static_cast<std::size_t>(i) * dateStride_);
                } catch (...) {
                    out.error = std::current_exception();
                }
            }, use);
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
