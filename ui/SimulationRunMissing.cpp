// Built while the engine has no simulation thread: every attempt reports it.
#include "SimulationRun.h"

#include "OrvexError.h"

std::unique_ptr<TSimulationRun> CreateSimulationRun(int, const std::string&, const std::string&,
                                                    const std::string&, const std::string&) {
    throw EOrvexError("Simulations are not available in this build of Orvex.");
}
