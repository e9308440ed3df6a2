// The objective on threads must give what it gives on one, and both what the plain loop gives
// (the parameter vector written before every row), to the bit: sums, marks and the state the
// model is left in.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "AllocCounter.h"
#include "ModelFixture.h"
#include "MyMetropolis.h"

using namespace fixture;

namespace {

struct Data {
    TWeather W;
    TRPhenoInfos pheno;
    TRFitInfo fit;
};

// 150 station-years (enough rows for threads), a few values missing, some T0s missing, and fit
// rows that repeat a key.
void MakeData(Data& d) {
    std::mt19937 rng(99);
    Draw uni{rng};
    RandomClimate(d.W, 10, 15, [&](DayEdit& wd, int day) {
        wd._tmp = std::nearbyint((8.0 - 10.0 * std::cos(day / 58.0) + uni(-4.0, 4.0)) * 10.0) / 10.0;
        if (uni(0.0, 1.0) < 0.003) wd._tmp = MISSING;
    });
    d.pheno = RandomPheno(d.W, uni, {{60.0, 200.0}, {60.0, 200.0}, {-20.0, 60.0}});
    for (const TRPhenoData& row : d.pheno.tabPheno)
        for (int n = row.year == 2003 ? 2 : 1; n > 0; --n)
            d.fit.tabFit.push_back({row.station, 0, 0, row.year});
}

// The objective as a plain loop: the vector written before every row, each row run in turn.
double PlainLoop(TMetaModel& m, TRPhenoInfos& pheno, const TRFitInfo& fit, const TRFunctionDesc& fd,
                 int threshold) {
    double ss = 0.0;
    for (const TRInfoData& fr : fit.tabFit) {
        const auto it = std::find_if(pheno.tabPheno.begin(), pheno.tabPheno.end(), [&](const TRPhenoData& r) {
            return r.station == fr.station && r.year == fr.year;
        });
        const TRPhenoData& row = *it;
        m.setParameters(fd);
        for (const auto& ph : m.PhasesArr)
            if (ph->t0Mode == TPhaseT0Mode::PickedFromPheno && row.dates[2].date != MISSING)
                ph->SetT0(row.dates[2].date);
        m.Run(static_cast<int>(it - pheno.tabPheno.begin()));
        for (int j = 0; j < m.GetNbPhases(); ++j) {
            const TPhase& ph = *m.PhasesArr[static_cast<std::size_t>(j)];
            if (ph.phenoDataColumn < 0 || !ph.usedToFit) continue;
            const double obs = row.dates[static_cast<std::size_t>(ph.phenoDataColumn)].date;
            if (obs == MISSING) continue;
            if (m.GetNbMissingTemp() > threshold) {
                ss += TMyMetropolis::UnscoredPenalty(obs);
            } else {
                const double dev = m.DatePredictedArr[static_cast<std::size_t>(j)] - obs;
                ss += dev * dev;
            }
        }
    }
    return ss;
}

} // namespace

TEST(ParallelRows, ThreadsGiveWhatOneThreadAndThePlainLoopGive) {
    Data d;
    MakeData(d);
    std::mt19937 rng(5);
    int compared = 0;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        const int threshold = static_cast<int>(seed % 3);
        TRPhenoInfos phenoOne = d.pheno, phenoMany = d.pheno, phenoPlain = d.pheno;
        std::mt19937 r1(seed), r2(seed), r3(seed);
        auto one = RandomModel(r1), many = RandomModel(r2), plain = RandomModel(r3);
        one->Initialize(threshold, phenoOne);
        many->Initialize(threshold, phenoMany);
        plain->Initialize(threshold, phenoPlain);
        TRFunctionDesc fd, unused; // the other two models set up as the fit sets them up
        one->initializeParameters(fd);
        many->initializeParameters(unused);
        plain->initializeParameters(unused);
        const int leftOut = seed % 4 == 0 ? static_cast<int>(seed) : -1;
        TMyMetropolis objOne(*one, d.W, phenoOne, d.fit, threshold, leftOut);
        TMyMetropolis objMany(*many, d.W, phenoMany, d.fit, threshold, leftOut);
        objOne.SetWorkers(1);
        objMany.SetWorkers(4);
        for (int point = 0; point < 5; ++point) {
            for (int i = 0; i < fd.nb_of_parameters; ++i) {
                TRVarInfo& v = fd.var_info[static_cast<std::size_t>(i)];
                if (v.minBound < v.maxBound)
                    v.value = std::uniform_real_distribution<double>(v.minBound, v.maxBound)(rng);
            }
            const std::string where = "model " + std::to_string(seed) + " point " + std::to_string(point);
            double a = 0.0, b = 0.0, c = 0.0;
            const std::string errOne = ErrorOf([&] { a = objOne.f(fd); });
            const std::string errMany = ErrorOf([&] { b = objMany.f(fd); });
            const std::string errPlain =
                ErrorOf([&] { c = -PlainLoop(*plain, phenoPlain, d.fit, fd, threshold); });
            ASSERT_EQ(errOne, errMany) << where;
            ASSERT_EQ(errOne, errPlain) << where;
            if (!errOne.empty()) continue;
            ++compared;
            EXPECT_TRUE(SameBits(a, b)) << where << ": " << a << " " << b;
            // The plain loop knows nothing of leave-one-out and of rows set aside for gaps.
            if (leftOut < 0 && objOne.GapRows() == 0) {
                EXPECT_TRUE(SameBits(a, c)) << where << ": " << a << " " << c;
            }
            EXPECT_EQ(objOne.Unscored().observations, objMany.Unscored().observations) << where;
            for (std::size_t k = 0; k < phenoOne.tabPheno.size(); ++k)
                for (std::size_t col = 0; col < 2; ++col)
                    ASSERT_EQ(phenoOne.tabPheno[k].dates[col].fits, phenoMany.tabPheno[k].dates[col].fits)
                        << where;
            // The model is left as the last row's run left it.
            EXPECT_EQ(Bits(one->DatePredictedArr), Bits(many->DatePredictedArr)) << where;
            EXPECT_EQ(one->GetNbMissingTemp(), many->GetNbMissingTemp()) << where;
        }
    }
    EXPECT_GT(compared, 40);
}

// Long evaluations run on threads, and the short ones that follow on the calling thread once
// the threads are made. The clock the objective reads says how long each evaluation took, and
// the cores are set: the same on any machine.
TEST(ParallelRows, LongEvaluationsRunOnThreadsShortOnesOnTheCallingThread) {
    TWeather W;
    RandomClimate(W, 7, 10, [](DayEdit& wd, int) { wd._tmp = 10.0; });
    std::mt19937 rng(3);
    Draw uni{rng};
    TRPhenoInfos pheno = RandomPheno(W, uni, {{300.0, 301.0}});
    TRFitInfo fit;
    for (const TRPhenoData& row : pheno.tabPheno)
        fit.tabFit.push_back({row.station, 0, 0, row.year});
    TMetaModel m;
    auto ph = IdentityPhase(0, 1.0, 3000.0);
    ph->usedToFit = true;
    ph->phenoDataColumn = 0;
    m.PushPhase(std::move(ph));
    m.Initialize(0, pheno);
    TRFunctionDesc fd;
    m.initializeParameters(fd);
    fd.var_info[0].value = 1.0;
    TMyMetropolis obj(m, W, pheno, fit, 0, -1);
    double now = 0.0, tookNs = 0.0;
    obj.ThreadChoice() = TRowThreadChoice(4, [&] { return now += tookNs; });
    const auto evaluate = [&](double ns) {
        tookNs = ns;
        obj.f(fd);
        return obj.LastWorkers();
    };

    fd.var_info[1].value = 3000.0; // 300 days a row, 21,000 an evaluation
    EXPECT_EQ(evaluate(1e6), 1);   // nothing foretold yet
    // Making the threads takes long: no measure of what they cost.
    EXPECT_EQ(evaluate(5e6), 4);
    ASSERT_NE(obj.Workers(), nullptr);
    EXPECT_EQ(evaluate(0.5e6), 4);
    EXPECT_EQ(evaluate(0.5e6), 4);

    fd.var_info[1].value = 5.0; // one day a row
    EXPECT_EQ(evaluate(20e3), 4); // foretold by the long one before
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(evaluate(20e3), 1) << "short evaluation " << k;
    }
}

// The model copies of the threads read the climate look-ups of the fit's model: making four
// workers costs far less memory than one more table would.
TEST(ParallelRows, TheWorkersShareOneClimateTable) {
    Data d;
    MakeData(d);
    std::mt19937 rng(8);
    auto m = RandomModel(rng);
    const long long beforeTable = HeapBytesAllocated();
    m->Initialize(3, d.pheno);
    const long long table = HeapBytesAllocated() - beforeTable;
    TRFunctionDesc fd;
    m->initializeParameters(fd);
    TMyMetropolis obj(*m, d.W, d.pheno, d.fit, 3, -1);
    obj.SetWorkers(4);
    const long long beforeWorkers = HeapBytesAllocated();
    ErrorOf([&] { obj.f(fd); });
    ASSERT_NE(obj.Workers(), nullptr);
    EXPECT_LT(HeapBytesAllocated() - beforeWorkers, table / 2);
}

// A row without phenology row stops the evaluation where it stands, and a single row has no one
// to share with: both stay on the calling thread whatever count is asked for.
TEST(ParallelRows, UnmatchedOrSingleRowsStayOnTheCallingThread) {
    Data d;
    MakeData(d);
    std::mt19937 rng(8);
    auto m = RandomModel(rng);
    m->Initialize(3, d.pheno);
    TRFunctionDesc fd;
    m->initializeParameters(fd);
    TRFitInfo unmatched = d.fit, single;
    unmatched.tabFit.push_back({999, 0, 0, 2003});
    single.tabFit.push_back(d.fit.tabFit.front());
    for (const TRFitInfo* fit : {&unmatched, &single}) {
        TMyMetropolis obj(*m, d.W, d.pheno, *fit, 3, -1);
        obj.SetWorkers(4);
        ErrorOf([&] { obj.f(fd); });
        EXPECT_EQ(obj.LastWorkers(), 1) << fit->tabFit.size() << " rows";
        EXPECT_EQ(obj.Workers(), nullptr) << fit->tabFit.size() << " rows";
    }
}
