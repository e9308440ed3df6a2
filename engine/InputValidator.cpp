#include "InputValidator.h"

#include <cctype>
#include <filesystem>

#include "FileUtils.h"
#include "NumberText.h"
#include "OrvexConfig.h"
#include "OrvexError.h"

namespace {

std::string ResolvePath(const std::string& path) {
    if (!path.empty() && std::filesystem::path(path).is_absolute()) return path;
    return GetExecutableDir() + path;
}

void OpenInput(TTextLineReader& reader, const std::string& path, const char* what) {
    const std::string full = ResolvePath(path);
    if (!reader.Open(full))
        throw EOrvexError(std::string("The ") + what + " \"" + full + "\" doesn't exist or is open.");
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

TInputValidator::TInputValidator(const TRValidationSettings& settingsIn, const std::string& logFilePath)
    : settings(settingsIn) {
    OpenInput(f_pheno, settings.pheno_path, "phenology file");
    OpenInput(f_fit, settings.fit_path, "fit information file");
    OpenInput(f_meteo, settings.meteo_path, "climate file");
    f_errlog.Create(logFilePath.empty() ? GetLogFilePath() : logFilePath);
    dataSize_ = f_meteo.Size();
}

std::string TInputValidator::GetLogFilePath() {
    return GetExecutableDir() + ERRLOG_PATH + N_ERRLOG;
}

bool TInputValidator::Validate() {
    const bool ok = ValidatePheno() && ValidateFit() && ValidateMeteo();
    // Only a log written whole replaces the earlier one.
    f_errlog.Commit();
    return ok && !Stopped();
}

void TInputValidator::Pause() {
    paused_ = true;
}

void TInputValidator::Resume() {
    {
        std::lock_guard lock(gateMutex_);
        paused_ = false;
    }
    gate_.notify_all();
}

void TInputValidator::Stop() {
    {
        std::lock_guard lock(gateMutex_);
        stop_ = true;
    }
    gate_.notify_all();
}

bool TInputValidator::SafePoint() {
    if (paused_.load()) {
        std::unique_lock lock(gateMutex_);
        gate_.wait(lock, [this] { return !paused_.load() || stop_.load(); });
    }
    return !stop_.load();
}

void TInputValidator::PrintColumnStats(const std::vector<std::string>& header,
                                       const std::vector<std::int64_t>& missing) {
    for (std::size_t i = 0; i < header.size() && i < missing.size(); ++i)
        f_errlog.Piece("\r\n*\tMISSING VALUES : \t" + IntToStr(missing[i]) + "\t{" + UpperAscii(header[i]) +
                       "}");
}

void TInputValidator::PrintFinalReport() {
    const std::string dashes(66, '-');
    const std::string stars(66, '*');
    const std::string empty = "*" + std::string(64, ' ') + "*";
    const std::string side = std::string(21, '*') + std::string(23, ' ') + std::string(22, '*');

    f_errlog.Piece("\r\n\r\n\r\n" + dashes);
    f_errlog.Piece("\r\n" + stars);
    f_errlog.Piece("\r\n" + stars);
    f_errlog.Piece("\r\n" + side);
    f_errlog.Piece("\r\n" + std::string(21, '*') + "   STATISTICS REPORT   " + std::string(22, '*'));
    f_errlog.Piece("\r\n" + side);
    f_errlog.Piece("\r\n" + stars);
    f_errlog.Piece("\r\n" + stars);
    f_errlog.Piece("\r\n" + empty);
    f_errlog.Piece("\r\n" + empty);
    f_errlog.Piece("\r\n* PHENO stats :");
    f_errlog.Piece("\r\n* -----------");
    PrintColumnStats(sl_phenoHeader, arr_phenoMiss);
    f_errlog.Piece("\r\n*");
    f_errlog.Piece("\r\n* METEO stats :");
    f_errlog.Piece("\r\n* -----------");
    PrintColumnStats(sl_meteoHeader, arr_meteoMiss);
    f_errlog.Piece("\r\n" + empty);
    f_errlog.Piece("\r\n" + empty);
    f_errlog.Piece("\r\n" + stars);
    f_errlog.Piece("\r\n" + dashes);
}
