#pragma once
// The objective of a fit: runs the model on every fit-information row and returns minus the
// sum of squared differences between predicted and observed phase dates, marking on the way
// which observations were scored.

#include <exception>
#include <memory>
#include <vector>

#include "FitRows.h"
#include "Metropolis.h"
#include "OrvexRawTypes.h"
#include "RowThreadChoice.h"
#include "RowWorkers.h"

class TMetaModel;
class TWeather;

// The observations the last evaluation could not score, and why.
struct TUnscoredRows {
    int observations = 0;     // each counted at its penalty
    int maxMissing = 0;       // largest missing-value count of their runs
    bool outsideData = false; // some run met days beyond the climate data
};

class TMyMetropolis : public TMetropolis {
public:
    // p_pheno is held by reference: the fit thread reads the scored marks (dates[c].fits) that
    // f writes, so it must outlive this object. The fit rows are copied.
    // p_fit_left_id: the 1-based fit row left out of a leave-one-out pass, -1 when none.
    // p_rows: Rows() of an earlier objective of the same model, data, fit rows and threshold (a
    // fit's earlier pass), or null to work them out here.
    TMyMetropolis(TMetaModel& p_model, const TWeather& p_wea, TRPhenoInfos& p_pheno, const TRFitInfo& p_fit,
                  int p_missing_threshold, int p_fit_left_id,
                  std::shared_ptr<const TFitRows> p_rows = nullptr);
    ~TMyMetropolis() override;

    // Every candidate is compared on the same observations: those of the rows not left out
    // and not set aside for gaps (below). A row whose run meets more missing values than
    // allowed cannot be scored; each of its observations then adds UnscoredPenalty instead of
    // being dropped, so leaving the climate data never lowers the sum.
    // Raises EOrvexError when a fit row has no phenology row or the sum is not finite, and
    // passes the model's errors on.
    double f(const TRFunctionDesc& fd) override;

    // At least the square of any scored deviation: f counts a date before -365 as -365, and
    // runs cap dates at 365.
    static double UnscoredPenalty(double observed);
    const TUnscoredRows& Unscored() const { return unscored_; }
    // Rows set aside for every candidate because the climate data holds more missing values
    // than allowed on the days their runs can read whatever the parameters (RowGaps): their
    // number, the largest count among them, and whether one meets days before the data.
    int GapRows() const { return rows_->gapRows; }
    int MaxGapCount() const { return rows_->maxGapCount; }
    bool GapOutsideData() const { return rows_->gapOutsideData; }
    // The rows matched and set aside, for the next pass of the fit.
    std::shared_ptr<const TFitRows> Rows() const { return rows_; }

    // Rows of one evaluation run on this many threads, each with a copy of the model made at
    // the first evaluation on threads, and their deviations are added in row order, so results
    // are the same to the bit. 0 (the default) leaves the count to ThreadChoice(), per
    // evaluation; 1 keeps the rows on the calling thread. Rows without their phenology row, or
    // fewer than two, stay there in any case. Set before the first evaluation.
    void SetWorkers(int workers) { choice_.Request(workers); }
    // Chooses the count when it is left at 0; tests give it cores and a clock of their own.
    TRowThreadChoice& ThreadChoice() { return choice_; }
    // Workers the last evaluation ran on (1: the calling thread alone).
    int LastWorkers() const { return lastWorkers_; }
    // The threads of an earlier objective of the same model and data (a fit's earlier pass),
    // or null; and this one's, null when its rows stay on the calling thread.
    void UseWorkers(std::shared_ptr<TRowWorkers> workers) { rowWorkers_ = std::move(workers); }
    std::shared_ptr<TRowWorkers> Workers() const { return rowWorkers_; }

    // Writes a point into the model (before a search, and after it for the outputs).
    void SetModelParameters(const TRFunctionDesc& fd);

    TMetaModel& model() { return model_; }
    const TWeather& wea() const { return wea_; }
    int missing_threshold() const { return missing_threshold_; }
    int fitLeftID() const { return fitLeftID_; }

private:
    TMetaModel& model_;
    const TWeather& wea_; // not read by f; the climate data the model was linked to
    TRPhenoInfos& pheno_;
    TRFitInfo fit_;
    int missing_threshold_;
    int fitLeftID_;
    const std::shared_ptr<const TFitRows> rows_; // shared with the fit's other passes
    const std::vector<int>& phenoRowOfFit_ = rows_->phenoRowOfFit;
    const std::vector<char>& gapRow_ = rows_->gapRow;
    const bool allMatched_ = rows_->allMatched;
    TUnscoredRows unscored_;

    // What the run of one fit row leaves for the sum; on a cache line of its own, as threads
    // write neighbouring rows.
    struct alignas(64) RowRun {
        int missing = 0, outside = 0;
        long long days = 0; // summed by the run's phases
        std::exception_ptr error;
    };
    TRowThreadChoice choice_;
    int lastWorkers_ = 1;
    std::shared_ptr<TRowWorkers> rowWorkers_;
    std::vector<RowRun> runs_;     // per fit row
    std::vector<double> runDates_; // per fit row, dateStride_ apart (whole cache lines)
    std::size_t dateStride_ = 0;
    std::vector<double> ownDates_;     // a run on the calling thread
    std::vector<double> t0s_, sStars_; // per phase, as the parameter vector sets them

    bool Runs(int p) const; // fit row p (from 1) is run
    // Workers for this evaluation, as the choice and the threads at hand allow; makes the
    // threads the first time they are chosen and sizes the rows' buffers for them. 1: the
    // calling thread alone.
    int PrepareWorkers();
    // Runs fit row p on m, whose phases hold the T0 and S* of the parameter vector: sets the
    // T0s the row picks from its data (the vector's where it has none). Its dates go to `dates`
    // when given.
    void RunRow(TMetaModel& m, int p, RowRun& out, double* dates);
    void SetParametersOnce(const TRFunctionDesc& fd, bool& done);
};
