// The objective on threads must give what it gives on one, and both what the plain loop gives
// (the parameter vector written before every row), to the bit: sums, marks and the state the
// model is left in.

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "ModelFixture.h"
#include "MyMetropolis.h"
#include "OrvexError.h"

using namespace fixture;

namespace {

// A random chain of one to three phases, one or two functions each, some T0s from the data.
std::unique_ptr<TMetaModel> RandomModel(unsigned seed) {
    std::mt19937 rng(seed);
    static const char* kinds[] = {"GDD", "Triangular", "Sigmoid", "Wang", "Richardson", "Delpierre"};
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto m = std::make_unique<TMetaModel>();
    const int nPhases = 1 + pick(3);
    for (int i = 0; i < nPhases; ++i) {
        auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, i);
        for (int j = 0, n = pick(4) == 0 ? 2 : 1; j < n; ++j) {
            auto f = Func(kinds[pick(6)], 0, static_cast<TVarLinkMode>(pick(2)));
            for (int p = 0; p < f->nbOfParameters(); ++p)
                f->setParameterValue(p, uni(0.0, 25.0));
            if (pick(3) == 0) f->fixParameter(0, f->getParameterValue(0));
            ph->PushFunction(std::move(f));
        }
        const int mode = pick(4);
        ph->t0Mode = i == 0 ? (mode == 0 ? TPhaseT0Mode::PickedFromPheno : TPhaseT0Mode::Fitted)
                            : (mode == 0 ? TPhaseT0Mode::Fitted : TPhaseT0Mode::PickedFromPrevPhase);
        ph->t0DataColumn = 2;
        ph->t0 = std::floor(uni(-30.0, 90.0));
        ph->sStar = uni(5.0, 300.0);
        if (i > 0 && pick(4) == 0) ph->phaseLinkMode = static_cast<TPhaseLinkMode>(1 + pick(3));
        ph->usedToFit = pick(4) != 0;
        ph->phenoDataColumn = pick(5) == 0 ? -1 : pick(2);
        m->PushPhase(std::move(ph));
    }
    return m;
}

struct Data {
    TWeather W;
    TRPhenoInfos pheno;
    TRFitInfo fit;
};

// 150 station-years (enough rows for threads), a few values missing, some T0s missing, and fit
// rows that repeat a key.
void MakeData(Data& d) {
    std::mt19937 rng(99);
    auto uni = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    for (int s = 1; s <= 10; ++s)
        for (int y = 0; y < 15; ++y) {
            AddYear(d.W, 2000 + y, 0.0, 40.0 + s, s);
            for (int day = 1; day <= d.W.years.back()->numDays; ++day) {
                DayEdit wd = Day(d.W, d.W.NbYears() - 1, day);
                wd._tmp = std::nearbyint((8.0 - 10.0 * std::cos(day / 58.0) + uni(-4.0, 4.0)) * 10.0) / 10.0;
                if (uni(0.0, 1.0) < 0.003) wd._tmp = MISSING;
            }
            TRPhenoData row;
            row.station = s;
            row.year = 2000 + y;
            for (int c = 0; c < 2; ++c)
                row.dates.push_back({uni(0.0, 1.0) < 0.1 ? MISSING : std::floor(uni(60.0, 200.0)), 0});
            row.dates.push_back({uni(0.0, 1.0) < 0.2 ? MISSING : std::floor(uni(-20.0, 60.0)), 0});
            d.pheno.tabPheno.push_back(row);
            d.pheno.tabWeatherIdx.push_back(d.W.NbYears() - 1);
            d.fit.tabFit.push_back({s, 0, 0, 2000 + y});
            if (y == 3) d.fit.tabFit.push_back({s, 0, 0, 2000 + y});
        }
    d.pheno.weatherPTR = &d.W;
}

// The objective as a plain loop: the vector written before every row, each row run in turn.
double PlainLoop(TMetaModel& m, TRPhenoInfos& pheno, const TRFitInfo& fit, const TRFunctionDesc& fd,
                 int threshold) {
    double ss = 0.0;
    for (const TRInfoData& fr : fit.tabFit) {
        int k = 0;
        while (pheno.tabPheno[static_cast<std::size_t>(k)].station != fr.station ||
               pheno.tabPheno[static_cast<std::size_t>(k)].year != fr.year)
            ++k;
        const TRPhenoData& row = pheno.tabPheno[static_cast<std::size_t>(k)];
        m.setParameters(fd);
        for (const auto& ph : m.PhasesArr)
            if (ph->t0Mode == TPhaseT0Mode::PickedFromPheno && row.dates[2].date != MISSING)
                ph->SetT0(row.dates[2].date);
        m.Run(k);
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

// The value, or the error raised instead.
std::pair<double, std::string> Outcome(const std::function<double()>& f) {
    try {
        return {f(), ""};
    } catch (const EOrvexError& e) {
        return {0.0, e.what()};
    }
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
        auto one = RandomModel(seed), many = RandomModel(seed), plain = RandomModel(seed);
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
            const auto [a, errOne] = Outcome([&] { return objOne.f(fd); });
            const auto [b, errMany] = Outcome([&] { return objMany.f(fd); });
            const auto [c, errPlain] =
                Outcome([&] { return -PlainLoop(*plain, phenoPlain, d.fit, fd, threshold); });
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
            ASSERT_EQ(one->DatePredictedArr.size(), many->DatePredictedArr.size());
            for (std::size_t j = 0; j < one->DatePredictedArr.size(); ++j)
                EXPECT_TRUE(SameBits(one->DatePredictedArr[j], many->DatePredictedArr[j])) << where;
            EXPECT_EQ(one->GetNbMissingTemp(), many->GetNbMissingTemp()) << where;
        }
    }
    EXPECT_GT(compared, 40);
}
