#include <benchmark/benchmark.h>

#include <string>

#include "MDParser10.h"

namespace {

// 40 terms mixing every precedence level, calls and powers, nested no deeper than the parser allows.
std::string FortyTerms() {
    const char* const groups[] = {"(2.5*X-SIN(X)/3+X^2-1.5E-2*COS(X))", "(MAX(X,1)-LN(X+1)*4+SQRT(X)/2-X^3)",
                                  "(ABS(X-2)*0.5+EXP(-X)-7MOD3+X/(1+X))", "(ARG(X,1)+2^X-LOG10(X+2)*X+PI/4)"};
    std::string text;
    for (int i = 0; i < 2; ++i)
        for (const char* g : groups)
            text += (text.empty() ? "" : "*") + std::string(g);
    return text;
}

void BM_CompileFortyTerms(benchmark::State& state) {
    TMDParser parser;
    const std::string text = FortyTerms();
    for (auto _ : state)
        benchmark::DoNotOptimize(parser.ParseExpression(text));
}
BENCHMARK(BM_CompileFortyTerms);

// One sample of a function series: write X, read the value.
void BM_EvaluateCompiled(benchmark::State& state) {
    TMDParser parser;
    parser.SetX(0.5);
    if (!parser.ParseExpression(FortyTerms())) state.SkipWithError("did not compile");
    ParserFloat x = 0.5;
    for (auto _ : state) {
        parser.SetX(x);
        benchmark::DoNotOptimize(parser.CalcValue());
        x += 1e-6L;
    }
}
BENCHMARK(BM_EvaluateCompiled);

} // namespace
