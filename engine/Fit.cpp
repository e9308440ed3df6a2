#include "Fit.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>

#include "AutomaticMetropolis.h"
#include "DebugUtils.h"
#include "FileUtils.h"
#include "FunctionSettings.h"
#include "Inputs.h"
#include "MyMetropolis.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "Outputs.h"
#include "RandomDistrib.h"
#include "RepetitionTable.h"
#include "SensitivityFile.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace {

const char* const OUTPUT_IS_OPEN = "Output file is open, please close it!";
const char* const FISHER_FAILED = "Data insufficient to calculate the fisher statistics";

std::string TooManyMissing(int found, int max) {
    return "Too many missing values ( found : " + std::to_string(found) +
           " | max is : " + std::to_string(max) + ").\nUnable to fit.";
}

std::string NotEnoughData(int fit) {
    return "The number of NON-MISSING observations for the Fit <" + std::to_string(fit) +
           ">\nis \"less or equal to 1\"... Not enought data to do the job...";
}

const char* const CAUSE_GAPS = "\nThe climate data has gaps (-9999) in the days the observed rows need.";
const char* const CAUSE_GIVEN_T0_OUTSIDE =
    "\nA T0 fixed in the model or read from the phenology data starts a phase before the first day of the "
    "climate data.";
const char* const CAUSE_OUTSIDE =
    "\nThe best parameters start a phase outside the climate data: its T0 lies before the first "
    "day of the data or the run goes beyond its last.";

} // namespace

std::string NonFiniteStatistic(const TRepetition& rep) {
    const std::pair<const char*, double> stats[] = {
        {"SSres", rep.SSres}, {"SStot", rep.SStot}, {"RMSE", rep.RMSE}, {"EFF", rep.EFF}};
    for (const auto& [name, value] : stats)
        if (!std::isfinite(value))
            return "The statistics of repetition " + std::to_string(rep.id) + " are not finite numbers (" +
                   name + " = " + FloatToStrGeneral(value) + ").\nUnable to fit.";
    return "";
}

// The fit's objective, whose safe points honour the fit's pause gate and stop flag.
class TFit::Objective : public TMyMetropolis {
public:
    Objective(TFit& fit, int leftOut)
        : TMyMetropolis(*fit.model, *fit.weather_, fit.pheno_, fit.fitInfo_,
                        fit.metropolisD.missing_threshold, leftOut, fit.fitRows_),
          fit_(fit) {
        SetStopFlag(&fit.StopFlag());
    }
    void PauseGate() override { fit_.Gate(); }

private:
    TFit& fit_;
};

double ComputeSStot(const TRPhenoInfos& pheno, TRepetition& rep, const TMetaModel& model) {
    double total = 0.0;
    int nbTot = 0;
    bool relevant = false;
    for (const auto& phase : model.PhasesArr) {
        const int c = phase->phenoDataColumn;
        if (c < 0 || !phase->usedToFit) continue;
        const auto scored = [c](const TRPhenoData& row) {
            return static_cast<std::size_t>(c) < row.dates.size() &&
                   row.dates[static_cast<std::size_t>(c)].fits == 1;
        };
        int n = 0;
        double s = 0.0;
        for (const auto& row : pheno.tabPheno)
            if (scored(row)) {
                ++n;
                s += row.dates[static_cast<std::size_t>(c)].date;
            }
        const double mean = n > 0 ? s / n : 0.0;
        for (const auto& row : pheno.tabPheno)
            if (scored(row)) {
                const double d = row.dates[static_cast<std::size_t>(c)].date - mean;
                total += d * d;
            }
        nbTot += n;
        relevant = relevant || n > 1;
    }
    rep.nbFitObsTot = nbTot;
    rep.isRelevant = relevant;
    return total;
}

TFit::TFit(std::unique_ptr<TMetaModel> dmodel, const TRMetropolisDesc& dmetropolisD, std::string dnomf_temp,
           std::string dnomf_pheno, std::string dnomf_info, std::string dnomf_output, int dmaxMissingTemps,
           bool dleaveOneOut)
    : TRunThread("TFit", "fit", "Unknown error"), metropolisD(dmetropolisD),
      rd(std::make_unique<TUniDistrib>()), maxMissingTemps(dmaxMissingTemps),
      nomf_temp(std::move(dnomf_temp)), nomf_pheno(std::move(dnomf_pheno)), nomf_info(std::move(dnomf_info)),
      nomf_output(std::move(dnomf_output)), leaveOneOut_(dleaveOneOut), model(std::move(dmodel)),
      SSBest(std::numeric_limits<double>::infinity()) {
    metropolisProgress_.Set(0, "SEARCH");
}

TFit::~TFit() {
    Quit();
}

void TFit::SetRandomGenerator(std::unique_ptr<TUniDistrib> generator) {
    if (generator) rd = std::move(generator);
}

void TFit::PrepareRun() {
    const std::string base = GetExecutableDir();
    const auto resolve = [&base](std::string& path, const char* missing) {
        path = GetAbsolutePath(base, path);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) throw EOrvexError(missing);
    };
    resolve(nomf_temp, "The climate data file does not exist.");
    resolve(nomf_pheno, "The phenology date file does not exist.");
    resolve(nomf_info, "The fit info file does not exist.");
    if (model == nullptr) throw EOrvexError("No model to fit.");

    nomf_output = GetAbsolutePath(base, nomf_output);
    f_output.Create(nomf_output, "Output file cannot be created or is already open : " + nomf_output);
    const std::filesystem::path out(nomf_output);
    filePath = out.parent_path().string() + "/";
    outputShortFilename = out.filename().string();

    if (!SkipFisher) {
        nomf_sensitivity = SensitivityFileName(nomf_output);
        nomf_fisher = FisherFileName(nomf_output);
        sensitivityFile_.Create(nomf_sensitivity,
                                "Sensitivity Analysis output file cannot be created or is already open.");
        f_sensitivity = sensitivityFile_.Stream();
        fisherFile_.Create(nomf_fisher, "Fisher output file cannot be created or is already open.");
        fisherFile_.Close(); // stays empty when the statistics cannot be computed
    }
    // Without a sensitivity file the confidence-interval stage has nowhere to write.
    if (SkipFisher) metropolisD.skip_fisher = true;
}

// Files still pending belong to a fit that did not complete: the earlier ones stay.
void TFit::Discard() {
    f_sensitivity = nullptr;
    f_output.Discard();
    sensitivityFile_.Discard();
    fisherFile_.Discard();
}

void TFit::SetTreatment(std::string text) {
    std::lock_guard<std::mutex> l(textLock_);
    currentTreatment_ = std::move(text);
}

std::string TFit::CurrentTreatment() const {
    std::lock_guard<std::mutex> l(textLock_);
    return currentTreatment_;
}

std::vector<std::string> TFit::GetRepetitionsAsStrings() const {
    return SummaryRows(summaryTables_);
}

void TFit::Run() {
    f_output.Append(FitHeaderText(ApplicationVersion(), nomf_temp, nomf_pheno, nomf_info), OUTPUT_IS_OPEN);
    write_metropolis_parameters(f_output, metropolisD);

    SetTreatment("Read of the pheno file");
    fitInfo_ = read_fit_infos(nomf_info);
    advancement_ = 5;
    SetTreatment("Read Fit Info");
    pheno_ = read_pheno_infos(nomf_pheno);
    check_fit_infos(fitInfo_, nomf_info, pheno_, nomf_pheno);
    advancement_ = 10;
    SetTreatment("Read Pheno Info");
    advancement_ = 15;

    SetTreatment("Read of the temperatures file");
    weather_ = std::make_unique<TWeather>();
    weather_->LoadAndPheno(nomf_temp, pheno_);
    SetTreatment("Read Done !");
    LogIt("PHENO DATA SIZE : " + std::to_string(pheno_.nb_obs()));

    model->Initialize(maxMissingTemps, pheno_);
    functionSettings_ = std::make_shared<const TFunctionSettings>(TModelFunction::SettingsFileName());
    const int passes = leaveOneOut_ ? fitInfo_.nb_fit() : 1;
    SetTreatment("Fitting...");
    // The local stage of every search sets temp0 to 0: each repetition starts from this one.
    const double startTemp = metropolisD.temp0;
    // A pass may end on any row's run (a failed one leaves that row's T0 from the data in the
    // model, which the next pass would fix as its T0): each one starts from the model as given.
    TRFunctionDesc given;
    model->initializeParameters(given);
    for (int k = 1; k <= passes; ++k) {
        if (Gate()) return;
        model->setParameters(given);
        if (!RunPass(k, startTemp)) return;
    }
    // A fit without a result leaves the earlier files as they were.
    if (repetitions_.empty()) {
        if (!Error()) SetError(NotEnoughData(0));
        return;
    }
    CommitFiles();
    advancement_ = 100;
}

// The three files are one commit: each is made whole aside first, and only then do they
// replace the files of an earlier fit, so a failed write leaves those as they were.
void TFit::CommitFiles() {
    f_output.Close();
    f_output.Complete();
    if (!SkipFisher) {
        f_sensitivity = nullptr;
        sensitivityFile_.Close();
        SetTreatment("Write fisher output");
        std::vector<std::string> lines;
        // A last pass without result has no best sum of squares: its own error says why the
        // statistics are missing.
        if (std::isfinite(SSBest)) {
            try {
                const TRFunctionDesc last = garbage_.empty() ? TRFunctionDesc{} : garbage_.back()->moindCarrD;
                lines =
                    FisherFileLines(sensitivityFile_.TempPath(), last, nb_obs_tot, SSBest, nomf_sensitivity);
            } catch (const std::exception& e) {
                lines.clear(); // the Fisher file stays empty
                SetError(std::string(FISHER_FAILED) + "\n" + e.what());
            }
        }
        fisherFile_.Write(LinesCRLF(lines));
        fisherFile_.Close();
    }
    f_output.Commit();
    if (!SkipFisher) {
        sensitivityFile_.Commit();
        fisherFile_.Commit();
    }
}

bool TFit::RunPass(int k, double startTemp) {
    SSBest = std::numeric_limits<double>::infinity();
    const int leftOut = leaveOneOut_ ? k : -1;
    if (leaveOneOut_) {
        const int lines = pheno_.nb_obs();
        advancement_ = (lines > 0 ? 60 / lines : 0) * k + 20;
        LogIt("Leave-one-ID = " + std::to_string(k) +
              " > YEAR : " + std::to_string(fitInfo_.tabFit[static_cast<std::size_t>(k - 1)].year));
    } else {
        advancement_ = 50;
    }
    // Every pass starts from the same model, data and threshold: the first one matches the
    // rows and counts their gaps for all.
    Objective opt(*this, leftOut);
    fitRows_ = opt.Rows();
    opt.SetWorkers(rowWorkerCount_);
    // Threads and model copies serve every pass.
    opt.UseWorkers(rowWorkers_);
    struct KeepWorkers {
        std::shared_ptr<TRowWorkers>& kept;
        const Objective& opt;
        ~KeepWorkers() { kept = opt.Workers(); }
    } keepWorkers{rowWorkers_, opt};
    std::unique_ptr<TSensitivityFile> sensitivity;
    if (f_sensitivity != nullptr)
        sensitivity = std::make_unique<TSensitivityFile>(f_sensitivity, nomf_sensitivity);
    const int nbRep = metropolisD.nb_repetitions;

    for (int r = 1;; ++r) {
        garbage_.push_back(std::make_unique<TRepetition>(r, model->name));
        TRepetition& rep = *garbage_.back();
        rep.settings = functionSettings_;
        TRFunctionDesc& fd = rep.moindCarrD;
        SetTreatment("Repetition : " + std::to_string(r) + "/" + std::to_string(nbRep));

        TMetropolis::InitMetropolisDesc(metropolisD, startTemp);
        model->initializeParameters(fd);
        opt.f(fd); // marks the observations that are scored

        const double sstot = ComputeSStot(pheno_, rep, *model);
        nb_obs_tot = rep.nbFitObsTot;
        rep.SStot = sstot;
        if (!rep.isRelevant || sstot == 0.0) {
            if (opt.GapRows() > 0)
                SetError(TooManyMissing(opt.MaxGapCount(), metropolisD.missing_threshold) +
                         (opt.GapOutsideData() ? CAUSE_GIVEN_T0_OUTSIDE : CAUSE_GAPS));
            else
                SetError(NotEnoughData(r - 1));
            LogIt(std::string("Relevant = ") + (rep.isRelevant ? "True" : "False"));
            LogIt("SStot_val = " + FloatToStrGeneral(sstot));
            break;
        }

        const TBeginTime begin = GetBeginTime();
        if (!AutoMetropolis(opt, fd, metropolisD, *rd, r, sensitivity.get(), metropolisProgress_, bestFit_D))
            return false;
        LogIt("Metro Duration : " + FormatMS(ElapsedTime(begin)));
        for (int i = 0; i < fd.nb_of_parameters; ++i)
            fd.var_info[static_cast<std::size_t>(i)].value =
                fd.var_info[static_cast<std::size_t>(i)].bestvalue;
        // Only a search that found no scorable point ends on rows it could not score.
        opt.f(fd);
        const TUnscoredRows& unscored = opt.Unscored();
        if (unscored.observations > 0)
            throw EOrvexError(TooManyMissing(unscored.maxMissing, metropolisD.missing_threshold) +
                              (unscored.outsideData ? CAUSE_OUTSIDE : CAUSE_GAPS));
        rep.ComputeStats();
        if (const std::string bad = NonFiniteStatistic(rep); !bad.empty()) {
            SetError(bad);
            break;
        }

        model->setParameters(fd);
        rep.GetModelSnapShot(*model);
        std::string statistics;
        write_statistics(f_output, rep, statistics);
        write_parameters(f_output, rep, *model);
        write_simulation(f_output, rep, *model, pheno_);
        model->setParameters(fd);

        SSBest = std::min(SSBest, -fd.best_result);
        advancement_ += static_cast<int>(std::nearbyint(60.0 / std::max(nbRep, 1)));
        repetitions_.push_back(&rep);
        summaryTables_.push_back(rep.GetInfoTable());
        if (fd.best_result == 0.0 || r + 1 > nbRep) break;
        if (Gate()) return false;
    }
    f_output.InsertSummary(GetRepetitionsAsStrings(), leftOut, fitInfo_.nb_fit());
    return true;
}
