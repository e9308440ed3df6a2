// The simulation run backed by the engine's thread.
#include "SimulationRun.h"

#include "AppFolder.h"
#include "FileUtils.h"
#include "Orvex.h"

namespace {

// The window's executable folder is the one paths resolve against (tests move it), so the
// thread receives them already absolute. An empty path stays empty: no T0 file, or an output
// file the preparation reports.
std::string BesideExe(const std::string& path) {
    return path.empty() ? path : GetAbsolutePath(ExeFolder(), path);
}

class TEngineSimulationRun final : public TSimulationRun {
public:
    TEngineSimulationRun(int maxMissingTemp, const std::string& temp, const std::string& output,
                         const std::string& parameters, const std::string& siminfo)
        : simul_(maxMissingTemp, BesideExe(temp), BesideExe(output), BesideExe(parameters),
                 BesideExe(siminfo)) {}

    void Prepare() override { simul_.Prepare(); }
    void Start() override { simul_.Start(); }
    void Quit() override { simul_.Quit(); }
    bool Finished() const override { return simul_.Finished(); }
    bool Error() const override { return simul_.Error(); }
    std::string ErrorInfo() const override { return simul_.ErrorInfo(); }
    std::string OutputFile() const override { return simul_.nomf_output(); }
    int HeadersSize() const override { return simul_.headersSize(); }

private:
    TSimulation simul_;
};

} // namespace

std::unique_ptr<TSimulationRun> CreateSimulationRun(int maxMissingTemp, const std::string& nomf_temp,
                                                    const std::string& nomf_output,
                                                    const std::string& nomf_parameters,
                                                    const std::string& nomf_siminfo) {
    return std::make_unique<TEngineSimulationRun>(maxMissingTemp, nomf_temp, nomf_output, nomf_parameters,
                                                  nomf_siminfo);
}
