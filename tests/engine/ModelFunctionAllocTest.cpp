// Evaluation is the inner loop of a fit: it must not touch the heap.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "AllocCounter.h"
#include "ModelsFuncLib.h"

namespace {
std::atomic<long> g_allocations{0};
}

long HeapAllocations() {
    return g_allocations.load();
}

void* operator new(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {
double Hourly(const TWeatherYear&, int, int h) {
    return 2.0 + h * 0.5;
}
} // namespace

TEST(ModelFunctionAlloc, EvaluationAllocatesNothing) {
    TWeatherYear y(2001, 1, 0, nullptr);
    TTempHourFunc hf(Hourly, "test");
    TRWeatherDay d;
    d._tmp = 8;
    d._tmn = 3;
    d._tmx = 14;
    d._lat = 45;
    d._doy = 80;
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
    const long before = g_allocations.load();
    double sum = 0;
    for (auto& f : fs) {
        for (int day = 1; day <= 30; ++day)
            sum += f->runDaily(d, day * 0.5, OPTIM_LVL);
        // Those two need a latitude, which a day without data lacks.
        if (f->getName() == "Delpierre" || f->getName() == "White") continue;
        sum += f->Run(3.0, OPTIM_LVL);
        sum += f->runHourly(y, 5, OPTIM_LVL);
    }
    EXPECT_EQ(g_allocations.load(), before);
    (void)sum;
}
