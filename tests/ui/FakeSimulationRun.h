#pragma once
// A simulation run that finishes when told to, with an output file the test writes.

#include <memory>
#include <string>

#include "SimulationRun.h"

struct TFakeSimulationState {
    bool finished = false, error = false, started = false, destroyed = false;
    std::string errorInfo, output;
    int quits = 0;
};

class TFakeSimulationRun : public TSimulationRun {
public:
    explicit TFakeSimulationRun(std::shared_ptr<TFakeSimulationState> state) : s(std::move(state)) {}
    ~TFakeSimulationRun() override { s->destroyed = true; }
    void Prepare() override {}
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
