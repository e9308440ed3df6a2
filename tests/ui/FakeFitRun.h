#pragma once
// A fit run that finishes when told to, with an output file and repetitions the test provides.

#include <memory>
#include <string>
#include <vector>

#include "FitRun.h"
#include "OrvexError.h"

struct TFakeFitState {
    bool finished = false, paused = false, error = false, leaveOneOut = false, started = false,
         destroyed = false;
    bool prepareError = false; // Prepare raises errorInfo
    int quits = 0, advancement = 0;
    std::string errorInfo, treatment, output = "fit.txt";
    std::vector<std::string> progress;
    std::vector<TRepetition*> repetitions;
    TFitRequest request; // what the factory was given
};

class TFakeFitRun : public TFitRun {
public:
    explicit TFakeFitRun(std::shared_ptr<TFakeFitState> state) : s(std::move(state)) {}
    ~TFakeFitRun() override { s->destroyed = true; }
    void Prepare() override {
        if (s->prepareError) throw EOrvexError(s->errorInfo);
    }
    void Start() override { s->started = true; }
    void Pause() override { s->paused = true; }
    void Resume() override { s->paused = false; }
    void Quit() override {
        ++s->quits;
        s->finished = true; // stops and waits
    }
    bool Finished() const override { return s->finished; }
    bool Paused() const override { return s->paused; }
    bool Error() const override { return s->error; }
    std::string ErrorInfo() const override { return s->errorInfo; }
    int Advancement() const override { return s->advancement; }
    std::string CurrentTreatment() const override { return s->treatment; }
    std::vector<std::string> MetropolisProgress() const override { return s->progress; }
    bool LeaveOneOut() const override { return s->leaveOneOut; }
    std::string OutputFile() const override { return s->output; }
    const std::vector<TRepetition*>& Repetitions() const override { return s->repetitions; }

private:
    std::shared_ptr<TFakeFitState> s;
};
