// The daily run: the inner loop of every fit and simulation. Nothing here touches the heap
// unless it raises.

#include <algorithm>
#include <cstddef>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"

namespace {
std::size_t Slot(int day) {
    return static_cast<std::size_t>(day - FIRST_RUN_DAY);
}

const TRWeatherDay& NoDataDay() {
    static const TRWeatherDay day = CreateMissingWeatherDay();
    return day;
}

// One function on a climate column of the day, nothing carried in from the previous phase.
bool IsSimplePhase(const TPhase& ph) {
    if (ph.phaseLinkMode != TPhaseLinkMode::Sequential || ph.functions.size() != 1) return false;
    const TModelFunction& f = *ph.functions[0];
    return !f.tempHour && !f.useDayLengthAsVar && f.varLinkMode != TVarLinkMode::Composition &&
           f.weatherDataColumn >= 0;
}

std::string PhaseName(const TPhase& ph) {
    return "Phase " + IntToStr(ph.index + 1);
}

// The observation that bounds a scored phase of a fit; MISSING when there is none.
double ObservationOf(const TPhase& ph, const TRPhenoData* row) {
    if (row == nullptr || !ph.usedToFit) return MISSING;
    const int c = ph.phenoDataColumn;
    if (c < 0 || c >= static_cast<int>(row->dates.size()))
        throw EOrvexError(PhaseName(ph) + " is used to fit but has no phenology column in the data");
    return row->dates[static_cast<std::size_t>(c)].date;
}

// The previous phase's sum through the overlap function: the S* of an alternating phase that
// overlaps it, or the multiplier or composed value of an overlapping phase. True once the
// previous phase has ended, so its final sum needs no second pass.
bool ApplyOverlap(TPhase& ph, const TPhase& prev, int day, bool overlapsPrev, double& sStar) {
    const int from = prev.last_date >= day ? day : prev.last_date;
    const double r = ph.overlapFunc->Run(prev.sumTab[Slot(from)], OPTIM_LVL);
    switch (ph.phaseLinkMode) {
    case TPhaseLinkMode::Alternating:
        if (overlapsPrev) sStar = r;
        break;
    case TPhaseLinkMode::Overlap_Multiplication:
        ph.overlapMultiplier = r;
        break;
    case TPhaseLinkMode::Overlap_Composition:
        ph.overlapCompVar = r;
        break;
    case TPhaseLinkMode::Sequential:
        break;
    }
    return from != day;
}

[[noreturn, gnu::noinline]] void RaiseNonFinite(double x, const char* what, const TPhase& ph) {
    throw EOrvexError("Floating point " + std::string(std::isnan(x) ? "invalid operation" : "overflow") +
                      " in the " + what + " of " + PhaseName(ph));
}

// Inline: twice per phase and row.
inline void CheckFinite(double x, const char* what, const TPhase& ph) {
    if (!std::isfinite(x)) [[unlikely]]
        RaiseNonFinite(x, what, ph);
}

// Day on which a phase after a failed one starts: sixty days after its observation.
int DayAfterFailure(const TPhase& ph, double obs) {
    const double d = std::nearbyint(obs + 60.0);
    if (d > LAST_RUN_DAY) return LAST_RUN_DAY;
    if (!(d >= FIRST_RUN_DAY))
        throw EOrvexError(PhaseName(ph) + ": the starting day " + FloatToStrGeneral(d) +
                          " lies outside -365..365");
    return static_cast<int>(d);
}

// The first day on which a phase bounded by `limit` has failed: the day loops compare whole
// days with it rather than converting each day to compare with the limit.
int FailDay(double limit) {
    if (!(limit < 365.0)) return 365; // infinite, or no limit at all
    if (!(limit > 2.0 * FIRST_RUN_DAY)) return 2 * FIRST_RUN_DAY;
    // std::ceil without the library call: the limit lies within -730..365 here.
    const int whole = static_cast<int>(limit);
    return whole < limit ? whole + 1 : whole;
}

} // namespace

double TMetaModel::ValueAt(const YearDays& yd, int day, int col) {
    const TWeatherYear* src = yd.src[Slot(day)];
    return src != nullptr ? src->Value(col, yd.at[Slot(day)]) : MISSING;
}

TRWeatherDay TMetaModel::DayAt(const YearDays& yd, int day) {
    const TWeatherYear* src = yd.src[Slot(day)];
    return src != nullptr ? src->Record(yd.at[Slot(day)]) : NoDataDay();
}

void TMetaModel::PrefetchRow(int i_obs, bool days) const {
    if (climate_ == nullptr || !HasPhenoInfo() || i_obs < 0 || i_obs >= static_cast<int>(Pheno.tabWeatherIdx.size()))
        return;
    const int w = Pheno.tabWeatherIdx[static_cast<std::size_t>(i_obs)];
    if (w < 0 || w >= climate_->NbYears()) return;
    const YearDays& yd = climate_->Year(w);
    if (!days) {
        const char* head = reinterpret_cast<const char*>(&yd);
        for (std::size_t b = 0; b < offsetof(YearDays, src); b += 64)
            __builtin_prefetch(head + b);
        return;
    }
    if (PhasesArr.empty() || PhasesArr[0]->functions.empty()) return;
    const TPhase& ph = *PhasesArr[0];
    if (ph.photoperiodMode != TPhotoperiodMode::No || !(ph.t0 >= FIRST_RUN_DAY && ph.t0 <= LAST_RUN_DAY)) return;
    const int day = static_cast<int>(ph.t0);
    for (int k = 0; k < yd.nbSegments; ++k) {
        const auto& seg = yd.segments[static_cast<std::size_t>(k)];
        if (day < seg.from || day > seg.to) continue;
        const double* column = seg.columns.Column(ph.functions[0]->weatherDataColumn);
        if (column == nullptr) return;
        const double* first = column + (seg.at0 + (day - seg.from) - 1);
        for (int d = 0; d < 32; d += 8)
            __builtin_prefetch(first + d);
        return;
    }
}

void TMetaModel::Run(int i_obs) {
    if (!initialized)
        throw EOrvexError(
            "The Pheno data have not been initialized : Please call TMetaModel.Initialize(...).");
    const TRPhenoData* row = nullptr;
    const TRSimYear* simYear = nullptr;
    int W_idx = i_obs;
    if (HasPhenoInfo()) {
        if (i_obs < 0 || i_obs >= Pheno.nb_obs() || i_obs >= static_cast<int>(Pheno.tabWeatherIdx.size()))
            throw EOrvexError("There is no phenology row " + IntToStr(i_obs + 1));
        row = &Pheno.tabPheno[static_cast<std::size_t>(i_obs)];
        W_idx = Pheno.tabWeatherIdx[static_cast<std::size_t>(i_obs)];
        if (W_idx < 0 || climate_ == nullptr || W_idx >= climate_->NbYears() ||
            &climate_->Weather() != Pheno.weatherPTR)
            throw EOrvexError("Phenology row " + IntToStr(i_obs + 1) + " (station " + IntToStr(row->station) +
                              ", year " + IntToStr(row->year) + ") has no climate data");
    } else {
        if (Wea == nullptr || climate_ == nullptr || &climate_->Weather() != Wea)
            throw EOrvexError("The model has no climate data to run on");
        if (HasT0SimInfo()) {
            if (i_obs < 0 || i_obs >= static_cast<int>(simInfo.Years.size()))
                throw EOrvexError("There is no T0 line " + IntToStr(i_obs + 1));
            simYear = &simInfo.Years[static_cast<std::size_t>(i_obs)];
            if (simYear->t0_data.size() < PhasesArr.size())
                throw EOrvexError("The T0 line of year " + IntToStr(simYear->year) + " has " +
                                  IntToStr(static_cast<long long>(simYear->t0_data.size())) +
                                  " T0 columns for a model of " + IntToStr(GetNbPhases()) + " phases");
            W_idx = simYear->wea_id;
        }
        if (W_idx < 0 || W_idx >= climate_->NbYears())
            throw EOrvexError("There is no climate year " + IntToStr(W_idx + 1) + " for run " +
                              IntToStr(i_obs + 1));
    }
    RunPhases(climate_->Year(W_idx), row, simYear);
}

void TMetaModel::RunPhases(const YearDays& yd, const TRPhenoData* row, const TRSimYear* simYear) {
    // No state carries from one run to the next: a prediction never depends on which row ran before.
    for (auto& ph : PhasesArr) {
        for (auto& f : ph->functions)
            f->ResetIfStateful();
        ph->overlapFunc->ResetIfStateful();
    }
    nbMissingTemp = 0;
    nbMissingOutside_ = 0;
    RunState st;

    for (std::size_t i = 0; i < PhasesArr.size(); ++i) {
        TPhase& ph = *PhasesArr[i];
        const TPhase* prev = i > 0 ? PhasesArr[i - 1].get() : nullptr;
        const double obs = ObservationOf(ph, row);
        // A T0 line's -9999 means the model's own T0, whatever the lines before said.
        const double t0 = simYear != nullptr && simYear->t0_data[i] != MISSING ? simYear->t0_data[i] : ph.t0;
        StartPhase(ph, prev, t0, obs, yd, st);

        if (st.day > LAST_RUN_DAY) {
            // The previous phase ended on the last day: no day is left to sum, so the phase
            // fails like one that never reaches its S*, its date capped at the end of the year.
            ph.last_date = st.day - 1;
            st.prev_failed = true;
            DatePredictedArr[i] = nbMissingTemp <= maxMissingTemp_ ? 365.0 : MISSING;
            continue;
        }

        // A missing observation sets no limit: the phase may run to the end of the year.
        double limit = std::numeric_limits<double>::infinity();
        if (obs != MISSING) limit = obs + 60.0 > 365.0 ? 365.0 : obs + 60.0;

        const PhaseSums sums = !generalDayLoopOnly && IsSimplePhase(ph)
                                   ? RunSimplePhase(ph, yd, limit, st)
                                   : RunGeneralPhase(ph, prev, yd, limit, st);
        // Non-finite values absorb every later addition, so one test per phase catches any
        // overflow or invalid operation of the daily sums.
        CheckFinite(sums.Sum, "sum", ph);
        DatePredictedArr[i] = PredictedDate(ph, sums, st.day);
    }
}

// Inline: once per phase of every run.
[[gnu::always_inline]] inline void TMetaModel::StartPhase(TPhase& ph, const TPhase* prev, double t0, double obs,
                                                         const YearDays& yd, RunState& st) const {
    if (ph.t0Mode != TPhaseT0Mode::PickedFromPrevPhase) {
        st.day = ph.StartingDayOf(t0, yd.lat, yd.dayLength365, yd.dayLength172);
        st.prev_failed = false;
    } else if (st.prev_failed) {
        st.day = obs != MISSING ? DayAfterFailure(ph, obs) : LAST_RUN_DAY;
    }
    const bool linked = prev != nullptr && ph.phaseLinkMode != TPhaseLinkMode::Sequential;
    if (linked && prev->first_date > st.day) st.day = prev->first_date;
    ph.first_date = st.day;
}

// The general loop below for one function on a climate column, without its per-day dispatch.
TMetaModel::PhaseSums TMetaModel::RunSimplePhase(TPhase& ph, const YearDays& yd, double limit, RunState& st) {
    TModelFunction& f = *ph.functions[0];
    const int col = f.weatherDataColumn;
    const bool additive = f.varLinkMode == TVarLinkMode::Additive;
    const double weight = f.weight;
    double* sums = ph.sumTab.data();
    // Locals, so the day loop keeps them in registers.
    const double sStar = ph.sStar;
    int day = st.day;
    double a_sum = st.a_sum;
    double Sum = 0.0;
    double Sum1 = 0.0;
    bool prev_failed = false;
    // Kinds that allow it sum a column's days with their outputs computed inline, or compute
    // them ahead where days cross station-years or leave the data; outputs of days past the
    // end of the phase are never used, nor checked.
    const bool byRun = f.RunsOfValues();
    const bool readsDay = !byRun && f.ReadsDay();
    bool ended = false;
    const int failDay = FailDay(limit);
    TDaySums r;
    r.a = a_sum;
    r.day = day;
    const double zero = additive ? 0.0 : -0.0;
    while (byRun && !ended) {
        const int runStart = r.day;
        // No day at or after the fail day is summed, but the first day always is.
        const int lastEnd = std::max(runStart + 1, std::min(LAST_RUN_DAY + 1, failDay));
        // Days of one station-year are read in place, as far as they go, the outputs computed
        // on the way.
        const double* column = nullptr;
        int at = 0, segEnd = 0;
        for (int k = 0; k < yd.nbSegments; ++k) {
            const auto& seg = yd.segments[static_cast<std::size_t>(k)];
            if (seg.from <= runStart && runStart <= seg.to) {
                column = seg.columns.Column(col);
                at = seg.at0 + (runStart - seg.from);
                segEnd = seg.to + 1;
                break;
            }
        }
        bool summed = false;
        if (column != nullptr) {
            const TDaySumsArgs in{column + (at - 1), nullptr,       &sums[Slot(runStart)], std::min(segEnd, lastEnd),
                                  weight,            zero,          sStar,                 failDay};
            summed = f.sumDays(r, in, OPTIM_LVL);
        }
        if (!summed) {
            // Days outside the data, or across station-years: sixteen at a time, computed ahead.
            constexpr int RUN = 16;
            std::array<double, RUN> xs, outs;
            const int runEnd = std::min(runStart + RUN, lastEnd);
            for (int d = runStart; d < runEnd; ++d)
                xs[static_cast<std::size_t>(d - runStart)] = ValueAt(yd, d, col);
            f.computeRun(xs.data(), runEnd - runStart, outs.data(), OPTIM_LVL);
            const TDaySumsArgs in{xs.data(), &yd.src[Slot(runStart)], &sums[Slot(runStart)], runEnd, weight, zero,
                                  sStar,     failDay};
            SumDays(r, in, [&outs](int k, double) { return outs[static_cast<std::size_t>(k)]; });
        }
        ended = r.ended;
        ph.last_date = r.day - 1;
        if (r.fault != 0.0) f.checked(r.fault);
    }
    if (byRun) {
        Sum = r.sum;
        Sum1 = r.sum1;
        a_sum = r.a;
        day = r.day;
        prev_failed = r.failed;
        nbMissingTemp += r.missing;
        nbMissingOutside_ += r.outside;
    }
    while (!byRun) {
        Sum1 = Sum;
        const double x = ValueAt(yd, day, col);
        if (x == MISSING) {
            ++nbMissingTemp;
            if (yd.src[Slot(day)] == nullptr) ++nbMissingOutside_;
            a_sum = 0.0;
        } else {
            const double out =
                readsDay ? f.runDaily(DayAt(yd, day), x, OPTIM_LVL) : f.runDaily(NoDataDay(), x, OPTIM_LVL);
            a_sum = additive ? out * weight + 0.0 : out * weight; // + 0.0 turns -0 to 0 as below
        }
        Sum += a_sum;
        sums[Slot(day)] = Sum;
        ph.last_date = day;
        ++day;
        if (Sum > sStar) break;
        if (limit <= day || day >= 365) {
            prev_failed = true;
            break;
        }
    }
    if (prev_failed) st.prev_failed = true;
    st.day = day;
    st.a_sum = a_sum;
    return {Sum, Sum1, sStar};
}

TMetaModel::PhaseSums TMetaModel::RunGeneralPhase(TPhase& ph, const TPhase* prev, const YearDays& yd,
                                                  double limit, RunState& st) {
    const bool linked = prev != nullptr && ph.phaseLinkMode != TPhaseLinkMode::Sequential;
    // An alternating phase's S* follows the previous phase's sum while both run; one that
    // starts after the previous phase ended keeps its own S*. The stored S* is never
    // overwritten, so no run depends on the one before.
    double sStar = ph.sStar;
    int day = st.day;
    double a_sum = st.a_sum;
    double Sum = 0.0;
    double Sum1 = 0.0;
    bool finalOverlapDone = false;
    const bool overlapsPrev = linked && prev->last_date >= day;
    while (true) {
        // Overlap: the previous phase's sum of the day, or its final sum once it has ended.
        if (linked && !finalOverlapDone) finalOverlapDone = ApplyOverlap(ph, *prev, day, overlapsPrev, sStar);
        Sum1 = Sum;
        a_sum = DayIncrement(ph, yd, day, a_sum);
        if (ph.phaseLinkMode == TPhaseLinkMode::Overlap_Multiplication) a_sum *= ph.overlapMultiplier;

        Sum += a_sum;
        ph.sumTab[Slot(day)] = Sum;
        ph.last_date = day;
        ++day;
        // Strictly: a sum equal to S* goes on to the next day.
        if (Sum > sStar) break;
        if (limit <= day || day >= 365) {
            st.prev_failed = true;
            break;
        }
    }
    st.day = day;
    st.a_sum = a_sum;
    return {Sum, Sum1, sStar};
}

// The day's functions chained by their link modes. A missing value makes the increment so far 0
// and skips the function.
double TMetaModel::DayIncrement(TPhase& ph, const YearDays& yd, int day, double a_sum) {
    // The day as a record only for the functions that read one.
    std::optional<TRWeatherDay> record;
    auto wdFor = [&](const TModelFunction& f) -> const TRWeatherDay& {
        if (!f.ReadsDay() && !f.useDayLengthAsVar) return NoDataDay();
        if (!record) record = DayAt(yd, day);
        return *record;
    };
    for (std::size_t j = 0; j < ph.functions.size(); ++j) {
        TModelFunction& f = *ph.functions[j];
        const int col = f.GetWeatherDataColumn();
        const double x = ValueAt(yd, day, col);
        bool missing = x == MISSING;
        if (!missing && f.tempHour)
            missing = ValueAt(yd, day, 1) == MISSING || ValueAt(yd, day, 2) == MISSING ||
                      ValueAt(yd, day + 1, 1) == MISSING;
        if (missing && col >= 0) {
            ++nbMissingTemp;
            if (yd.src[Slot(day)] == nullptr || (f.tempHour && yd.src[Slot(day + 1)] == nullptr))
                ++nbMissingOutside_;
            a_sum = 0.0;
            continue;
        }
        double out = 0.0;
        if (f.varLinkMode == TVarLinkMode::Composition)
            out = f.runDaily(wdFor(f), j == 0 ? ph.overlapCompVar : a_sum, OPTIM_LVL);
        else if (f.useDayLengthAsVar)
            out = f.runDaily(wdFor(f), climate_->DayLengthOf(yd, wdFor(f)), OPTIM_LVL);
        else if (f.tempHour)
            out = f.runHourly(*yd.year, day, OPTIM_LVL);
        else
            out = f.runDaily(wdFor(f), x, OPTIM_LVL);
        switch (f.varLinkMode) {
        case TVarLinkMode::Multiplicative:
            if (j == 0) a_sum = 1.0;
            a_sum = out * a_sum * f.weight;
            break;
        case TVarLinkMode::Additive:
            if (j == 0) a_sum = 0.0;
            a_sum = out * f.weight + a_sum;
            break;
        case TVarLinkMode::Composition:
            a_sum = out * f.weight;
            break;
        }
    }
    return a_sum;
}

// Interpolated inside the last day; MISSING beyond the missing values allowed.
double TMetaModel::PredictedDate(const TPhase& ph, const PhaseSums& s, int day) const {
    if (nbMissingTemp > maxMissingTemp_) return MISSING;
    double date = MISSING;
    const double dsum = s.Sum - s.Sum1;
    const double need = s.sStar - s.Sum1;
    if (need < 0.0)
        date = day - 1;
    else if (need == dsum)
        date = day;
    else if (dsum <= -ALMOST_ZERO || dsum >= ALMOST_ZERO)
        date = need / dsum + (day - 1);
    else
        date = day;
    if (date > 365.0) date = 365.0;
    CheckFinite(date, "predicted date", ph);
    return date;
}
