// The simulation run backed by the engine's thread.
#include "SimulationRun.h"

#include "Orvex.h"

namespace {

class TEngineSimulationRun final : public TSimulationRun {
public:
    TEngineSimulationRun(int maxMissingTemp, const std::string& temp, const std::string& output,
                         const std::string& parameters, const std::string& siminfo)
        : simul_(maxMissingTemp, temp, output, parameters, siminfo) {}

    void Prepare() override { simul_.Prepare(); }
    void Start() override { simul_.Start(); }
    void Quit() override { simul_.Quit(); }
    bool Finished() const override { return simul_.Finished(); }
    bool Error() const override { return simul_.error; }
    std::string ErrorInfo() const override { return simul_.errorInfo; }
    std::string OutputFile() const override { return simul_.nomf_output; }
    int HeadersSize() const override { return simul_.headersSize; }

private:
    TSimulation simul_;
};

}  // namespace

std::unique_ptr<TSimulationRun> CreateSimulationRun(int maxMissingTemp, const std::string& nomf_temp,
                                                    const std::string& nomf_output,
                                                    const std::string& nomf_parameters,
                                                    const std::string& nomf_siminfo) {
    return std::make_unique<TEngineSimulationRun>(maxMissingTemp, nomf_temp, nomf_output, nomf_parameters,
                                                  nomf_siminfo);
}
