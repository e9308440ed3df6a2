#pragma once
// One model fit on a thread of its own: reads the three input files, fits the model's free
// parameters over repetitions (once, or once per left-out fit-information row), writes the
// output file after every repetition and a summary after every pass, then the Fisher file.
//
// The window polls the published state (error, text, progress, search lines) while the fit
// runs; every accessor is safe to call from another thread. The thread, its controls and its
// error are TRunThread's; an unfinished fit leaves no files.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "FitOutputFile.h"
#include "MetaModel.h"
#include "OrvexRawTypes.h"
#include "PendingFile.h"
#include "Repetition.h"
#include "RunThread.h"
#include "SearchProgress.h"

class TUniDistrib;
struct TFitRows;
struct TRowWorkers;
class TWeather;

// Total sum of squares of the scored observations, per phase about its own mean; sets the
// repetition's nbFitObsTot and isRelevant (some phase has more than one scored date).
double ComputeSStot(const TRPhenoInfos& pheno, TRepetition& rep, const TMetaModel& model);
// Empty when the repetition's SSres, SStot, RMSE and EFF are finite; else the fit's error text
// naming the first that is not: such statistics would be printed and charted as numbers.
std::string NonFiniteStatistic(const TRepetition& rep);

class TFit : public TRunThread {
public:
    // Takes the model. Paths may be relative to the executable's folder.
    TFit(std::unique_ptr<TMetaModel> dmodel, const TRMetropolisDesc& dmetropolisD, std::string dnomf_temp,
         std::string dnomf_pheno, std::string dnomf_info, std::string dnomf_output, int dmaxMissingTemps,
         bool dleaveOneOut);
    // Stops a running fit (paused or not) and waits for it.
    ~TFit() override;

    // No sensitivity and Fisher files (the default). Prepare opens those files, so the
    // setting is fixed from then on.
    void SetSkipFisher(bool skip) {
        if (!Prepared()) SkipFisher = skip;
    }
    // A generator with fixed seeds, for a reproducible fit. Set before Start.
    void SetRandomGenerator(std::unique_ptr<TUniDistrib> generator);
    // Threads of the objective's rows, as TMyMetropolis::SetWorkers (0: where they pay, 1:
    // the fit thread alone), to compare the two. Set before Start.
    void SetRowWorkers(int workers) { rowWorkerCount_ = workers; }

    // --- published state, readable from any thread ---
    int Advancement() const { return advancement_.load(std::memory_order_relaxed); }
    std::string CurrentTreatment() const;
    std::vector<std::string> MetropolisProgress() const { return metropolisProgress_.Lines(); }
    bool LeaveOneOut() const { return leaveOneOut_; }
    const std::string& OutputFileName() const { return nomf_output; }

    // --- once Finished() ---
    // The successful repetitions of every pass, in order; owned by the fit.
    const std::vector<TRepetition*>& Repetitions() const { return repetitions_; }
    // "Repetition" + TAB + 1..n, then one row per key of the information table.
    std::vector<std::string> GetRepetitionsAsStrings() const;

protected:
    // Checks the input files and creates the output files aside, leaving any earlier ones as
    // they are.
    void PrepareRun() override;
    void Run() override;
    // Drops the files of a fit that did not complete.
    void RunOver() override { Discard(); }
    void Discard() override;

private:
    class Objective;
    // false when the fit was stopped during the pass.
    bool RunPass(int k, double startTemp);
    void CommitFiles();
    void SetTreatment(std::string text);

    // Set up by the constructor and Prepare, then the fit thread's alone.
    TRMetropolisDesc metropolisD;
    std::unique_ptr<TUniDistrib> rd;
    int maxMissingTemps;
    std::string nomf_temp, nomf_pheno, nomf_info, nomf_output;
    std::string nomf_sensitivity, nomf_fisher;
    std::string outputShortFilename;
    std::string filePath;
    bool leaveOneOut_;
    bool SkipFisher = true;
    std::unique_ptr<TMetaModel> model;

    // The three files are written aside and replace earlier ones only when the fit completes.
    TFitOutputFile f_output;
    TPendingFile sensitivityFile_;
    TPendingFile fisherFile_;
    std::FILE* f_sensitivity = nullptr; // sensitivityFile_'s stream while the passes run
    TRFitInfo fitInfo_;
    TRPhenoInfos pheno_;
    std::unique_ptr<TWeather> weather_;
    std::shared_ptr<TRowWorkers> rowWorkers_;           // threads and model copies of the passes' objectives
    std::shared_ptr<const TFitRows> fitRows_;           // the passes' rows matched and set aside for gaps
    int rowWorkerCount_ = 0;
    std::vector<std::unique_ptr<TRepetition>> garbage_; // every repetition made
    std::shared_ptr<const TFunctionSettings> functionSettings_; // parsed once per fit for the tables
    std::vector<TRepetition*> repetitions_;
    // Their tables, made once: every pass's summary shows all the repetitions so far.
    std::vector<THashtable> summaryTables_;
    TRFunctionDesc bestFit_D;
    double SSBest = 0.0;
    int nb_obs_tot = 0;

    // Published.
    TSearchProgress metropolisProgress_;
    std::atomic<int> advancement_{0};
    mutable std::mutex textLock_;
    std::string currentTreatment_;
};
