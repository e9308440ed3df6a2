#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "OrvexError.h"
#include "RunThread.h"

namespace {

// A run that fails to prepare, raises or loops at the gate as told.
class ToyRun : public TRunThread {
public:
    enum class Mode { Ok, PrepareFails, Raises, RaisesOther, Loops };
    explicit ToyRun(Mode mode)
        : TRunThread("TToy", "toy", "Toy failed for an unknown reason."), mode_(mode) {}
    ~ToyRun() override { Quit(); }

    std::atomic<int> gates{0};
    int discards = 0;
    bool runOver = false;

protected:
    void PrepareRun() override {
        if (mode_ == Mode::PrepareFails) throw EOrvexError("The toy file does not exist.");
    }
    void Run() override {
        if (mode_ == Mode::Raises) throw EOrvexError("line 2 is wrong");
        if (mode_ == Mode::RaisesOther) throw 42;
        if (mode_ == Mode::Loops)
            while (!Gate())
                ++gates;
    }
    void RunOver() override { runOver = true; }
    void Discard() override { ++discards; }

private:
    Mode mode_;
};

void WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 2000 && !done(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

TEST(RunThread, PreparationRaisesAndStartNeedsIt) {
    ToyRun run(ToyRun::Mode::PrepareFails);
    EXPECT_THROW(run.Prepare(), EOrvexError);
    EXPECT_FALSE(run.Prepared());
    EXPECT_FALSE(run.Error()); // the error flag is the run's, not the preparation's
    EXPECT_EQ(run.discards, 1);
    try {
        run.Start();
        FAIL();
    } catch (const EOrvexError& e) {
        EXPECT_STREQ(e.what(), "Error : You MUST call TToy.Prepare() before TToy.Start()");
    }

    ToyRun ok(ToyRun::Mode::Ok);
    ok.Prepare();
    ok.Start();
    EXPECT_THROW(ok.Start(), EOrvexError);
    EXPECT_THROW(ok.Prepare(), EOrvexError);
    ok.WaitFor();
    EXPECT_TRUE(ok.Finished());
    EXPECT_TRUE(ok.runOver);
    EXPECT_FALSE(ok.Error());
}

TEST(RunThread, WhatTheRunRaisesBecomesItsError) {
    const struct {
        ToyRun::Mode mode;
        const char* text;
    } cases[] = {{ToyRun::Mode::Raises, "line 2 is wrong"},
                 {ToyRun::Mode::RaisesOther, "Toy failed for an unknown reason."}};
    for (const auto& c : cases) {
        ToyRun run(c.mode);
        run.Prepare();
        run.Start();
        run.WaitFor();
        EXPECT_TRUE(run.Finished());
        EXPECT_TRUE(run.Error());
        EXPECT_EQ(run.ErrorInfo(), c.text);
        EXPECT_TRUE(run.runOver);
    }
}

TEST(RunThread, PauseHoldsTheRunAndQuitEndsAPausedRun) {
    ToyRun run(ToyRun::Mode::Loops);
    run.Prepare();
    run.Start();
    WaitUntil([&] { return run.gates > 0; });
    run.Pause();
    EXPECT_TRUE(run.Paused());
    std::this_thread::sleep_for(std::chrono::milliseconds(5)); // the pass under way reaches the gate
    const int held = run.gates;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(run.gates - held, 1); // at most the pass that was under way
    EXPECT_FALSE(run.Finished());
    run.Quit();
    EXPECT_TRUE(run.Finished());
    EXPECT_FALSE(run.Error());
    EXPECT_EQ(run.discards, 1);
}
