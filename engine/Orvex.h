#pragma once
// A simulation run on a thread of its own: a saved model over climate data, optionally with a
// T0 per phase and year, written as one line of predicted dates per station-year or T0 line.
//
// The output goes to a temporary file beside the output file and replaces it only when the
// run ends well: a stopped or failed run leaves no half-written output. The window reads
// Finished(), error(), errorInfo(), nomf_output() and headersSize() from its own thread.

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TMetaModel;
class TWeather;

class TSimulation {
public:
    // Paths may be relative to the executable's folder; dnomf_siminfo may be empty.
    TSimulation(int dmax_missing_temp, std::string dnomf_temp, std::string dnomf_output,
                std::string dnomf_parameters, std::string dnomf_siminfo);
    // Stops a run still going and waits for it.
    virtual ~TSimulation();
    TSimulation(const TSimulation&) = delete;
    TSimulation& operator=(const TSimulation&) = delete;

    // Makes the paths absolute and checks that the input files can be read and the output
    // written; raises EOrvexError naming the first file that fails. Nothing runs yet.
    void Prepare();
    // Runs on a new thread; raises unless prepared.
    void Start();
    // Asks the run to end at its next safe point; returns at once.
    void Stop();
    // Stop, then wait until the thread has ended.
    void Quit();
    // Waits until the thread has ended, without stopping it.
    void WaitFor();

    // True once the run has ended, well or not (also after a stop).
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Set when the run failed; errorInfo() is complete before error() turns true.
    bool error() const { return error_.load(std::memory_order_acquire); }
    std::string errorInfo() const;
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

private:
    void Execute();
    void WriteRows(std::FILE* out);
    void SetError(const std::string& message);
    bool StopRequested() const { return stop_.load(std::memory_order_acquire); }
    void DiscardTemporary();

    int maxMissingTemp_;
    std::string nomf_temp_, nomf_output_, nomf_parameters_, nomf_siminfo_;
    bool isPrepared_ = false;

    // The run's own data: the model refers to the climate data, so it goes first.
    std::unique_ptr<TWeather> weather_;
    std::unique_ptr<TMetaModel> model_;

    std::string tempPath_;          // created by Prepare, renamed or removed by the run
    std::FILE* tempFile_ = nullptr; // open from Prepare until the run closes it

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> error_{false};
    mutable std::mutex errorMutex_;
    std::string errorInfo_;
};
