#include "Orvex.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <system_error>
#include <vector>

#include "FileUtils.h"
#include "Inputs.h"
#include "MetaModel.h"
#include "OrvexError.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace fs = std::filesystem;

namespace {

// fopen succeeds on a folder, so the kind of file is tested first.
bool Readable(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// The output is read back on any platform: every line ends with CR LF.
void WriteLine(std::FILE* f, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fwrite("\r\n", 1, 2, f);
}

} // namespace

TSimulation::TSimulation(int dmax_missing_temp, std::string dnomf_temp, std::string dnomf_output,
                         std::string dnomf_parameters, std::string dnomf_siminfo)
    : TRunThread("TSimulation", "simulation", "Error : the simulation failed for an unknown reason."),
      maxMissingTemp_(dmax_missing_temp), nomf_temp_(std::move(dnomf_temp)),
      nomf_output_(std::move(dnomf_output)), nomf_parameters_(std::move(dnomf_parameters)),
      nomf_siminfo_(std::move(dnomf_siminfo)) {}

TSimulation::~TSimulation() {
    Quit();
}

void TSimulation::PrepareRun() {
    Discard();
    const std::string base = GetExecutableDir();
    nomf_temp_ = GetAbsolutePath(base, nomf_temp_);
    nomf_parameters_ = GetAbsolutePath(base, nomf_parameters_);
    if (!nomf_siminfo_.empty()) nomf_siminfo_ = GetAbsolutePath(base, nomf_siminfo_);
    nomf_output_ = GetAbsolutePath(base, nomf_output_);

    if (!Readable(nomf_temp_))
        throw EOrvexError("The climate data file " + Quoted(nomf_temp_) + " doesn't exist or is open.");
    if (!Readable(nomf_parameters_))
        throw EOrvexError("The fitted model XML file " + Quoted(nomf_parameters_) +
                          " doesn't exist or is open.");
    if (!nomf_siminfo_.empty() && !Readable(nomf_siminfo_))
        throw EOrvexError("The simulation/t0 info file " + Quoted(nomf_siminfo_) +
                          " doesn't exist or is open.");

    // The rows go to a temporary file beside the output, renamed over it once complete.
    const std::string outputError =
        "The simulation output file " + Quoted(nomf_output_) + " doesn't exist or is open.";
    std::error_code ec;
    if (fs::path(nomf_output_).filename().empty() || fs::is_directory(nomf_output_, ec))
        throw EOrvexError(outputError);
    std::vector<char> name(nomf_output_.begin(), nomf_output_.end());
    for (char c : std::string(".tmpXXXXXX"))
        name.push_back(c);
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw EOrvexError(outputError);
    ::fchmod(fd, 0644); // mkstemp makes it private; the output is an ordinary file
    tempFile_ = ::fdopen(fd, "wb");
    if (tempFile_ == nullptr) {
        ::close(fd);
        std::remove(name.data());
        throw EOrvexError(outputError);
    }
    tempPath_ = name.data();
}

void TSimulation::Discard() {
    if (tempFile_ != nullptr) {
        std::fclose(tempFile_);
        tempFile_ = nullptr;
    }
    if (!tempPath_.empty()) {
        std::remove(tempPath_.c_str());
        tempPath_.clear();
    }
}

void TSimulation::Run() {
    model_ = std::make_unique<TMetaModel>();
    model_->LoadFromXML(nomf_parameters_);

    WriteLine(tempFile_, "data files:");
    WriteLine(tempFile_, nomf_temp_);
    WriteLine(tempFile_, nomf_parameters_);
    WriteLine(tempFile_, nomf_siminfo_);
    WriteLine(tempFile_, "");

    if (!nomf_siminfo_.empty()) model_->simInfo = read_sim_infos(nomf_siminfo_);
    if (Stopping()) return;
    weather_ = std::make_unique<TWeather>();
    if (!nomf_siminfo_.empty())
        weather_->LoadAndT0(nomf_temp_, model_->simInfo);
    else
        weather_->LoadAll(nomf_temp_);
    model_->Initialize(maxMissingTemp_, *weather_);
    WriteLine(tempFile_, model_->ToStringHeader());
    WriteRows(tempFile_);
}

void TSimulation::RunOver() {
    std::FILE* out = tempFile_;
    tempFile_ = nullptr;
    WriteLine(out, "");

    const bool writeFailed = std::ferror(out) != 0;
    const bool closeFailed = std::fclose(out) != 0;
    const std::string cannotWrite =
        "Error : cannot write the simulation output file " + Quoted(nomf_output_) + ".";
    if (!Error() && !Stopping() && (writeFailed || closeFailed)) SetError(cannotWrite);

    if (Error() || Stopping()) {
        std::remove(tempPath_.c_str());
    } else {
        std::error_code ec;
        fs::rename(tempPath_, nomf_output_, ec);
        if (ec) {
            std::remove(tempPath_.c_str());
            SetError(cannotWrite);
        }
    }
    tempPath_.clear();
    LogIt(Error() ? "Simulation failed: " + ErrorInfo() : "Simulation over: " + nomf_output_);
}

void TSimulation::WriteRows(std::FILE* out) {
    // With T0 lines, each line runs on the climate year that LoadAndT0 found for its year.
    const bool byT0 = model_->HasT0SimInfo();
    const int rows = byT0 ? static_cast<int>(model_->simInfo.Years.size()) : weather_->NbYears();
    for (int i = 0; i < rows; ++i) {
        if (Stopping()) return;
        model_->Run(i);
        const int climateYear = byT0 ? model_->simInfo.Years[static_cast<std::size_t>(i)].wea_id : i;
        WriteLine(out, model_->ToString(*weather_, climateYear));
        RowWritten(i);
    }
}
