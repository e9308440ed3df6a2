#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "ModelFixture.h"
#include "UtilStuff.h"
#include "WeatherUtils.h"

using namespace fixture;

namespace {

std::string RunError(TMetaModel& m, int i) {
    return ErrorOf([&] { m.Run(i); });
}

// One hourly function that adds one an hour.
std::unique_ptr<TPhase> HourlyPhase() {
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    auto f = Func("Threshold Superior");
    f->setParameterValue(0, -100.0);
    f->workWithTempHour(ph->tempHourFunction.get());
    ph->PushFunction(std::move(f));
    return ph;
}

class MetaModelRun : public ::testing::Test {
protected:
    MetaModelRun() { AddYear(W, 2001, 1.0); }
    TWeather W; // 2001, one unit a day
};

TEST_F(MetaModelRun, InterpolatesInsideTheLastDay) {
    // One unit per day from day 100.
    struct Case {
        double sStar, date;
        int lastDay;
    } cases[] = {
        {10.5, 110.5, 110}, // sum 11 passes 10.5 on day 110: half a day needed
        {10.0, 110.0, 110}, // nothing needed on the crossing day
        {11.0, 111.0, 111}, // a sum equal to S* is not done
        {-1.0, 100.0, 100}, // already passed on the first day
        {1e9, 365.0, 364},  // never done: sums to day 364, date capped
    };
    for (const Case& c : cases) {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, c.sStar));
        m.Initialize(0, W);
        m.Run(0);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], c.date) << c.sStar;
        EXPECT_EQ(m.PhasesArr[0]->last_date, c.lastDay) << c.sStar;
    }
}

TEST_F(MetaModelRun, StartAfterAFailedPhaseFollowsTheObservation) {
    // A failed phase ends where a day reaches its observation + 60, or at the year's end when
    // it has none; the next phase starts there.
    struct Case {
        double obs1, obs2;
        int end1, start2;
    } cases[] = {{150.0, 300.0, 209, 360},
                 {150.0, 310.4, 209, 365},
                 {150.0, MISSING, 209, 365},
                 {MISSING, 300.0, 364, 360}};
    for (const Case& c : cases) {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 1e9));
        m.PushPhase(IdentityPhase(1, 0, 1e9, TPhaseT0Mode::PickedFromPrevPhase));
        m.PhasesArr[0]->usedToFit = true;
        m.PhasesArr[0]->phenoDataColumn = 0;
        m.PhasesArr[1]->usedToFit = true;
        m.PhasesArr[1]->phenoDataColumn = 1;
        m.Initialize(0, Pheno(W, {{c.obs1, c.obs2}}));
        m.Run(0);
        EXPECT_EQ(m.PhasesArr[0]->last_date, c.end1) << c.obs1;
        EXPECT_EQ(m.PhasesArr[1]->first_date, c.start2) << c.obs2;
    }
}

TEST_F(MetaModelRun, MissingValuesAreCountedHourlyOnesTooAndEndDatesBeyondTheThreshold) {
    // Phase 1 (days 50..60) sees no missing day; phase 2 from day 100 meets day 105, whose extra
    // value (column 3) is missing; phase 3 follows phase 2.
    struct Case {
        int column0, column1, threshold, missing;
        double date2;
    } cases[] = {
        {3, 0, 5, 1, 111.5}, // first function missing: the day's value is 0
        {0, 3, 5, 1, 111.5}, // second function missing: 0 too
        {3, 3, 5, 2, 111.5}, // both: counted twice
        {3, 0, 0, 1, MISSING},
    };
    Day(W, 0, 105).Ref()._nb_user = 0;
    for (const Case& c : cases) {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 50, 10.5));
        auto ph = IdentityPhase(1, 100, 10.5);
        ph->functions[0]->SetWeatherDataColumn(c.column0);
        ph->PushFunction(Func("Identity", c.column1));
        m.PushPhase(std::move(ph));
        m.PushPhase(IdentityPhase(2, 0, 5.5, TPhaseT0Mode::PickedFromPrevPhase));
        m.Initialize(c.threshold, W);
        m.Run(0);
        EXPECT_EQ(m.GetNbMissingTemp(), c.missing);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], 60.5);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[1], c.date2);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[2], c.date2 == MISSING ? MISSING : 117.5);
    }
    // An hourly function reads the next day's minimum too: day 106's makes days 105 and 106 missing.
    Day(W, 0, 106).Ref()._tmn = MISSING;
    TMetaModel m;
    auto ph = HourlyPhase();
    ph->t0 = 100;
    ph->sStar = 23 * 10.5;
    m.PushPhase(std::move(ph));
    m.Initialize(5, W);
    m.Run(0);
    EXPECT_EQ(m.GetNbMissingTemp(), 2);
    EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], 112.5);
}

TEST_F(MetaModelRun, AnHourlyPhaseOnTheLastDayReadsTheNextYearsFirstMinimum) {
    // Day 365 reads the minimum of day 366, which is the next year's day 1 where there is one:
    // 2001 is followed by 2002, 2002 by nothing.
    AddYear(W, 2002, 1.0);
    TMetaModel m;
    auto ph = HourlyPhase();
    ph->t0 = 365;
    ph->sStar = 10.0;
    m.PushPhase(std::move(ph));
    m.Initialize(0, W);
    m.Run(0);
    EXPECT_EQ(std::pair(m.GetNbMissingTemp(), m.GetNbMissingOutsideData()), std::pair(0, 0));
    EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], 365.0);
    m.Run(1);
    EXPECT_EQ(std::pair(m.GetNbMissingTemp(), m.GetNbMissingOutsideData()), std::pair(1, 1));
    EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], MISSING);
}

TEST_F(MetaModelRun, LinkedPhasesReadThePreviousPhaseSumWhateverRowRanBefore) {
    // Phase 1 sums 1 per day from day 100 and ends on day 104 with 5. Phase 2 asks for T0 50
    // but starts with phase 1; its overlap function (Identity) passes phase 1's sum of the day,
    // then the final 5 once phase 1 has ended. Row 2 (2 a day) runs first and again after row 1.
    struct Case {
        TPhaseLinkMode mode;
        TVarLinkMode functionMode;
        double t0, date;
    } cases[] = {
        {TPhaseLinkMode::Overlap_Multiplication, TVarLinkMode::Multiplicative, 50, 104.4}, // 1 3 6 10 15
        {TPhaseLinkMode::Overlap_Composition, TVarLinkMode::Composition, 50, 104.4},
        {TPhaseLinkMode::Alternating, TVarLinkMode::Multiplicative, 50, 105.0}, // S* follows 1..5
        // Starting after phase 1 has ended: the final sum, not a value left from before.
        {TPhaseLinkMode::Overlap_Multiplication, TVarLinkMode::Multiplicative, 200, 202.4},
        {TPhaseLinkMode::Alternating, TVarLinkMode::Multiplicative, 105, 117.0}, // keeps its own S*
    };
    AddYear(W, 2002, 2.0);
    for (const Case& c : cases) {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 4.5));
        m.PushPhase(IdentityPhase(1, c.t0, 12.0));
        TPhase& ph = *m.PhasesArr[1];
        ph.functions[0]->varLinkMode = c.functionMode;
        ph.phaseLinkMode = c.mode;
        ph.overlapFunc = TModelFunction::GetFunction("Identity");
        m.Initialize(0, W);
        m.Run(1);
        const double second = m.DatePredictedArr[1];
        m.Run(0);
        EXPECT_NEAR(m.DatePredictedArr[1], c.date, 1e-12) << static_cast<int>(c.mode) << " " << c.t0;
        m.Run(1);
        EXPECT_EQ(m.DatePredictedArr[1], second) << static_cast<int>(c.mode) << " " << c.t0;
        EXPECT_EQ(ph.sStar, 12.0); // an alternating phase's S* followed for a run only
    }
}

TEST_F(MetaModelRun, AStateKeepingFunctionStartsAfreshOnEveryRun) {
    // Erez carries its chill precursor from hour to hour, never from one run into the next.
    AddYear(W, 2002, 9.0);
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, 0);
    ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    auto f = Func("Erez");
    for (int p = 0; const double v : {1.6, 277.0, 4153.5, 12888.8, 139500.0, 2.567e18})
        f->setParameterValue(p++, v);
    f->workWithTempHour(ph->tempHourFunction.get());
    ph->PushFunction(std::move(f));
    ph->t0 = 10;
    ph->sStar = 20.0;
    TMetaModel m;
    m.PushPhase(std::move(ph));
    m.Initialize(0, W);
    m.Run(0);
    const double first = m.DatePredictedArr[0];
    m.Run(1);
    m.Run(0);
    EXPECT_EQ(m.DatePredictedArr[0], first);
}

TEST_F(MetaModelRun, PhaseAfterOneEndingOnTheLastDayFails) {
    // Phase 1 starts and ends on day 365; phase 2 has no day left and fails like a phase that
    // never reaches S*; phase 3 then starts after the failure on day 365. A missing value on
    // day 365 turns every date into -9999.
    for (const bool gap : {false, true}) {
        if (gap) Day(W, 0, 365).Ref()._tmp = MISSING;
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 365, -1.0));
        m.PushPhase(IdentityPhase(1, 0, 5.0, TPhaseT0Mode::PickedFromPrevPhase));
        m.PushPhase(IdentityPhase(2, 0, -1.0, TPhaseT0Mode::PickedFromPrevPhase));
        m.Initialize(0, W);
        ASSERT_EQ(RunError(m, 0), "");
        const double end = gap ? MISSING : 365.0;
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], end);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[1], end);
        EXPECT_EQ(m.PhasesArr[2]->first_date, 365);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[2], end);
    }
}

TEST_F(MetaModelRun, PhotoperiodT0IsClampedInBothHemispheres) {
    // A day length longer than any of the year is brought to the longest (rounded); the phase
    // keeps the T0 it was given.
    struct Case {
        double lat, t0, clamped;
        TPhotoperiodMode mode;
    } cases[] = {
        {45.0, 25.0, std::nearbyint(DayLength(172, 45.0)), TPhotoperiodMode::YesIncreasing},
        {45.0, 3.0, std::nearbyint(DayLength(365, 45.0)), TPhotoperiodMode::YesDecreasing},
        {-45.0, 25.0, std::nearbyint(DayLength(365, -45.0)), TPhotoperiodMode::YesIncreasing},
        {-45.0, 3.0, std::nearbyint(DayLength(172, -45.0)), TPhotoperiodMode::YesDecreasing},
        {-45.0, 12.0, 12.0, TPhotoperiodMode::YesIncreasing},
    };
    for (const Case& c : cases) {
        TWeather WL;
        AddYear(WL, 2001, 1.0, c.lat);
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, c.t0, 5.0));
        m.PhasesArr[0]->photoperiodMode = c.mode;
        m.Initialize(0, WL);
        m.Run(0);
        const bool increase = c.mode == TPhotoperiodMode::YesIncreasing;
        EXPECT_EQ(m.PhasesArr[0]->first_date, std::nearbyint(DOY(c.lat, c.clamped, increase)))
            << c.lat << " " << c.t0;
        EXPECT_EQ(m.PhasesArr[0]->t0, c.t0);
    }
}

TEST_F(MetaModelRun, BadInputAndFloatingPointFaultsRaiseInsteadOfReadingOutOfRange) {
    {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 10.5));
        EXPECT_EQ(RunError(m, 0),
                  "The Pheno data have not been initialized : Please call TMetaModel.Initialize(...).");
        m.Initialize(0, W);
        EXPECT_NE(RunError(m, 1).find("There is no climate year"), std::string::npos);
        // Simulation T0 lines set the T0; -9999 is the model's own T0, not the line before's.
        m.simInfo.Years.push_back({2001, 0, {50.0}});
        m.simInfo.Years.push_back({2001, 0, {MISSING}});
        m.simInfo.Years.push_back({2001, 0, {}});
        m.Run(0);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], 60.5);
        m.Run(1);
        EXPECT_DOUBLE_EQ(m.DatePredictedArr[0], 110.5);
        EXPECT_EQ(m.PhasesArr[0]->t0, 100.0);
        EXPECT_NE(RunError(m, 2).find("has 0 T0 columns for a model of 1 phases"), std::string::npos);
        m.PhasesArr[0]->t0 = 400;
        EXPECT_EQ(RunError(m, 1), "Phase 1: the starting day 400 lies outside -365..365");
        m.PhasesArr[0]->t0 = -366;
        EXPECT_EQ(RunError(m, 1), "Phase 1: the starting day -366 lies outside -365..365");
        m.PhasesArr[0]->t0 = 100;
        m.PhasesArr[0]->sStar = 1.5e308;
        m.PhasesArr[0]->functions[0]->weight = 1e308; // two days overflow the sum
        EXPECT_EQ(RunError(m, 1), "Floating point overflow in the sum of Phase 1");
    }
    {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 10.5));
        m.PhasesArr[0]->usedToFit = true;
        TRPhenoInfos p = Pheno(W, {{150.0}});
        p.tabWeatherIdx[0] = -1;
        m.Initialize(0, p);
        EXPECT_EQ(RunError(m, 0), "Phenology row 1 (station 1, year 2001) has no climate data");
        p.tabWeatherIdx[0] = 0;
        m.Initialize(0, p);
        EXPECT_EQ(RunError(m, 0), "Phase 1 is used to fit but has no phenology column in the data");
        // Rows of other climate data than the model read at its set-up: never run on the wrong days.
        TWeather other;
        AddYear(other, 2001, 2.0);
        m.Pheno = Pheno(other, {{150.0}});
        EXPECT_EQ(RunError(m, 0), "Phenology row 1 (station 1, year 2001) has no climate data");
        m.Initialize(0, W);
        m.Pheno = Pheno(other, {{150.0}});
        EXPECT_EQ(RunError(m, 0), "Phenology row 1 (station 1, year 2001) has no climate data");
    }
    {
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 100, 10.5));
        m.PhasesArr[0]->photoperiodMode = TPhotoperiodMode::YesIncreasing;
        TWeather noLat;
        AddYear(noLat, 2001, 1.0, MISSING);
        m.Initialize(0, noLat);
        EXPECT_NE(RunError(m, 0).find("Convert T0 to a photoperiod"), std::string::npos);
    }
}

TEST_F(MetaModelRun, SimResultsPickT0FromTheRowAndReportObservations) {
    AddYear(W, 2002, 1.0);
    TMetaModel m;
    m.PushPhase(IdentityPhase(0, 100, 10.5, TPhaseT0Mode::PickedFromPheno));
    m.PhasesArr[0]->t0DataColumn = 1;
    m.PhasesArr[0]->phenoDataColumn = 0;
    m.PhasesArr[0]->usedToFit = true;
    TRPhenoInfos p = Pheno(W, {{120.0, 80.0}, {130.0, MISSING}});
    p.tabPheno[0].dates[0].fits = 1;
    m.Initialize(0, p);
    const auto results = m.SaveSimResults(p);
    ASSERT_EQ(results.size(), 2u);
    const auto& v0 = results[0].values[0];
    EXPECT_EQ(std::tuple(v0.predicted, v0.observed, v0.used_to_fit), std::tuple(90.5, 120.0, true));
    // No T0 on row 2: the model's own T0 (100), as the objective scores it, not row 1's.
    EXPECT_EQ(std::pair(results[1].values[0].predicted, results[1].values[0].used_to_fit),
              std::pair(110.5, false));
    EXPECT_EQ(m.PhasesArr[0]->t0, 100.0);
    EXPECT_EQ(m.ToStringHeader(), "station_code\tyear\tpredicted 0");
    EXPECT_EQ(m.ToString(W, 1), "1\t2002\t110.5");
    // A station-year without a day-1 record prints its own station and year.
    AddYear(W, 2003, 1.0, 45.0, 7);
    Day(W, 2, 1) = CreateMissingWeatherDay();
    EXPECT_EQ(m.ToString(W, 2).substr(0, 7), "7\t2003\t");
}

} // namespace
