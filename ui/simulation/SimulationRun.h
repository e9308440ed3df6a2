#pragma once
// What the windows need of a simulation run thread. The engine's thread is reached only
// through this class, so the frame can be driven by a stand-in run in tests.

#include <memory>
#include <string>

class TSimulationRun {
public:
    virtual ~TSimulationRun() = default;
    // Makes the paths absolute and checks the files; raises EOrvexError naming the first
    // missing or locked file.
    virtual void Prepare() = 0;
    virtual void Start() = 0;
    // Stops a run that still goes on at its next safe point and waits for it.
    virtual void Quit() = 0;
    virtual bool Finished() const = 0;
    virtual bool Error() const = 0;
    virtual std::string ErrorInfo() const = 0;
    virtual std::string OutputFile() const = 0;
    // Lines before the empty line that ends the output file's header.
    virtual int HeadersSize() const = 0;
};

// A simulation of the model file over the climate file, with an optional T0 file.
std::unique_ptr<TSimulationRun> CreateSimulationRun(int maxMissingTemp, const std::string& nomf_temp,
                                                    const std::string& nomf_output,
                                                    const std::string& nomf_parameters,
                                                    const std::string& nomf_siminfo);
