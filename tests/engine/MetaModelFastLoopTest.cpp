// The faster day loops of a run must give what the general loop gives, to the bit.

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "HourlyTemps.h"
#include "ModelFixture.h"

using namespace fixture;

namespace {

// Everything a run leaves behind, dates and sums as bit patterns, or its error.
struct Outcome {
    std::vector<std::uint64_t> dates, sums;
    int missing = 0;
    std::vector<int> first, last;
    std::string error;
};

Outcome RunRow(TMetaModel& m, int k) {
    Outcome o;
    o.error = ErrorOf([&] { m.Run(k); });
    if (!o.error.empty()) return o;
    o.dates = Bits(m.DatePredictedArr);
    o.missing = m.GetNbMissingTemp();
    for (const auto& ph : m.PhasesArr) {
        o.first.push_back(ph->first_date);
        o.last.push_back(ph->last_date);
        for (int d = ph->first_date; d <= ph->last_date; ++d)
            o.sums.push_back(std::bit_cast<std::uint64_t>(ph->sumTab[std::size_t(d + 365)]));
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
    EXPECT_EQ(std::tie(a.missing, a.first, a.last), std::tie(b.missing, b.first, b.last)) << where;
    EXPECT_EQ(a.sums, b.sums) << where;
    return b;
}

TEST(MetaModelFastLoop, MatchesTheGeneralLoopOnRandomModels) {
    std::mt19937 rng(20240611);
    Draw uni{rng};
    // Three consecutive years of two stations; some values missing, some of them on integer sums.
    TWeather W;
    RandomClimate(W, 2, 3, [&](DayEdit& wd, int) {
        wd._tmp = uni(0.0, 1.0) < 0.5 ? std::floor(uni(-10.0, 25.0)) : uni(-10.0, 25.0);
        wd._tmn = wd._tmp - uni(0.0, 8.0);
        wd._tmx = wd._tmp + uni(0.0, 8.0);
        wd._user[0] = uni(0.0, 3.0);
        if (uni(0.0, 1.0) < 0.01) wd._tmp = MISSING;
        if (uni(0.0, 1.0) < 0.005) wd._tmn = MISSING;
    });
    TRPhenoInfos pheno = RandomPheno(W, uni, {{-30.0, 300.0}, {-30.0, 300.0}, {-30.0, 60.0}});

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

// The fast loop compares whole days with the observation's limit: fractional observations,
// and ones so early that the limit lies before any day, end phases on the general loop's day.
TEST(MetaModelFastLoop, FractionalAndFarLimitsEndOnTheSameDay) {
    std::mt19937 rng(77);
    Draw uni{rng};
    TWeather W;
    RandomClimate(W, 1, 3, [&](DayEdit& wd, int) { wd._tmp = uni(-5.0, 25.0); });
    TRPhenoInfos pheno = RandomPheno(W, uni, {{-30.0, 300.0}, {-30.0, 300.0}, {-30.0, 60.0}});
    for (TRPhenoData& row : pheno.tabPheno)
        for (std::size_t c = 0; c < 2; ++c)
            if (row.dates[c].date != MISSING)
                row.dates[c].date = uni(0.0, 1.0) < 0.2 ? uni(-900.0, -700.0) : row.dates[c].date + uni(0.0, 1.0);
    int compared = 0;
    for (int model = 0; model < 150; ++model) {
        auto m = RandomModel(rng);
        m->Initialize(static_cast<int>(uni(0.0, 4.0)), pheno);
        for (int k = 0; k < pheno.nb_obs(); ++k)
            compared += ExpectFastIsGeneral(*m, k, "model " + std::to_string(model) + " row " + std::to_string(k))
                            .error.empty();
    }
    EXPECT_GT(compared, 150);
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
    RandomClimate(W, 1, 2, [&](DayEdit& wd, int) {
        wd._tmn = t(rng);
        wd._tmx = t(rng);
    });
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
