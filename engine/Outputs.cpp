#include "Outputs.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "DebugUtils.h"
#include "FitOutputFile.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "ParallelExecute.h"
#include "UtilStuff.h"

namespace {

std::string Beside(const std::string& outputPath, const std::string& prefix) {
    const std::filesystem::path p(outputPath);
    return (p.parent_path() / (prefix + p.filename().string())).string();
}

}  // namespace

std::string SensitivityFileName(const std::string& outputPath) { return Beside(outputPath, "SA_"); }
std::string FisherFileName(const std::string& outputPath) { return Beside(outputPath, "Fisher_"); }

void write_fisher(const std::string& fisherPath, const std::string& sensitivityPath, const TRFunctionDesc& fd,
                  int nb_obs_tot, double SSBest) {
    std::string header;
    for (int i = 0; i < fd.nb_of_parameters && i < static_cast<int>(fd.var_info.size()); ++i)
        header += fd.var_info[static_cast<std::size_t>(i)].name + "\t";
    std::vector<std::string> lines;

    const TParallelFunction worker = [&] {
        const TBeginTime begin = GetBeginTime();
        lines = SplitFileLines(ReadWholeFile(sensitivityPath));
        lines.insert(lines.begin(), header + "SSres\tFisher statistics");
        if (lines.size() > 1 && !std::isfinite(SSBest))
            throw EOrvexError("no best sum of squares to compare the sensitivity lines with");
        const int n = nb_obs_tot - 1;
        for (std::size_t i = lines.size() - 1; i >= 1; --i) {
            std::string& line = lines[i];
            const std::size_t tab = line.rfind('\t');
            const std::string last = tab == std::string::npos ? line : line.substr(tab + 1);
            double value = 0.0;
            if (!TryParseFloat(last, value))
                throw EOrvexError("'" + last + "' is not a valid floating point value (line " + std::to_string(i) +
                                  " of " + sensitivityPath + ")");
            line += "\t" + FormatFloat("0.000", Fisher(value, SSBest, 1, n));
        }
        LogIt("Fisher computing : " + FormatSecondsMS(ElapsedTime(begin)));
    };
    const TParallelFunction save = [&] {
        const TBeginTime begin = GetBeginTime();
        WriteLinesCRLF(fisherPath, lines);
        LogIt("Fisher save : " + FormatSecondsMS(ElapsedTime(begin)));
    };
    ParallelExe(worker, [] {}, save);
}
