// The gaps counted before a fit's search must bound what its runs meet: a row that is not set
// aside must be scored by every candidate, else the fit ends on missing values although the
// other rows could be fitted.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ModelFixture.h"
#include "MyMetropolis.h"
#include "SearchTestSupport.h"

using namespace fixture;

namespace {

// Two stations from 2000 to 2003, values missing at random, from a few to many: single days and
// runs of days, some minima and maxima for the hourly functions.
void GappyClimate(TWeather& W, Draw& uni) {
    const double rate = uni(0.0002, 0.004);
    int runLeft = 0;
    RandomClimate(W, 2, 4, [&](DayEdit& wd, int day) {
        wd._tmp = std::nearbyint((8.0 - 10.0 * std::cos(day / 58.0) + uni(-4.0, 4.0)) * 10.0) / 10.0;
        wd._tmn = wd._tmp - 5.0;
        wd._tmx = wd._tmp + 5.0;
        if (runLeft == 0 && uni(0.0, 1.0) < rate) runLeft = 1 + uni.Pick(30);
        if (runLeft > 0) {
            --runLeft;
            wd._tmp = MISSING;
        }
        if (uni(0.0, 1.0) < rate) wd._tmp = MISSING;
        if (uni(0.0, 1.0) < rate) wd._tmn = MISSING;
        if (uni(0.0, 1.0) < rate) wd._tmx = MISSING;
    });
}

// The random chains of the model tests, with T0s of every kind: fixed (some in the previous
// year), from the row (some missing there), from the previous phase, or fitted.
std::unique_ptr<TMetaModel> GapModel(std::mt19937& rng) {
    Draw uni{rng};
    auto m = RandomModel(rng);
    for (std::size_t i = 0; i < m->PhasesArr.size(); ++i) {
        TPhase& ph = *m->PhasesArr[i];
        if (ph.t0Mode == TPhaseT0Mode::Fitted && uni.Pick(2) == 0) ph.t0Mode = TPhaseT0Mode::Fixed;
        if (i > 0 && uni.Pick(6) == 0) ph.t0Mode = TPhaseT0Mode::PickedFromPheno;
        if (i > 0 && uni.Pick(4) == 0) ph.t0Mode = TPhaseT0Mode::PickedFromPrevPhase;
        if (ph.t0Mode == TPhaseT0Mode::Fixed) ph.t0 = std::floor(uni(-60.0, 200.0));
    }
    return m;
}

} // namespace

TEST(RowGaps, ARowThatIsNotSetAsideIsScoredByEveryCandidate) {
    std::mt19937 rng(2029);
    Draw uni{rng};
    int rowsWithGaps = 0, compared = 0;
    for (int model = 0; model < 300; ++model) {
        TWeather W;
        GappyClimate(W, uni);
        TRPhenoInfos pheno = RandomPheno(W, uni, {{60.0, 200.0}, {80.0, 250.0}, {-30.0, 120.0}});
        auto m = GapModel(rng);
        m->Initialize(0, pheno);
        TRFunctionDesc fd;
        m->initializeParameters(fd);
        std::vector<TRFunctionDesc> candidates(6, fd);
        for (TRFunctionDesc& c : candidates)
            for (TRVarInfo& v : c.var_info) {
                // A fitted T0 before day 1 may start in days that no count covers.
                const double lo = v.name.rfind("T0<", 0) == 0 ? std::max(v.minBound, 1.0) : v.minBound;
                if (lo < v.maxBound) v.value = uni(lo, v.maxBound);
            }
        // Each row alone, allowed exactly its count: the most its runs may meet.
        for (const TRPhenoData& row : pheno.tabPheno) {
            const TRFitInfo fit{{{row.station, 0, 0, row.year}}};
            m->setParameters(fd); // as a fit's pass starts: the model's own T0s
            const int count = TMyMetropolis(*m, W, pheno, fit, 0, -1).MaxGapCount();
            rowsWithGaps += count > 0 ? 1 : 0;
            m->Initialize(count, pheno);
            TMyMetropolis obj(*m, W, pheno, fit, count, -1);
            ASSERT_EQ(obj.GapRows(), 0);
            for (std::size_t c = 0; c < candidates.size(); ++c) {
                if (!ErrorOf([&] { obj.f(candidates[c]); }).empty()) continue; // sums that overflow
                ++compared;
                ASSERT_EQ(obj.Unscored().observations, 0)
                    << "model " << model << " station " << row.station << " year " << row.year << " candidate "
                    << c << ": a run met " << obj.Unscored().maxMissing << " missing values, " << count
                    << " counted";
            }
        }
    }
    // Rows with gaps are met often enough to mean something.
    EXPECT_GT(rowsWithGaps, 500);
    EXPECT_GT(compared, 5000);
}
