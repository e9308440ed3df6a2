#pragma once
// A simulation run on a thread of its own: a saved model over climate data, optionally with a
// T0 per phase and year, written as one line of predicted dates per station-year or T0 line.
//
// The output goes to a temporary file beside the output file and replaces it only when the
// run ends well: a stopped or failed run leaves no half-written output. The thread, its controls
// and its published state are TRunThread's.

#include <cstdio>
#include <memory>
#include <string>

#include "RunThread.h"

class TMetaModel;
class TWeather;

class TSimulation : public TRunThread {
public:
    // Paths may be relative to the executable's folder; dnomf_siminfo may be empty.
    TSimulation(int dmax_missing_temp, std::string dnomf_temp, std::string dnomf_output,
                std::string dnomf_parameters, std::string dnomf_siminfo);
    // Stops a run still going and waits for it.
    ~TSimulation() override;

    // Absolute once prepared.
    const std::string& nomf_output() const { return nomf_output_; }
    const std::string& nomf_temp() const { return nomf_temp_; }
    const std::string& nomf_parameters() const { return nomf_parameters_; }
    const std::string& nomf_siminfo() const { return nomf_siminfo_; }
    // Lines of the output file before the empty line that ends its header.
    int headersSize() const { return HEADERS_SIZE; }

    static constexpr int HEADERS_SIZE = 4;

protected:
    // Called on the run thread after each row is written (row from 0).
    virtual void RowWritten(int /*row*/) {}

    // Makes the paths absolute and checks that the input files can be read and the output
    // written; raises EOrvexError naming the first file that fails. Nothing runs yet.
    void PrepareRun() override;
    void Run() override;
    // Closes the output and puts it in place, or removes it after a stop or a failure.
    void RunOver() override;
    // Removes a temporary output that no run took over.
    void Discard() override;

private:
    void WriteRows(std::FILE* out);

    int maxMissingTemp_;
    std::string nomf_temp_, nomf_output_, nomf_parameters_, nomf_siminfo_;

    // The run's own data: the model refers to the climate data, so it goes first.
    std::unique_ptr<TWeather> weather_;
    std::unique_ptr<TMetaModel> model_;

    std::string tempPath_;          // created by Prepare, renamed or removed by the run
    std::FILE* tempFile_ = nullptr; // open from Prepare until the run closes it
};
