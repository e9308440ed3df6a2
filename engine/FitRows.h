#pragma once
// What a fit's objective draws from the fit rows, the phenology rows and the climate data
// alone, whatever the parameters: the same for every pass of a fit, so worked out once and
// shared.

#include <memory>
#include <vector>

#include "OrvexRawTypes.h"

class TMetaModel;
class TWeather;

struct TFitRows {
    // Per fit row, its first phenology row with the same station, provenance and year (from 0),
    // -1 when none. The rows' keys never change during a fit.
    std::vector<int> phenoRowOfFit;
    std::vector<char> gapRow; // per fit row: set aside for gaps (see RowGaps)
    int gapRows = 0;
    int maxGapCount = 0;         // the largest count of the rows set aside
    bool gapOutsideData = false; // one of them meets days before the climate data
    bool allMatched = true;      // every fit row has its phenology row
};

// Matches the fit rows to the phenology rows and sets aside those whose gaps exceed
// `missingThreshold`.
std::shared_ptr<const TFitRows> MatchFitRows(const TMetaModel& model, const TWeather& wea,
                                             const TRPhenoInfos& pheno, const TRFitInfo& fit,
                                             int missingThreshold);
