// The choice of the rows' workers, from rates and days the tests set, on cores they set: the
// same on any machine.

#include <gtest/gtest.h>

#include "RowThreadChoice.h"

namespace {

using Why = TRowThreadChoice::TWhy;

// A choice on `cores` whose last evaluation ran on one thread at nsPerDay over `days`.
TRowThreadChoice AfterOneThread(double nsPerDay, long long days, int cores = 8) {
    TRowThreadChoice c(cores, [] { return 0.0; });
    c.Measure(nsPerDay * static_cast<double>(days), days, false);
    return c;
}

} // namespace

// Threads from MIN_THREAD_NS of foreseen work, one worker per WORKER_NS of it, up to the cores.
TEST(RowThreadChoice, ForeseenWorkSizesTheWorkers) {
    EXPECT_EQ(TRowThreadChoice(8).Decide().workers, 1); // nothing measured yet
    EXPECT_EQ(AfterOneThread(100.0, 0).Decide().workers, 1);
    const TRowThreadChoice::TDecision below = AfterOneThread(100.0, 1999).Decide();
    EXPECT_EQ(below.workers, 1);
    EXPECT_EQ(below.why, Why::TooShort);
    EXPECT_EQ(AfterOneThread(100.0, 2000).Decide().workers, 4);
    EXPECT_EQ(AfterOneThread(100.0, 3499).Decide().workers, 6);
    EXPECT_EQ(AfterOneThread(100.0, 3500).Decide().workers, 7);
    EXPECT_EQ(AfterOneThread(100.0, 100000).Decide().workers, 8);
    EXPECT_EQ(AfterOneThread(100.0, 100000, 3).Decide().workers, 3);
    EXPECT_EQ(AfterOneThread(100.0, 100000, 1).Decide().workers, 1);

    // A count asked for holds whatever the work; the threads are made with it, else per core.
    TRowThreadChoice asked = AfterOneThread(100.0, 100000);
    EXPECT_EQ(asked.WorkersToMake(), 8);
    asked.Request(1);
    EXPECT_EQ(asked.ChooseForNextEvaluation(), 1);
    asked = AfterOneThread(100.0, 10);
    asked.Request(3);
    EXPECT_EQ(asked.ChooseForNextEvaluation(), 3);
    EXPECT_EQ(asked.WorkersToMake(), 3);
}

// Threads no faster than one thread (equal included) wait THREAD_RETRY evaluations for their
// next trial, which measures them afresh; threads that pay leave one evaluation in
// THREAD_RETRY to one thread.
TEST(RowThreadChoice, MeasuredRatesDecideAndAreTriedAgainNowAndThen) {
    for (double threadsNsPerDay : {150.0, 100.0}) {
        TRowThreadChoice c = AfterOneThread(100.0, 4000);
        ASSERT_EQ(c.ChooseForNextEvaluation(), 8); // threads not measured yet
        c.Measure(threadsNsPerDay * 4000.0, 4000, true);
        for (int k = 1; k < TRowThreadChoice::THREAD_RETRY; ++k) {
            ASSERT_EQ(c.Decide().why, Why::ThreadsDidNotPay) << threadsNsPerDay << " evaluation " << k;
            ASSERT_EQ(c.ChooseForNextEvaluation(), 1) << threadsNsPerDay << " evaluation " << k;
            c.Measure(100.0 * 4000.0, 4000, false);
        }
        EXPECT_EQ(c.ChooseForNextEvaluation(), 8) << threadsNsPerDay;
        EXPECT_EQ(c.NsPerDayThreads(), 0.0);
        c.Measure(threadsNsPerDay * 4000.0, 4000, true);
        EXPECT_EQ(c.ChooseForNextEvaluation(), 1) << threadsNsPerDay << ": the trial starts the wait again";
    }

    TRowThreadChoice c = AfterOneThread(100.0, 4000);
    for (int round = 0; round < 2; ++round) {
        for (int k = 1; k < TRowThreadChoice::THREAD_RETRY; ++k) {
            ASSERT_EQ(c.ChooseForNextEvaluation(), 8) << "round " << round << " evaluation " << k;
            c.Measure(60.0 * 4000.0, 4000, true);
        }
        EXPECT_EQ(c.Decide().why, Why::OneThreadNowAndThen);
        EXPECT_EQ(c.ChooseForNextEvaluation(), 1) << "round " << round;
        c.Measure(100.0 * 4000.0, 4000, false);
    }
}

// A rate follows a faster evaluation at once and a slower one by a sixteenth of the gap; the
// evaluation that made the threads is not measured, though its days count.
TEST(RowThreadChoice, MeasureSmoothsAndSkipsTheEvaluationThatMadeTheThreads) {
    TRowThreadChoice c = AfterOneThread(100.0, 1000);
    c.Measure(50.0 * 1000.0, 1000, false);
    EXPECT_EQ(c.NsPerDayOne(), 50.0);
    c.Measure(66.0 * 1000.0, 1000, false);
    EXPECT_EQ(c.NsPerDayOne(), 51.0);
    EXPECT_EQ(c.NsPerDayThreads(), 0.0);
    c.Measure(1e6, 0, false);
    EXPECT_EQ(c.NsPerDayOne(), 51.0);

    c.ThreadsMade();
    c.Measure(500.0 * 2000.0, 2000, true);
    EXPECT_EQ(c.NsPerDayThreads(), 0.0);
    EXPECT_EQ(c.LastDays(), 2000);
    c.Measure(30.0 * 2000.0, 2000, true);
    EXPECT_EQ(c.NsPerDayThreads(), 30.0);
}
