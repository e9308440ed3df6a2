#pragma once
// What the windows need of a fit run thread. The engine's fit is reached only through this
// class, so the result frame and the main window can be driven by a stand-in run in tests.

#include <memory>
#include <string>
#include <vector>

#include "FitRequest.h"

class TRepetition;

class TFitRun {
public:
    virtual ~TFitRun() = default;
    // Checks the input files and creates the output files; raises EOrvexError naming the first
    // failure, after dropping what it made. Error() and ErrorInfo() are the run's own failure.
    virtual void Prepare() = 0;
    virtual void Start() = 0;
    // Holds the run at its next safe point; Resume lets it go on.
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Stops a run that still goes on at its next safe point, waits for it and closes its files.
    virtual void Quit() = 0;

    // Safe to call while the run goes on.
    virtual bool Finished() const = 0;
    virtual bool Paused() const = 0;
    virtual bool Error() const = 0;
    virtual std::string ErrorInfo() const = 0;
    virtual int Advancement() const = 0;
    virtual std::string CurrentTreatment() const = 0;
    virtual std::vector<std::string> MetropolisProgress() const = 0;
    virtual bool LeaveOneOut() const = 0;
    virtual std::string OutputFile() const = 0;
    // Once Finished(): the successful repetitions of every pass, owned by the run.
    virtual const std::vector<TRepetition*>& Repetitions() const = 0;
};

// A fit of the request's model; relative paths resolve against the executable's folder.
std::unique_ptr<TFitRun> CreateFitRun(TFitRequest request);
