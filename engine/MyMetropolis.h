#pragma once
// The objective of a fit: runs the model on every fit-information row and returns minus the
// sum of squared differences between predicted and observed phase dates, marking on the way
// which observations were scored.

#include <vector>

#include "Metropolis.h"
#include "OrvexRawTypes.h"

class TMetaModel;
class TWeather;

class TMyMetropolis : public TMetropolis {
public:
    // p_pheno is held by reference: the fit thread reads the scored marks (dates[c].fits) that
    // f writes, so it must outlive this object. The fit rows are copied.
    // p_fit_left_id: the 1-based fit row left out of a leave-one-out pass, -1 when none.
    TMyMetropolis(TMetaModel& p_model, const TWeather& p_wea, TRPhenoInfos& p_pheno, const TRFitInfo& p_fit,
                  int p_missing_threshold, int p_fit_left_id);

    // Raises EOrvexError when a fit row has no phenology row, and passes the model's errors on.
    double f(const TRFunctionDesc& fd) override;

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
    // Per fit row, its first phenology row with the same station, provenance and year (from 0),
    // -1 when none. The rows' keys never change during a fit.
    std::vector<int> phenoRowOfFit_;
};
