#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "AutomaticMetropolis.h"
#include "ErrorText.h"
#include "SearchProgress.h"
#include "SearchTestSupport.h"
#include "SensitivityFile.h"

namespace {

// An anonymous file, gone when closed.
struct TempFile {
    std::FILE* file = std::tmpfile();
    TSensitivityFile out{file, "sensitivity"};
    ~TempFile() { std::fclose(file); }
    std::string Text() {
        std::string text;
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;)
            text += static_cast<char>(c);
        std::fseek(file, 0, SEEK_END); // writing may follow
        return text;
    }
};

// The staged search with every draw 0.75 (moves go up by a quarter of the step), its progress
// lines thrown away.
bool Search(TMetropolis& obj, TRFunctionDesc& fd, TRMetropolisDesc& md, int rep, TSensitivityFile* sa) {
    ScriptedRandom rd({}, 0.75);
    TSearchProgress progress;
    TRFunctionDesc bestFit;
    return StagedSearch(obj, fd, md, rd, rep, sa, progress, bestFit);
}

} // namespace

// Fixed parameters make every annealing run one evaluation, so the script below is one
// result per run: warm-up, two very global runs, two global, two local, two confidence runs.
TEST(StagedSearch, StagesSettingsAndProgressLines) {
    TRFunctionDesc fd = Fixed({1.5, -2.0});
    TRMetropolisDesc md = Settings();
    const std::vector<double> script = {-100, -80, -90, -70, -60, -50, -50, -55, -58};
    TestObjective obj(md,
                      [&](const TRFunctionDesc&, int n) { return script.at(static_cast<std::size_t>(n)); });
    ScriptedRandom rd({}, 0.75);
    TSearchProgress progress;
    progress.Set(0, "SEARCH");
    progress.Set(2, "old");
    progress.Set(100, "old");
    TRFunctionDesc bestFit;
    TempFile sa;

    ASSERT_TRUE(StagedSearch(obj, fd, md, rd, 1, &sa.out, progress, bestFit));

    const double d = 0.99, shrunk = 0.99 * 0.9;
    const std::vector<Call> expected = {{5, 5, d}, {5, 5, d}, {5, 5, d},      {5, 5, d},     {5, 5, d},
                                        {0, 0, d}, {0, 0, d}, {3, 3, shrunk}, {3, 3, shrunk}};
    EXPECT_EQ(obj.calls, expected);
    // Out-of-bounds moves only: the confidence stage's step is 10 for a parameter without range.
    EXPECT_EQ(fd.var_info[0].step, 10.0 * std::pow(0.99 * 0.9, 2 * 2));

    std::vector<std::string> lines(SEARCH_PROGRESS_LINES);
    lines[0] = "SEARCH";
    lines[3] = "Very global search: 2";
    lines[4] = "SSres: 80"; // the second very global run found nothing better
    lines[8] = "Global Search: 2";
    lines[9] = "Metropolis Temp:5";
    lines[10] = "SSres: 60";
    lines[14] = "Local search:2";
    lines[15] = "SSres:50"; // shown before the run
    lines[19] = "Confidence Interval Search: 2";
    lines[20] = "SSres: 58"; // the current point, not the best
    for (std::size_t at : {5, 11, 16, 21}) {
        lines[at] = "a:1.5";
        lines[at + 1] = "b:-2";
    }
    EXPECT_EQ(progress.Lines(), lines);

    // The overall best point (kept in bestFit), then every visit of the two runs.
    const std::string at55 = "1.500\t-2.000\t55.000\r\n", at58 = "1.500\t-2.000\t58.000\r\n";
    EXPECT_EQ(sa.Text(), "1.500\t-2.000\t50.000\r\n" + at55 + at55 + at55 + at55 + at58 + at58 + at58 + at58);

    // A later repetition that does worse leaves the overall best where it was.
    TestObjective worse(md, [](const TRFunctionDesc&, int) { return -200.0; });
    fd.best_result = -1e10;
    ASSERT_TRUE(StagedSearch(worse, fd, md, rd, 2, &sa.out, progress, bestFit));
    EXPECT_EQ(fd.best_overall_result, -50.0);
    EXPECT_EQ(bestFit.best_overall_result, -50.0);
}

// Runs per stage from the settings; every run is one evaluation (fixed parameters), and every
// evaluation gains `gain` on the one before. Two repetitions.
TEST(StagedSearch, RunsPerStage) {
    struct Case {
        const char* name;
        int veryglob, global;
        double climbrate, gain;
        int rep;
        bool skip_fisher;
        int conf_interval;
        int runs; // warm-up + very global + global + local + confidence
    };
    const Case cases[] = {
        {"no very global stage", 0, 1, 0.1, 0.0, 1, false, 1, 1 + 0 + 1 + 1},
        {"no climb rate: one global run", 0, 4, 0.0, 0.0, 1, false, 1, 1 + 0 + 1 + 1},
        {"local stops after 51 runs", 0, 1, 0.1, 1.0, 1, false, 1, 1 + 0 + 1 + 51},
        {"gain below precision stops it", 0, 1, 0.1, 0.25, 1, false, 1, 1 + 0 + 1 + 1},
        {"later repetitions too", 0, 1, 0.1, 0.0, 5, false, 1, 1 + 0 + 1 + 1 + 1},
        {"skipped: its count unused", 0, 1, 0.1, 0.0, 2, true, 0, 1 + 0 + 1 + 1},
        {"no climb rate: one confidence run", 0, 1, 0.0, 0.0, 2, false, 3, 1 + 0 + 1 + 1 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRFunctionDesc fd = Fixed({0.0});
        TRMetropolisDesc md = Settings();
        md.veryglob = c.veryglob;
        md.global = c.global;
        md.climbrate = c.climbrate;
        md.nb_repetitions = 2;
        md.skip_fisher = c.skip_fisher;
        md.conf_interval = c.conf_interval;
        TestObjective obj(md, [&](const TRFunctionDesc&, int n) { return -1000.0 + c.gain * n; });
        TempFile sa;
        ASSERT_TRUE(Search(obj, fd, md, c.rep, &sa.out));
        EXPECT_EQ(static_cast<int>(obj.calls.size()), c.runs);
    }
}

// The global stage sets the next final temperature from the specific heat var / tempf^2 of
// the run, and scales the climb rate when the planned drop is too small or too large.
TEST(StagedSearch, GlobalStageCoolsBySpecificHeat) {
    TRFunctionDesc fd = Problem({0.0}, 1.0, -1e9, 1e9);
    TRMetropolisDesc md = Settings(1, 2, 1.0, 1.0);
    md.veryglob = 0;
    md.global = 3;
    md.nb_repetitions = 2;
    md.precision = 1e9; // one local run
    // Three evaluations per run (start, two accepted moves); the two sweep ends differ by
    // d, so the run's variance is d^2 / 2: 2, 0.5 and 5000 in the global runs.
    const std::vector<double> sweepGap = {1.0, 2.0, 1.0, 100.0, 1.0};
    TestObjective obj(md, [&](const TRFunctionDesc&, int n) {
        const int run = n / 3, k = n % 3;
        const double base = -1e6 + 1000.0 * run;
        return k == 0 ? base : k == 1 ? base + 1.0 : base + 1.0 + sweepGap.at(static_cast<std::size_t>(run));
    });
    ScriptedRandom rd({}, 0.75);
    TSearchProgress progress;
    TRFunctionDesc bestFit;
    ASSERT_TRUE(StagedSearch(obj, fd, md, rd, 1, nullptr, progress, bestFit));
    ASSERT_EQ(obj.calls.size(), 15u);
    // tempf 1, var 2: planned drop 4 x 0.1 / 2 leaves r = 0.8, so tempf 0.8.
    EXPECT_DOUBLE_EQ(obj.calls[6].tempf, 0.8);
    // tempf 0.8, var 0.5: r = 0.36 < 0.7, climb rate / 5, tempf 0.8 - 4 x 0.02 x 0.64 / 0.5.
    EXPECT_DOUBLE_EQ(obj.calls[9].tempf, 0.6976);
    EXPECT_EQ(progress.Line(1 + 7), "Metropolis Temp:0.6976");
    // var 5000: r > 0.999, climb rate x 5 = 0.1 again; the change stays in the settings.
    EXPECT_DOUBLE_EQ(md.climbrate, 0.1);
    EXPECT_EQ(obj.calls[12].tempf, 0.0); // the local stage
    EXPECT_EQ(obj.calls[6].temp0, 1.0);  // every global run cools from the start temperature
}

// One parameter that always moves, three evaluations a run: a stop is seen at the safe point
// before the next visit (1: inside the warm-up) or the next run (3), and nothing is evaluated
// after it. Every evaluation has its safe point before it, and the last one sees the stop.
TEST(StagedSearch, StopsAtTheNextSafePoint) {
    for (int stopAfter : {1, 3, 11}) {
        SCOPED_TRACE(stopAfter);
        TRFunctionDesc fd = Problem({0.0}, 1.0);
        TRMetropolisDesc md = Settings();
        md.skip_fisher = true;
        TestObjective obj(md, [](const TRFunctionDesc&, int) { return -1.0; });
        obj.stopAfter = stopAfter;
        EXPECT_FALSE(Search(obj, fd, md, 5, nullptr));
        EXPECT_EQ(static_cast<int>(obj.calls.size()), stopAfter);
        EXPECT_EQ(obj.gates, stopAfter + 1);
    }
}

TEST(StagedSearch, SettingsThatCannotRunRaiseBeforeAnyEvaluation) {
    struct Case {
        int ntr, nts, global, conf_interval;
        bool withFile;
        const char* error; // the start of the message
    };
    const Case cases[] = {
        {-2, -3, 1, 1, true, "Optimisation setting ntr is -2"}, // their product of 6 is no excuse
        {1, 1, 1, 1, true,
         "Optimisation setting ntr x nts is 1: it must be at least 2 (the variance of a run needs two "
         "sweeps)"},
        {1, 2, 0, 1, true, "Optimisation setting global is 0"},
        {1, 2, 1, 0, true, "Optimisation setting conf_interval is 0"},
        {1, 2, 1, 1, false, "The confidence-interval search has no sensitivity file"},
    };
    for (const Case& c : cases) {
        TRFunctionDesc fd = Fixed({0.0});
        TRMetropolisDesc md = Settings(c.ntr, c.nts);
        md.global = c.global;
        md.conf_interval = c.conf_interval;
        TestObjective obj(md, [](const TRFunctionDesc&, int) { return -1.0; });
        TempFile sa;
        const std::string error = ErrorText([&] { Search(obj, fd, md, 1, c.withFile ? &sa.out : nullptr); });
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
        EXPECT_TRUE(obj.calls.empty());
    }
}

TEST(StagedSearch, DememoMovesEveryParameterByOneDraw) {
    struct Case {
        double draw, value, step, hi, expected;
    };
    const Case cases[] = {
        {0.75, 1.0, 2.0, 100.0, 6.0}, // ten moves of +0.5
        {0.25, 1.0, 2.0, 100.0, -4.0},
        {0.75, 1.0, 2.0, 3.0, 2.5}, // 3.0 itself is not taken: bounds are excluded
        {0.75, 1.0, 0.0, 1.0, 1.0}, // a fixed parameter stays
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.draw << " " << c.hi);
        TRFunctionDesc fd = Problem({c.value, c.value}, c.step, -100.0, c.hi);
        fd.var_info[1].step = 2.0 * c.step;
        fd.var_info[1].maxBound = 1e9;
        ScriptedRandom rd({c.draw});
        dememo(fd, 10, rd);
        EXPECT_DOUBLE_EQ(fd.var_info[0].value, c.expected);
        EXPECT_DOUBLE_EQ(fd.var_info[1].value, c.value + 10 * (c.draw - 0.5) * 2.0 * c.step);
    }
}
