#pragma once
// A simulation run that finishes when told to, with an output file the test writes.

#include <memory>
#include <string>

#include "OrvexError.h"
#include "SimulationRun.h"

struct TFakeSimulationState {
    bool finished = false;
    bool error = false;
    std::string errorInfo;
    std::string output;
    std::string prepareError; // Prepare raises this when not empty
    int quits = 0;
    bool started = false;
    bool destroyed = false;
};

class TFakeSimulationRun : public TSimulationRun {
public:
    explicit TFakeSimulationRun(std::shared_ptr<TFakeSimulationState> state) : s(std::move(state)) {}
    ~TFakeSimulationRun() override { s->destroyed = true; }
    void Prepare() override {
        if (!s->prepareError.empty()) throw EOrvexError(s->prepareError);
    }
    void Start() override { s->started = true; }
    void Quit() override {
        ++s->quits;
        s->finished = true; // stops and waits
    }
    bool Finished() const override { return s->finished; }
    bool Error() const override { return s->error; }
    std::string ErrorInfo() const override { return s->errorInfo; }
    std::string OutputFile() const override { return s->output; }
    int HeadersSize() const override { return 4; }

private:
    std::shared_ptr<TFakeSimulationState> s;
};
