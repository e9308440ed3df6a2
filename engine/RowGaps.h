#pragma once
// The missing climate values that the runs of one fit row can meet, whatever the parameters.
// A fit counts them once, before its search, and sets aside the rows that hold more than it
// allows, so that every candidate is compared on the same observations.

#include <utility>
#include <vector>

#include "OrvexRawTypes.h"

class TMetaModel;
class TWeatherYear;

struct TRowGaps {
    // At least the missing values that any run of the row meets: for every chain of phases,
    // the most that one run could meet there if each phase could pass its S* on any day. One
    // exception: a fitted T0 is counted from day 1 (or its lower bound, if later) to its upper
    // bound, so a run whose fitted T0 starts before day 1 may meet more; such runs weigh the
    // penalty of a row that cannot be scored.
    int count = 0;
    // A counted missing value lies before day 1 with no climate data there.
    bool outsideData = false;
};

// Counts for the rows of one model, whose phases hold their settings: a T0 picked from the
// phenology data but missing on a row is the phase's own.
class TRowGapCounter {
public:
    // Reads the bounds a fit gives the T0s that parameters move.
    explicit TRowGapCounter(const TMetaModel& model);
    // `year` is the row's own station-year.
    TRowGaps Count(const TWeatherYear& year, const TRPhenoData& row) const;

private:
    const TMetaModel& model_;
    std::vector<std::pair<int, int>> movedStart_; // per phase: the days a moved T0 may start on
};
