// Evaluating a function and running a model are the inner loops of a fit: they must not touch the heap.

#include <gtest/gtest.h>

#include "AllocCounter.h"
#include "ModelFixture.h"
#include "ModelsFuncLib.h"
#include "UtilStuff.h"

namespace {
double Hourly(const TWeatherYear&, int, int h) {
    return 2.0 + h * 0.5;
}
} // namespace

TEST(InnerLoops, AllocateNothing) {
    TWeatherYear y(2001, 1, 0, nullptr);
    TTempHourFunc hf(Hourly, "test");
    const TRWeatherDay d = CreateWeatherDay(TDoubleArr{}, 0, 1, 45, 2001, 80, 8, 3, 14);
    std::vector<std::unique_ptr<TModelFunction>> fs;
    for (int k = 0; k < TModelFunction::GetNbFunc(); ++k) {
        auto f = TModelFunction::GetFunction(static_cast<TAvailableFunctions>(k));
        TRVarInfo info;
        for (int i = 0; i < f->nbOfParameters(); ++i) {
            f->parameterInitValues(i, info);
            f->setParameterValue(i, info.value);
        }
        f->workWithTempHour(&hf);
        fs.push_back(std::move(f));
    }
    fs.front()->Run(1.0, OPTIM_LVL); // first use of the day-less record
    for (auto& f : fs)
        f->runDaily(d, 1.0, OPTIM_LVL); // Delpierre's first day at a latitude builds its table
    const long before = HeapAllocations();
    double sum = 0;
    for (auto& f : fs) {
        for (int day = 1; day <= 30; ++day)
            sum += f->runDaily(d, day * 0.5, OPTIM_LVL);
        // Those two need a latitude, which a day without data lacks.
        if (f->getName() == "Delpierre" || f->getName() == "White") continue;
        sum += f->Run(3.0, OPTIM_LVL);
        sum += f->runHourly(y, 5, OPTIM_LVL);
    }
    EXPECT_EQ(HeapAllocations(), before);
    (void)sum;

    // A model of two overlapping phases, hourly and day-length functions included.
    using namespace fixture;
    TWeather W;
    AddYear(W, 2001, 10.0);
    AddYear(W, 2002, 10.0);
    TMetaModel m;
    m.PushPhase(IdentityPhase(0, -20, 300));
    auto ph = IdentityPhase(1, 100, 1e4);
    ph->functions[0]->useDayLengthAsVar = true;
    ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
    auto gdd = Func("GDD");
    gdd->workWithTempHour(ph->tempHourFunction.get());
    ph->PushFunction(std::move(gdd));
    ph->phaseLinkMode = TPhaseLinkMode::Overlap_Multiplication;
    m.PushPhase(std::move(ph));
    m.Initialize(0, Pheno(W, {{150.0}, {160.0}}));
    TRFunctionDesc fd;
    // T0 and S* of both phases, the two overlap parameters, the GDD base.
    fd.nb_of_parameters = 7;
    for (double v : {-20.0, 300.0, 100.0, 1e4, -0.01, 1.0, 5.0}) {
        fd.var_info.emplace_back();
        fd.var_info.back().value = v;
    }
    m.setParameters(fd);
    m.Run(0);
    const long beforeRuns = HeapAllocations();
    for (int k = 0; k < 10; ++k) {
        m.setParameters(fd);
        m.Run(k % 2);
    }
    EXPECT_EQ(HeapAllocations(), beforeRuns);
}
