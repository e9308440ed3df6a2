// The faster day loops of a run must give what the general loop gives, to the bit.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>

#include "HourlyTemps.h"
#include "ModelFixture.h"
#include "OrvexError.h"
#include "UtilStuff.h"

using namespace fixture;

namespace {

std::uint64_t Bits(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// Everything a run leaves behind, dates and sums as bit patterns, or its error.
struct Outcome {
    std::vector<std::uint64_t> dates, sums;
    int missing = 0;
    std::vector<int> first, last;
    std::string error;
};

Outcome RunRow(TMetaModel& m, int k) {
    Outcome o;
    try {
        m.Run(k);
    } catch (const EOrvexError& e) {
        o.error = e.what();
        return o;
    }
    for (double d : m.DatePredictedArr)
        o.dates.push_back(Bits(d));
    o.missing = m.GetNbMissingTemp();
    for (const auto& ph : m.PhasesArr) {
        o.first.push_back(ph->first_date);
        o.last.push_back(ph->last_date);
        for (int d = ph->first_date; d <= ph->last_date; ++d)
            o.sums.push_back(Bits(ph->sumTab[std::size_t(d + 365)]));
    }
    return o;
}

// Runs row k by the general loop, then by the fast loops, and compares; gives the fast run.
Outcome ExpectFastIsGeneral(TMetaModel& m, int k, const std::string& where) {
    m.generalDayLoopOnly = true;
    const Outcome a = RunRow(m, k);
    m.generalDayLoopOnly = false;
    const Outcome b = RunRow(m, k);
    EXPECT_EQ(a.error, b.error) << where;
    EXPECT_EQ(a.dates, b.dates) << where;
    EXPECT_EQ(a.missing, b.missing) << where;
    EXPECT_EQ(a.first, b.first) << where;
    EXPECT_EQ(a.last, b.last) << where;
    EXPECT_EQ(a.sums, b.sums) << where;
    return b;
}

// A random chain of phases: mostly one-function phases (the fast loop), some of two functions
// or linked to the previous phase (the general loop), some hourly.
std::unique_ptr<TMetaModel> RandomModel(std::mt19937& rng) {
    static const char* kinds[] = {
        "GDD",       "Triangular",         "Sigmoid",  "Wang", "Identity", "Richardson", "Smoothed Utah",
        "Landsberg", "Threshold Superior", "Parabolic"};
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto m = std::make_unique<TMetaModel>();
    const int nPhases = 1 + pick(3);
    for (int i = 0; i < nPhases; ++i) {
        auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, i);
        const bool hourly = pick(6) == 0;
        if (hourly) ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
        const int nFuncs = pick(4) == 0 ? 2 : 1;
        for (int j = 0; j < nFuncs; ++j) {
            auto f = Func(kinds[pick(10)], pick(5) == 0 ? pick(4) : 0,
                          static_cast<TVarLinkMode>(pick(5) == 0 ? 2 : pick(2)));
            for (int p = 0; p < f->nbOfParameters(); ++p)
                f->setParameterValue(p, uni(-5.0, 25.0));
            f->weight = pick(3) == 0 ? uni(-1.0, 2.0) : 1.0;
            f->workWithTempHour(ph->tempHourFunction.get());
            ph->PushFunction(std::move(f));
        }
        ph->t0Mode = i == 0 || pick(3) == 0 ? TPhaseT0Mode::Fitted : TPhaseT0Mode::PickedFromPrevPhase;
        ph->t0 = std::floor(uni(-200.0, 150.0));
        ph->sStar = pick(8) == 0 ? std::floor(uni(0.0, 50.0)) : uni(-5.0, hourly ? 2000.0 : 400.0);
        if (i > 0 && pick(4) == 0) {
            ph->phaseLinkMode = static_cast<TPhaseLinkMode>(1 + pick(3));
            ph->overlapFunc->setParameterValue(0, uni(-0.1, 0.1));
            ph->overlapFunc->setParameterValue(1, uni(0.0, 2.0));
        }
        ph->usedToFit = pick(3) != 0;
        ph->phenoDataColumn = ph->usedToFit ? pick(2) : -1;
        m->PushPhase(std::move(ph));
    }
    return m;
}

TEST(MetaModelFastLoop, MatchesTheGeneralLoopOnRandomModels) {
    std::mt19937 rng(20240611);
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    // Three consecutive years of two stations; some values missing, some of them on integer sums.
    TWeather W;
    for (int s = 1; s <= 2; ++s)
        for (int y = 0; y < 3; ++y) {
            AddYear(W, 2000 + y, 0.0, 40.0 + s, s);
            for (int d = 1; d <= W.years.back()->numDays; ++d) {
                DayEdit wd = Day(W, W.NbYears() - 1, d);
                wd._tmp = uni(0.0, 1.0) < 0.5 ? std::floor(uni(-10.0, 25.0)) : uni(-10.0, 25.0);
                wd._tmn = wd._tmp - uni(0.0, 8.0);
                wd._tmx = wd._tmp + uni(0.0, 8.0);
                wd._user[0] = uni(0.0, 3.0);
                if (uni(0.0, 1.0) < 0.01) wd._tmp = MISSING;
                if (uni(0.0, 1.0) < 0.005) wd._tmn = MISSING;
            }
        }
    TRPhenoInfos pheno;
    pheno.weatherPTR = &W;
    for (int k = 0; k < W.NbYears(); ++k) {
        TRPhenoData row;
        row.station = W.Year(k).station;
        row.year = W.Year(k).year;
        for (int c = 0; c < 2; ++c)
            row.dates.push_back({uni(0.0, 1.0) < 0.1 ? MISSING : std::floor(uni(-30.0, 300.0)), 1});
        pheno.tabPheno.push_back(row);
        pheno.tabWeatherIdx.push_back(k);
    }

    int compared = 0;
    for (int model = 0; model < 300; ++model) {
        auto m = RandomModel(rng);
        m->Initialize(static_cast<int>(uni(0.0, 4.0)), pheno);
        for (int k = 0; k < pheno.nb_obs(); ++k) {
            const std::string where = "model " + std::to_string(model) + " row " + std::to_string(k);
            compared += ExpectFastIsGeneral(*m, k, where).error.empty();
        }
    }
    EXPECT_GT(compared, 1000);
}

// Runs of days are computed ahead: an overflow on a day the phase sums raises as the general
// loop raises, one on a day after the phase has ended raises nothing.
TEST(MetaModelFastLoop, OnlySummedDaysCanFault) {
    TWeather W;
    AddYear(W, 2001, 10.0);
    Day(W, 0, 105).Ref()._tmp = std::numeric_limits<double>::infinity();
    TRPhenoInfos pheno = Pheno(W, {{MISSING}});
    for (const double sStar : {10.0 * 5 - 1, 1e300}) { // the phase ends near day 100, or runs on
        TMetaModel m;
        m.PushPhase(IdentityPhase(0, 96, sStar));
        m.Initialize(0, pheno);
        const Outcome fast = ExpectFastIsGeneral(m, 0, "S* " + std::to_string(sStar));
        EXPECT_EQ(fast.error.empty(), sStar < 100) << fast.error;
    }
}

TEST(MetaModelFastLoop, HourlyTemperaturesOfADayAreTheRoutineValues) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> t(-15.0, 35.0);
    TWeather W;
    AddYear(W, 2001, 0.0);
    AddYear(W, 2002, 0.0);
    for (int y = 0; y < 2; ++y)
        for (int d = 1; d <= 365; ++d) {
            Day(W, y, d).Ref()._tmn = t(rng);
            Day(W, y, d).Ref()._tmx = t(rng);
        }
    Day(W, 0, 50).Ref()._tmn = MISSING;
    for (TInterpolationFunc f : {TempHeur, TempHeur_shark})
        for (int d = -3; d <= 370; ++d) {
            THourTemps hours;
            HourlyTemperatures(f, W.Year(0), d, hours);
            for (int h = FIRST_SUMMED_HOUR; h <= LAST_SUMMED_HOUR; ++h)
                EXPECT_TRUE(SameBits(hours[std::size_t(h - FIRST_SUMMED_HOUR)], f(W.Year(0), d, h)))
                    << d << " " << h;
        }
}

} // namespace
