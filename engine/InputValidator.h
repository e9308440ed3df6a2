#pragma once
// Checks the phenology, fit-information and climate files of a fit before it starts, and writes
// every problem into a text error log ending with a report of missing values per column.
// Runs on a worker thread; the progress window reads the counters and may pause or stop it.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "ErrorLog.h"
#include "TextLineReader.h"

struct TRValidationSettings {
    std::string meteo_path;    // climate file
    std::string pheno_path;    // phenology file
    std::string fit_path;      // fit-information file
    bool skip_lat = false;     // no latitude consistency and range checks
    bool skip_tmean = false;   // no check that the mean lies between minimum and maximum
    bool skip_tminmax = false; // no check that the minimum does not exceed the maximum
};

class TInputValidator {
public:
    static constexpr std::string_view STR_MISSING = "-9999";

    // Opens the three inputs (relative paths against the executable's folder) and creates the log
    // at logFilePath, or at GetLogFilePath() when it is empty. Raises EOrvexError naming the file
    // that cannot be opened or created.
    explicit TInputValidator(const TRValidationSettings& settings, const std::string& logFilePath = {});

    // The executable's folder + "System/Log/Error/errlog.txt".
    static std::string GetLogFilePath();
    const std::string& LogFilePath() const { return f_errlog.Path(); }

    // Phenology, then fit-information, then climate file; a file with errors ends the validation.
    // True when all three pass. Run once per validator. False also when stopped. The log replaces
    // an earlier one only once written whole: a write failure raises and keeps the earlier log.
    bool Validate();

    // Size of the climate file and the bytes of it read so far; safe to read from any thread.
    std::int64_t dataSize() const { return dataSize_.load(); }
    std::int64_t dataProgress() const { return dataProgress_.load(); }

    // Cooperative control from another thread, honoured before each line read.
    void Pause();
    void Resume();
    void Stop();
    bool Stopped() const { return stop_.load(); }

private:
    bool ValidatePheno();
    bool ValidateFit();
    bool ValidateMeteo();
    void PrintFinalReport();
    void PrintColumnStats(const std::vector<std::string>& header, const std::vector<std::int64_t>& missing);
    // False once stopped; waits while paused.
    bool SafePoint();

    TRValidationSettings settings;
    TTextLineReader f_pheno, f_fit, f_meteo;
    TErrorLog f_errlog;
    std::int64_t nbPhenoLines = 0;
    std::vector<std::string> sl_phenoHeader, sl_meteoHeader;
    std::vector<std::int64_t> arr_phenoMiss, arr_meteoMiss;

    std::atomic<std::int64_t> dataSize_{0};
    std::atomic<std::int64_t> dataProgress_{0};
    std::atomic<bool> paused_{false};
    std::atomic<bool> stop_{false};
    std::mutex gateMutex_;
    std::condition_variable gate_;
};
