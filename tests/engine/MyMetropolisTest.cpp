#include <gtest/gtest.h>

#include <vector>

#include "ErrorText.h"
#include "ModelFixture.h"
#include "MyMetropolis.h"
#include "SearchTestSupport.h"

using namespace fixture;

namespace {

// One phase summing the mean temperature from T0 until the sum passes S*.
struct TinyFit {
    TWeather W;
    TRPhenoInfos pheno;
    TRFitInfo fit;
    TMetaModel model;
    TRFunctionDesc fd = Problem({100.0, 10.5}, 0.0);

    // Years 2001 and 2002 at 1 degree a day, 2003 the same but day 102 missing: from day 100
    // with S* 10.5 the date is 110.5, and 111.5 in 2003 (its missing day adds nothing).
    TinyFit(std::initializer_list<std::initializer_list<double>> rows, int missingThreshold,
            TPhaseT0Mode mode = TPhaseT0Mode::Fitted) {
        AddYear(W, 2001, 1.0);
        AddYear(W, 2002, 1.0);
        AddYear(W, 2003, 1.0);
        Day(W, 2, 102).Ref()._tmp = MISSING;
        auto ph = IdentityPhase(0, 100.0, 10.5, mode);
        ph->usedToFit = true;
        ph->phenoDataColumn = 0;
        ph->t0DataColumn = 1;
        model.PushPhase(std::move(ph));
        pheno = Pheno(W, rows);
        for (const TRPhenoData& r : pheno.tabPheno)
            fit.tabFit.push_back({r.station, 0, r.provenance, r.year});
        model.Initialize(missingThreshold, pheno);
    }
    std::vector<int> Marks() const {
        std::vector<int> m;
        for (const TRPhenoData& r : pheno.tabPheno)
            m.push_back(r.dates[0].fits);
        return m;
    }
};

} // namespace

TEST(FitObjective, SumOfSquaresAndScoredMarks) {
    struct Case {
        const char* name;
        int threshold;
        int leftOut;
        bool usedToFit;
        std::vector<int> fitRows; // phenology rows (from 0) in fit-file order
        double f;
        std::vector<int> marks;
    };
    // Observed 112.5 (2 days late), none, 100.25 (11.25 days early of a run with a missing day).
    const Case cases[] = {
        {"each run's own missing count", 0, -1, true, {0, 1, 2}, -4.0, {1, 9, 9}},
        {"a tolerated missing value", 1, -1, true, {0, 1, 2}, -(4.0 + 11.25 * 11.25), {1, 9, 1}},
        {"the row after a skipped one is scored", 0, -1, true, {2, 0}, -4.0, {1, 9, 9}},
        {"left-out row: no score, mark cleared", 1, 1, true, {0, 1, 2}, -11.25 * 11.25, {0, 9, 1}},
        {"left out even when not used to fit", 1, 1, false, {0, 1, 2}, 0.0, {0, 9, 9}},
        {"not used to fit: marks stay", 1, -1, false, {0, 1, 2}, 0.0, {9, 9, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TinyFit t({{112.5}, {MISSING}, {100.25}}, c.threshold);
        t.model.PhasesArr[0]->usedToFit = c.usedToFit;
        TRFitInfo rows;
        for (int k : c.fitRows)
            rows.tabFit.push_back(t.fit.tabFit[static_cast<std::size_t>(k)]);
        for (TRPhenoData& r : t.pheno.tabPheno)
            r.dates[0].fits = 9; // to see which marks f writes
        TMyMetropolis obj(t.model, t.W, t.pheno, rows, c.threshold, c.leftOut);
        EXPECT_DOUBLE_EQ(obj.f(t.fd), c.f);
        EXPECT_EQ(t.Marks(), c.marks);
    }
}

TEST(FitObjective, RowsThatAreNotRun) {
    // A row without dates is skipped; a fit row without its phenology row stops the fit.
    TinyFit t({{112.5}, {}, {100.25}}, 0);
    TMyMetropolis obj(t.model, t.W, t.pheno, t.fit, 0, -1);
    EXPECT_DOUBLE_EQ(obj.f(t.fd), -4.0);

    TRFitInfo rows = t.fit;
    rows.tabFit.insert(rows.tabFit.begin() + 1, TRInfoData{1, 0, 0, 1999});
    TMyMetropolis missing(t.model, t.W, t.pheno, rows, 0, -1);
    t.pheno.tabPheno[0].dates[0].fits = 0;
    EXPECT_EQ(ErrorText([&] { missing.f(t.fd); }), "Failure : station(s) in the fit information file is(are) "
                                                   "missing in the phenology data file or in wrong order...");
    EXPECT_EQ(t.pheno.tabPheno[0].dates[0].fits, 1); // rows before it were scored

    // T0 picked from the row is compared with a plain loop in ParallelRows; a row without
    // the T0 column stops the fit too.
    TinyFit noT0({{112.5}}, 0, TPhaseT0Mode::PickedFromPheno);
    TMyMetropolis noColumn(noT0.model, noT0.W, noT0.pheno, noT0.fit, 0, -1);
    EXPECT_THROW(noColumn.f(noT0.fd), EOrvexError);
}

TEST(FitObjective, RowsThatCannotBeScoredNeverLowerTheSum) {
    // Rows 2001 (112.5) and 2003 (100.25, a missing day 102 in its year); threshold 0.
    TinyFit t({{112.5}, {MISSING}, {100.25}}, 0);
    TMyMetropolis obj(t.model, t.W, t.pheno, t.fit, 0, -1);
    // The gap sets row 2003 aside for every T0: from day 103 its run would meet no missing
    // value, but it is not scored there either, so the gap pulls T0 neither way.
    EXPECT_EQ(obj.GapRows(), 1);
    t.fd.var_info[0].value = 103.0;
    EXPECT_DOUBLE_EQ(obj.f(t.fd), -1.0);
    EXPECT_EQ(obj.Unscored().observations, 0);
    // T0 -10 starts before the first climate day of 2001: that row weighs its penalty, more
    // than any date could cost, and stays among the compared observations.
    t.fd.var_info[0].value = -10.0;
    EXPECT_DOUBLE_EQ(obj.f(t.fd), -TMyMetropolis::UnscoredPenalty(112.5));
    EXPECT_EQ(obj.Unscored().observations, 1);
    EXPECT_EQ(obj.Unscored().maxMissing, 11);
    EXPECT_TRUE(obj.Unscored().outsideData);
    EXPECT_EQ(t.Marks(), (std::vector<int>{1, 0, 0}));

    // A T0 that no parameter moves (fixed at -10) starts 2001 before its data for every
    // candidate: that row is set aside like the gap's, not weighed.
    TinyFit fixedT0({{112.5}, {MISSING}, {100.25}}, 0, TPhaseT0Mode::Fixed);
    fixedT0.model.PhasesArr[0]->t0 = -10.0;
    fixedT0.fd.var_info[0].value = -10.0;
    TMyMetropolis given(fixedT0.model, fixedT0.W, fixedT0.pheno, fixedT0.fit, 0, -1);
    EXPECT_EQ(given.GapRows(), 2);
    EXPECT_TRUE(given.GapOutsideData());
    EXPECT_FALSE(obj.GapOutsideData());
    EXPECT_DOUBLE_EQ(given.f(fixedT0.fd), 0.0);
    EXPECT_EQ(given.Unscored().observations, 0);

    // A sum that falls on the last day interpolates a date far before -365: 0.1 a day, -0.1 on
    // day 159, S* 200 and observed 100 give -1683 from T0 1. T0 -5 starts before the data and
    // cannot be scored; that must not pay.
    TWeather cold;
    AddYear(cold, 2001, 0.1);
    Day(cold, 0, 159).Ref()._tmp = -0.1;
    TMetaModel falling;
    auto ph = IdentityPhase(0, 1.0, 200.0);
    ph->usedToFit = true;
    ph->phenoDataColumn = 0;
    falling.PushPhase(std::move(ph));
    TRPhenoInfos fallingPheno = Pheno(cold, {{100.0}});
    falling.Initialize(0, fallingPheno);
    const TRFitInfo fallingRows{{{1, 0, 0, 2001}}};
    TMyMetropolis fall(falling, cold, fallingPheno, fallingRows, 0, -1);
    TRFunctionDesc at = Problem({1.0, 200.0}, 0.0);
    const double scored = fall.f(at);
    EXPECT_EQ(fall.Unscored().observations, 0);
    at.var_info[0].value = -5.0;
    EXPECT_DOUBLE_EQ(fall.f(at), -TMyMetropolis::UnscoredPenalty(100.0));
    EXPECT_EQ(fall.Unscored().observations, 1);
    EXPECT_LE(fall.f(at), scored);

    // A date far outside the year overflows the sum: an error, not a score.
    for (int d = 1; d <= 365; ++d)
        Day(t.W, 0, d).Ref()._tmp = -1.0;
    t.fd.var_info[0].value = 100.0;
    t.fd.var_info[1].value = 1e160;
    EXPECT_THROW(obj.f(t.fd), EOrvexError);
}

TEST(FitObjective, LaterPassesTakeTheRowsTheFirstOneSetAside) {
    // A fit's passes share one matching of the rows and one count of their gaps: a later pass
    // reads no climate data for them, as filling the gap of 2003 after the first shows.
    TinyFit t({{112.5}, {MISSING}, {100.25}}, 0);
    TMyMetropolis first(t.model, t.W, t.pheno, t.fit, 0, -1);
    Day(t.W, 2, 102).Ref()._tmp = 1.0;
    TMyMetropolis later(t.model, t.W, t.pheno, t.fit, 0, 2, first.Rows());
    EXPECT_EQ(later.GapRows(), 1);
    EXPECT_EQ(later.MaxGapCount(), first.MaxGapCount());
    EXPECT_EQ(TMyMetropolis(t.model, t.W, t.pheno, t.fit, 0, 2).GapRows(), 0);

    // Rows worked out for another number of fit rows are worked out again.
    TRFitInfo two = t.fit;
    two.tabFit.erase(two.tabFit.begin());
    EXPECT_EQ(TMyMetropolis(t.model, t.W, t.pheno, two, 0, -1, first.Rows()).GapRows(), 0);
}

TEST(FitObjective, GapsCountTheDaysARunCanRead) {
    // With S* never reached, a run sums every day it can: the count of a row's gaps is what that
    // run meets. A phase that fails on its limit (observed 100: day 159 is its last) leaves a
    // phase that follows it one day, sixty days after its own observation.
    struct PhaseSetup {
        TPhaseT0Mode mode;
        double t0;
        double observed;
        TPhaseLinkMode link = TPhaseLinkMode::Sequential;
    };
    constexpr auto Fixed = TPhaseT0Mode::Fixed, Follows = TPhaseT0Mode::PickedFromPrevPhase;
    constexpr auto Linked = TPhaseLinkMode::Overlap_Multiplication;
    const struct {
        const char* name;
        std::vector<int> gaps;
        std::vector<PhaseSetup> phases;
        int count;
    } cases[] = {
        {"the limit day is never summed", {160}, {{Fixed, 100, 100}}, 0},
        {"a limit within a day", {160}, {{Fixed, 100, 100.5}}, 1},
        {"the days before the limit", {150, 159, 160}, {{Fixed, 100, 100}}, 2},
        {"two linked phases with fixed T0s sum a day each",
         {150, 159, 160},
         {{Fixed, 100, 100}, {Fixed, 100, 100, Linked}},
         4},
        {"a linked phase starts no earlier than the previous one",
         {60, 120},
         {{Fixed, 100, 100}, {Fixed, 50, 100, Linked}},
         2},
        {"a phase after a failed one starts on its limit", {150, 159, 160}, {{Fixed, 100, 100}, {Follows, 0, 100}}, 3},
        {"a phase after a failed one starts sixty days after its own observation",
         {180},
         {{Fixed, 100, 100}, {Follows, 0, 120}},
         1},
        {"a linked phase after a failed one starts no earlier than the failed one",
         {100},
         {{Fixed, 100, 100}, {Follows, 0, 30, Linked}},
         2},
        {"a phase after a failed one sums a day the failed one summed",
         {160},
         {{Fixed, 100, MISSING}, {Follows, 0, 100}},
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TWeather W;
        AddYear(W, 2001, 1.0);
        for (int d : c.gaps)
            Day(W, 0, d).Ref()._tmp = MISSING;
        TMetaModel model;
        std::vector<double> observed;
        for (std::size_t i = 0; i < c.phases.size(); ++i) {
            const PhaseSetup& setup = c.phases[i];
            auto ph = IdentityPhase(static_cast<int>(i), setup.t0, 1e9, setup.mode);
            ph->usedToFit = true;
            ph->phenoDataColumn = static_cast<int>(i);
            ph->phaseLinkMode = setup.link;
            model.PushPhase(std::move(ph));
            observed.push_back(setup.observed);
        }
        TRPhenoInfos pheno = Pheno(W, {{}});
        for (double obs : observed)
            pheno.tabPheno[0].dates.push_back({obs, 0});
        model.Initialize(0, pheno);
        model.Run(0);
        EXPECT_EQ(model.GetNbMissingTemp(), c.count);
        // Set aside as soon as the count exceeds the allowed, and with it the message's count.
        for (int allowed : {c.count - 1, c.count}) {
            TMyMetropolis obj(model, W, pheno, TRFitInfo{{{1, 0, 0, 2001}}}, allowed, -1);
            EXPECT_EQ(obj.GapRows(), allowed < c.count ? 1 : 0) << allowed << " allowed";
            EXPECT_EQ(obj.MaxGapCount(), allowed < c.count ? c.count : 0) << allowed << " allowed";
        }
    }
}

TEST(FitObjective, ARowWithoutItsT0RunsFromTheModelsOwn) {
    // Years 2000-2002, the mean missing on days 300-366 of 2000; T0 from the row, the model's
    // own -50. The 2001 row has none: every run of it meets the 51 days -50..0 of 2000 missing,
    // so it is set aside and the 2002 row, from day 1, is fitted alone.
    TWeather W;
    for (int y = 2000; y <= 2002; ++y)
        AddYear(W, y, 1.0);
    for (int d = 300; d <= W.Year(0).numDays; ++d)
        Day(W, 0, d).Ref()._tmp = MISSING;
    TMetaModel model;
    auto ph = IdentityPhase(0, -50.0, 1e9, TPhaseT0Mode::PickedFromPheno);
    ph->usedToFit = true;
    ph->phenoDataColumn = 0;
    ph->t0DataColumn = 1;
    model.PushPhase(std::move(ph));
    TRPhenoInfos pheno = Pheno(W, {{MISSING, 1.0}, {120.0, MISSING}, {130.0, 1.0}});
    model.Initialize(10, pheno);
    TRFunctionDesc fd = Problem({-50.0, 128.5}, 0.0);
    TMyMetropolis obj(model, W, pheno, TRFitInfo{{{1, 0, 0, 2001}, {1, 0, 0, 2002}}}, 10, -1);
    EXPECT_EQ(obj.GapRows(), 1);
    EXPECT_EQ(obj.MaxGapCount(), 51);
    EXPECT_FALSE(obj.GapOutsideData());
    EXPECT_DOUBLE_EQ(obj.f(fd), -0.25); // 2002 from day 1: 129.5 against 130
    EXPECT_EQ(obj.Unscored().observations, 0);
}
