#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "OrvexError.h"
#include "RunThread.h"

namespace {

// A run that fails to prepare or raises as told; pausing is tested through the fit.
class ToyRun : public TRunThread {
public:
    enum class Mode { Ok, PrepareFails, Raises, RaisesOther };
    explicit ToyRun(Mode mode)
        : TRunThread("TToy", "toy", "Toy failed for an unknown reason."), mode_(mode) {}
    ~ToyRun() override { Quit(); }

    int discards = 0;
    bool runOver = false;

protected:
    void PrepareRun() override {
        if (mode_ == Mode::PrepareFails) throw EOrvexError("The toy file does not exist.");
    }
    void Run() override {
        if (mode_ == Mode::Raises) throw EOrvexError("line 2 is wrong");
        if (mode_ == Mode::RaisesOther) throw 42;
    }
    void RunOver() override { runOver = true; }
    void Discard() override { ++discards; }

private:
    Mode mode_;
};

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
