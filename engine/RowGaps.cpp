#include "RowGaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "MetaModel.h"
#include "Weather.h"

// How a run walks the days (see MetaModelRun): phases come in chains, a phase with a T0 of
// its own followed by the phases that take their T0 from the previous one; separate chains
// may sum the same days, so their counts add up. Within a chain each phase sums from the day
// after the previous one's last day until it passes its S* (on any day, as far as the count
// knows) or fails on the last day before its observation's limit; once one has failed, each
// later phase of the chain sums one day alone, sixty days after its own observation (day
// 365 without one), a day an earlier phase may have summed already. The count is the most
// missing values over every such way through the days: exact for the chain, given the days
// its first phase may start on.

namespace {

constexpr int NO_DAY_LEFT = LAST_RUN_DAY + 1; // a phase that starts here sums nothing and fails

std::size_t Slot(int day) {
    return static_cast<std::size_t>(day - FIRST_RUN_DAY);
}

int ToDay(double d) {
    return static_cast<int>(std::clamp(d, double(FIRST_RUN_DAY), double(LAST_RUN_DAY)));
}

// The days one phase of a run can reach.
struct PhaseReach {
    bool follows = false;           // its T0 is the end of the previous phase: one chain with it
    int lastDay = 0;                // it stops after this day at the latest, unless it starts later
    int from = 0, to = 0;           // the days it may sum while no earlier phase of its chain has failed
    int firstFrom = 0, firstTo = 0; // the days a chain's first phase may start on
    int afterFrom = 0, afterTo = 0; // the one day it sums after one has, among these
    int earliest = 0, latest = 0;   // the days it may start on, in any case
};

// The observation that bounds the phase on this row, MISSING for none.
double ObservationOf(const TPhase& ph, const TRPhenoData& row) {
    const int c = ph.phenoDataColumn;
    return ph.usedToFit && c >= 0 && c < static_cast<int>(row.dates.size())
               ? row.dates[static_cast<std::size_t>(c)].date
               : MISSING;
}

// The days a phase with a T0 of its own may start on: its fixed T0, or the row's, or the
// phase's own when the row has none; `moved` when a parameter moves it.
void OwnStart(const TPhase& ph, const TRPhenoData& row, std::pair<int, int> moved, int& from, int& to) {
    if (ph.t0Mode == TPhaseT0Mode::Fitted || ph.photoperiodMode != TPhotoperiodMode::No) {
        from = moved.first;
        to = moved.second;
        return;
    }
    double t0 = ph.t0;
    const int tc = ph.t0DataColumn;
    // A row without its T0 runs from the phase's own, which no parameter moves.
    if (ph.t0Mode == TPhaseT0Mode::PickedFromPheno && tc >= 0 && tc < static_cast<int>(row.dates.size()) &&
        row.dates[static_cast<std::size_t>(tc)].date != MISSING)
        t0 = row.dates[static_cast<std::size_t>(tc)].date;
    from = to = ToDay(std::nearbyint(t0));
}

std::vector<PhaseReach> ReachOfPhases(const TMetaModel& model, const std::vector<std::pair<int, int>>& moved,
                                      const TRPhenoData& row) {
    std::vector<PhaseReach> reach;
    for (std::size_t i = 0; i < model.PhasesArr.size(); ++i) {
        const TPhase& ph = *model.PhasesArr[i];
        const double obs = ObservationOf(ph, row);
        PhaseReach r;
        // The last day before the limit, sixty days after the observation; day 364 at most.
        r.lastDay = obs == MISSING ? LAST_RUN_DAY - 1 : ToDay(std::ceil(std::min(obs + 60.0, 365.0)) - 1.0);
        const PhaseReach* prev = i > 0 ? &reach.back() : nullptr;
        const bool linked = prev != nullptr && ph.phaseLinkMode != TPhaseLinkMode::Sequential;
        if (ph.t0Mode == TPhaseT0Mode::PickedFromPrevPhase && prev != nullptr) {
            // After the previous phase's last day, which it sums at least once.
            r.follows = true;
            r.from = std::min(prev->from + 1, LAST_RUN_DAY);
            const int latestStart = std::min(prev->to + 1, LAST_RUN_DAY);
            r.to = std::max(r.lastDay, latestStart);
            r.afterFrom = obs == MISSING ? LAST_RUN_DAY : ToDay(std::nearbyint(obs + 60.0));
            // A linked phase starts no earlier than the previous phase did.
            r.afterTo = linked ? std::max(r.afterFrom, prev->latest) : r.afterFrom;
            r.earliest = std::min(r.from, r.afterFrom);
            r.latest = std::max(latestStart, r.afterTo);
        } else {
            if (prev == nullptr && ph.t0Mode == TPhaseT0Mode::PickedFromPrevPhase)
                r.firstFrom = r.firstTo = 0; // no previous phase: the run's first day
            else
                OwnStart(ph, row, moved[i], r.firstFrom, r.firstTo);
            if (linked) {
                r.firstFrom = std::max(r.firstFrom, prev->earliest);
                r.firstTo = std::max(r.firstTo, prev->latest);
            }
            r.from = r.earliest = r.firstFrom;
            r.to = std::max(r.lastDay, r.firstTo);
            r.latest = r.firstTo;
        }
        reach.push_back(r);
    }
    return reach;
}

// Missing values the phase meets on day d: one per function whose climate value is missing,
// or, for an hourly function, the minimum or maximum of the day or the next day's minimum.
int MissingOn(const TPhase& ph, const TWeatherYear& year, int d) {
    int n = 0;
    for (const auto& fn : ph.functions) {
        const int col = fn->GetWeatherDataColumn();
        if (col < 0) continue;
        bool missing = year.DayValue(col, d) == MISSING;
        if (!missing && fn->tempHour)
            missing = year.DayValue(1, d) == MISSING || year.DayValue(2, d) == MISSING ||
                      year.DayValue(1, d + 1) == MISSING;
        n += missing ? 1 : 0;
    }
    return n;
}

// Per start day, the most missing values from a phase to its chain's end.
using Worst = std::array<int, SUM_TAB_SIZE + 1>; // days FIRST_RUN_DAY..NO_DAY_LEFT

} // namespace

TRowGapCounter::TRowGapCounter(const TMetaModel& model) : model_(model) {
    for (const auto& ph : model.PhasesArr) {
        // From day 1 within the bounds a fit gives the T0 (earlier days are not counted); a
        // day length may fall on any day of the year.
        std::pair<int, int> days{1, LAST_RUN_DAY};
        if (ph->t0Mode == TPhaseT0Mode::Fitted && ph->photoperiodMode == TPhotoperiodMode::No) {
            const TRVarInfo bounds = ph->parameterInitT0(false);
            days.first = std::max(1, ToDay(std::nearbyint(bounds.minBound)));
            days.second = std::max(days.first, ToDay(std::nearbyint(bounds.maxBound)));
        }
        movedStart_.push_back(days);
    }
}

TRowGaps TRowGapCounter::Count(const TWeatherYear& year, const TRPhenoData& row) const {
    const TMetaModel& model = model_;
    const std::vector<PhaseReach> reach = ReachOfPhases(model, movedStart_, row);
    TRowGaps gaps;
    auto missingOn = [&](std::size_t i, int d) {
        const int n = MissingOn(*model.PhasesArr[i], year, d);
        int at = d;
        if (n > 0 && d < 1 && !gaps.outsideData) gaps.outsideData = year.Locate(at) == nullptr;
        return n;
    };
    Worst later{}, here{}; // from the next phase on, and from this one
    for (std::size_t head = 0; head < reach.size();) {
        std::size_t end = head + 1;
        while (end < reach.size() && reach[end].follows)
            ++end;
        // Backwards through the chain. `failed`: the most the phases after this one sum, one
        // day each, once a phase has failed.
        int failed = 0;
        later.fill(0);
        for (std::size_t i = end; i-- > head;) {
            const PhaseReach& r = reach[i];
            const bool last = i + 1 == end;
            here[Slot(NO_DAY_LEFT)] = failed;
            for (int s = LAST_RUN_DAY; s >= r.from; --s) {
                // Ends on day s, passing its S* (the next phase starts the day after) or failing
                // (its last day); or, before its last day, goes on to the next.
                const int n = s <= r.to ? missingOn(i, s) : 0;
                const int next = last ? 0 : later[Slot(s + 1)];
                here[Slot(s)] = n + std::max(next, s < r.lastDay ? here[Slot(s + 1)] : failed);
            }
            if (i > head) {
                int worst = 0;
                for (int d = r.afterFrom; d <= r.afterTo; ++d)
                    worst = std::max(worst, missingOn(i, d));
                failed += worst;
            }
            std::swap(later, here);
        }
        int most = 0;
        for (int s = reach[head].firstFrom; s <= reach[head].firstTo; ++s)
            most = std::max(most, later[Slot(s)]);
        gaps.count += most;
        head = end;
    }
    return gaps;
}
