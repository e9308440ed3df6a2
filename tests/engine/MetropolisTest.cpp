#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "OrvexError.h"
#include "SearchTestSupport.h"

namespace {

class RecordingSink : public TSensitivityOutput {
public:
    void WriteRows(std::span<const double> values, int width) override {
        blocks.push_back(static_cast<int>(values.size()) / width);
        rows.insert(rows.end(), values.begin(), values.end());
    }
    std::vector<int> blocks;
    std::vector<double> rows;
};

} // namespace

// One parameter, two visits at temperature 1: what each scripted move does to value, step,
// result and the acceptance rate. Bounds are allowed values.
TEST(Metropolis, MoveVerdicts) {
    struct Case {
        const char* name;
        std::deque<double> draws; // move draw, then the acceptance draw if one is taken
        double trial;             // objective at the moved point, relative to the start
        bool accepted;
        int calls; // objective calls: the start point plus evaluated moves
        double lo = -100.0, hi = 100.0;
    };
    const Case cases[] = {
        {"better", {0.75}, +2.0, true, 2},
        {"equal takes a draw and passes", {0.75, 0.999}, 0.0, true, 2},
        {"worse by half a unit, lucky draw", {0.75, 0.60}, -0.5, true, 2},
        {"worse by half a unit, unlucky draw", {0.75, 0.61}, -0.5, false, 2},
        {"worse by more than one unit", {0.75}, -1.5, false, 2},
        {"acceptance draw of exactly 0", {0.75, 0.0}, -0.5, false, 2},
        {"move draw of exactly 0", {0.0}, +2.0, false, 1},
        {"move draw of exactly 1", {1.0}, +2.0, false, 1},
        {"onto the upper bound", {0.75}, +2.0, true, 2, 9.0, 11.0},
        {"onto the lower bound", {0.25}, +2.0, true, 2, 9.0, 11.0},
        {"just beyond the upper bound", {0.75}, +2.0, false, 1, 9.0, 10.999},
        {"just beyond the lower bound", {0.25}, +2.0, false, 1, 9.001, 11.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TRFunctionDesc fd = Problem({10.0}, 4.0, c.lo, c.hi);
        TRMetropolisDesc md = Settings(1, 2, 1.0, 1.0);
        std::deque<double> draws = c.draws;
        draws.push_back(0.5); // second visit: no move at all ((0.5 - 0.5) * step) and equal result
        draws.push_back(0.5);
        ScriptedRandom rd(draws);
        TestObjective obj(md, [&](const TRFunctionDesc& p, int) {
            return p.var_info[0].value == 10.0 ? -5.0 : -5.0 + c.trial;
        });
        ASSERT_TRUE(obj.Metropolise(fd, md, rd, false, nullptr));
        EXPECT_EQ(rd.left(), 0u);
        EXPECT_EQ(static_cast<int>(obj.calls.size()), c.calls + 1);
        EXPECT_DOUBLE_EQ(fd.var_info[0].value, c.accepted ? 10.0 + (c.draws[0] - 0.5) * 4.0 : 10.0);
        // The first visit grows or shrinks the step; the second (accepted, equal) grows it again.
        EXPECT_DOUBLE_EQ(fd.var_info[0].step, 4.0 * (c.accepted ? 1.01 : 0.99) * 1.01);
        EXPECT_DOUBLE_EQ(md.pacc, c.accepted ? 1.0 : 0.5);
        EXPECT_DOUBLE_EQ(fd.best_result, c.accepted && c.trial > 0 ? -3.0 : -5.0);
    }
}

// Each trial worsens the objective by exactly 1, so a move is accepted when the acceptance draw
// is below exp(-1 / T): draws just below or just above pin the temperature of every loop. A zero
// temperature at either end is pure descent from the first loop: no draw, and even an equal
// result is refused.
TEST(Metropolis, TemperatureSchedule) {
    struct Case {
        double temp0, tempf, trial;
        std::vector<double> temps;
    };
    // 1/T grows by beta = (10 - 1) / (3 * 10 * 1) = 0.3 per loop, from the first loop on.
    const Case cases[] = {{10.0, 1.0, -1.0, {2.5, 1.0 / 0.7, 1.0}},
                          {2.0, 2.0, -1.0, {2.0, 2.0, 2.0}},
                          {0.0, 0.0, 0.0, {0.0, 0.0, 0.0}},
                          {5.0, 0.0, 0.0, {0.0, 0.0, 0.0}},
                          {0.0, 2.5, 0.0, {0.0, 0.0, 0.0}}};
    for (const Case& c : cases) {
        for (double side : {0.999, 1.001}) {
            SCOPED_TRACE(testing::Message() << c.temp0 << " " << c.tempf << " " << side);
            std::deque<double> draws;
            for (double t : c.temps) {
                draws.push_back(0.75);
                if (t > 0.0) draws.push_back(std::exp(-1.0 / t) * side);
            }
            TRFunctionDesc fd = Problem({0.0}, 1.0);
            TRMetropolisDesc md = Settings(3, 1, c.temp0, c.tempf);
            ScriptedRandom rd(draws);
            TestObjective obj(md, [&](const TRFunctionDesc& p, int) { return p.curr_result + c.trial; });
            testing::internal::CaptureStdout();
            EXPECT_NO_THROW(obj.Metropolise(fd, md, rd, false, nullptr)); // no draw beyond the script
            // Only one of the two at zero is worth a line on the console.
            EXPECT_EQ(testing::internal::GetCapturedStdout().empty(), (c.temp0 == 0.0) == (c.tempf == 0.0));
            EXPECT_EQ(rd.left(), 0u);
            EXPECT_DOUBLE_EQ(md.pacc, side < 1.0 && c.temps[0] > 0.0 ? 1.0 : 0.0);
            EXPECT_EQ(md.temp0, c.temp0); // read, never written
            EXPECT_EQ(md.tempf, c.tempf);
        }
    }
}

// 5 parameters x 5000 sweeps = 25000 visits: two blocks of 10000, then the last sweep after
// every visit; rows hold every value and the sum of squares. Every step is 0: no draw, no
// move attempted, and an acceptance rate of 0 rather than 0 / 0.
TEST(Metropolis, SensitivityRowsInBlocks) {
    TRFunctionDesc fd = Problem(std::vector<double>(5, 2.0), 0.0);
    TRMetropolisDesc md = Settings(1, 5000, 1.0, 1.0);
    ScriptedRandom rd({});
    TestObjective obj(md, [](const TRFunctionDesc&, int) { return -42.0; });
    RecordingSink sink;
    obj.Metropolise(fd, md, rd, true, &sink);
    EXPECT_EQ(md.pacc, 0.0);
    EXPECT_EQ(sink.blocks, (std::vector<int>{10000, 10000, 4996, 1, 1, 1, 1}));
    ASSERT_EQ(sink.rows.size(), 25000u * 6);
    EXPECT_EQ(sink.rows[0], 2.0);
    EXPECT_EQ(sink.rows[5], 42.0);

    EXPECT_THROW(obj.Metropolise(fd, md, rd, true, nullptr), EOrvexError);
}

TEST(Metropolis, ObjectiveErrorDropsHeldRows) {
    TRFunctionDesc fd = Problem({0.0}, 1.0);
    TRMetropolisDesc md = Settings(1, 3, 1.0, 1.0);
    ScriptedRandom rd({0.75, 0.75, 0.75}); // first move accepted (equal result), second one fails
    TestObjective obj(md, [](const TRFunctionDesc&, int n) {
        if (n == 2) throw EOrvexError("model failed");
        return -1.0;
    });
    RecordingSink sink;
    EXPECT_THROW(obj.Metropolise(fd, md, rd, true, &sink), EOrvexError);
    EXPECT_TRUE(sink.blocks.empty());
}
