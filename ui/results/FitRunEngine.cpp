// The fit run backed by the engine's thread.
#include "AppFolder.h"
#include "FileUtils.h"
#include "Fit.h"
#include "FitRun.h"

namespace {

// The window's executable folder is the one paths resolve against (tests move it), so the
// fit receives them already absolute.
std::string BesideExe(const std::string& path) {
    return path.empty() ? path : GetAbsolutePath(ExeFolder(), path);
}

class TEngineFitRun final : public TFitRun {
public:
    explicit TEngineFitRun(TFitRequest r)
        : fit_(std::move(r.model), r.metropolis, BesideExe(r.temperaturesPath), BesideExe(r.phenologyPath),
               BesideExe(r.fitInfoPath), BesideExe(r.saveFitAsPath), r.maxMissingTemp, r.leaveOneOut) {
        fit_.SetSkipFisher(r.skipFisher);
    }

    void Prepare() override { fit_.Prepare(); }
    void Start() override { fit_.Start(); }
    void Pause() override { fit_.Pause(); }
    void Resume() override { fit_.Resume(); }
    void Quit() override { fit_.Quit(); }
    bool Finished() const override { return fit_.Finished(); }
    bool Paused() const override { return fit_.Paused(); }
    bool Error() const override { return fit_.Error(); }
    std::string ErrorInfo() const override { return fit_.ErrorInfo(); }
    int Advancement() const override { return fit_.Advancement(); }
    std::string CurrentTreatment() const override { return fit_.CurrentTreatment(); }
    std::vector<std::string> MetropolisProgress() const override { return fit_.MetropolisProgress(); }
    bool LeaveOneOut() const override { return fit_.LeaveOneOut(); }
    std::string OutputFile() const override { return fit_.OutputFileName(); }
    const std::vector<TRepetition*>& Repetitions() const override { return fit_.Repetitions(); }

private:
    TFit fit_;
};

} // namespace

std::unique_ptr<TFitRun> CreateFitRun(TFitRequest request) {
    return std::make_unique<TEngineFitRun>(std::move(request));
}
