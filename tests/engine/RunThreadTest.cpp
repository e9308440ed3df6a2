// What the fit and simulation tests cannot reach: a second start, and a failure that is no
// std::exception.
#include <gtest/gtest.h>

#include "OrvexError.h"
#include "RunThread.h"

namespace {

class ToyRun : public TRunThread {
public:
    explicit ToyRun(bool raises)
        : TRunThread("TToy", "toy", "Toy failed for an unknown reason."), raises_(raises) {}
    ~ToyRun() override { Quit(); }

    bool runOver = false;

protected:
    void PrepareRun() override {}
    void Run() override {
        if (raises_) throw 42;
    }
    void RunOver() override { runOver = true; }
    void Discard() override {}

private:
    bool raises_;
};

} // namespace

TEST(RunThread, StartsOnceAndAnyFailureBecomesItsError) {
    for (bool raises : {false, true}) {
        ToyRun run(raises);
        run.Prepare();
        run.Start();
        EXPECT_THROW(run.Start(), EOrvexError);
        EXPECT_THROW(run.Prepare(), EOrvexError);
        run.WaitFor();
        EXPECT_TRUE(run.Finished());
        EXPECT_TRUE(run.runOver);
        EXPECT_EQ(run.Error(), raises);
        EXPECT_EQ(run.ErrorInfo(), raises ? "Toy failed for an unknown reason." : "");
    }
}
