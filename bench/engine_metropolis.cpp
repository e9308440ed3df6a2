// The optimiser's own cost per objective evaluation, on an objective that costs almost nothing.
#include <benchmark/benchmark.h>

#include "Metropolis.h"
#include "RandomDistrib.h"

namespace {

class Bowl : public TMetropolis {
public:
    double f(const TRFunctionDesc& fd) override {
        ++calls;
        double ss = 0.0;
        for (int i = 0; i < fd.nb_of_parameters; ++i) {
            const double d = fd.var_info[i].value - 0.5 * i;
            ss += d * d;
        }
        return -ss;
    }
    long long calls = 0;
};

void BM_MetropoliseOverhead(benchmark::State& state) {
    const int nb = static_cast<int>(state.range(0));
    Bowl bowl;
    TUniDistrib rd(12, 34, 56, 78);
    for (auto _ : state) {
        TRFunctionDesc fd;
        fd.nb_of_parameters = nb;
        fd.var_info.resize(nb);
        for (auto& v : fd.var_info) {
            v.minBound = -10.0;
            v.maxBound = 10.0;
            v.value = 5.0;
            v.step = 2.0;
        }
        fd.best_result = -1e300;
        TRMetropolisDesc md;
        md.ntr = 20;
        md.nts = 50;
        TMetropolis::InitMetropolisDesc(md, 2.0);
        md.tempf = 0.01;
        bowl.Metropolise(fd, md, rd, false, nullptr);
        benchmark::DoNotOptimize(fd.best_result);
    }
    state.counters["evaluations/s"] =
        benchmark::Counter(static_cast<double>(bowl.calls), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_MetropoliseOverhead)->Arg(3)->Arg(30);
