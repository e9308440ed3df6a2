#include "Outputs.h"

#include <cmath>
#include <filesystem>
#include <vector>

#include "DebugUtils.h"
#include "FitOutputFile.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "ParallelExecute.h"
#include "Repetition.h"
#include "RepetitionTable.h"
#include "UtilStuff.h"

namespace {

std::string Beside(const std::string& outputPath, const std::string& prefix) {
    const std::filesystem::path p(outputPath);
    return (p.parent_path() / (prefix + p.filename().string())).string();
}

} // namespace

namespace {

const char* const OPEN_PLEASE_CLOSE = "Output file is open, please close it!";
const char* const ALREADY_OPEN = "Output file already open!";

// A prediction far beyond its observation (and every one without observation) prints as the
// end of the year.
double PrintedPrediction(const TRResult& r) {
    return r.observed + 60.0 > r.predicted ? r.predicted : 365.0;
}

std::string Day(double v) {
    return FloatToStrFixed(v, 8, 1);
}

} // namespace

void write_metropolis_parameters(TFitOutputFile& f_output, const TRMetropolisDesc& md) {
    f_output.Append(MetropolisParametersText(md), OPEN_PLEASE_CLOSE);
}

void write_statistics(TFitOutputFile& f_output, TRepetition& rep, std::string& text) {
    rep.ComputeStats();
    text = "repetition:\t" + std::to_string(rep.id) + "\n" + rep.ToStringStats("");
    f_output.Append("\n\n" + text, ALREADY_OPEN);
}

void write_parameters(TFitOutputFile& f_output, TRepetition& rep, const TMetaModel& model) {
    for (const TModelFunction* f : model.FunctionsArr)
        rep.functionsList.push_back(f->Clone());
    f_output.Append("\n\n" + rep.ToStringParameters("model parameter estimates"), OPEN_PLEASE_CLOSE);
}

std::string SimulationTableText(const std::vector<TRSimulationResult>& rows,
                                const std::vector<std::string>& phenoHeader,
                                const std::vector<int>& phenoColumns, TRepetition& rep) {
    rep.rawDataHeader.clear();
    rep.simResultsAsRaw.clear();
    if (rows.empty()) return "";
    const std::size_t P = rows.front().values.size();
    std::string head = "Phases sequence = [   ";
    for (std::size_t j = 0; j < P; ++j) {
        // The observed columns count from the first date column, the fourth of the header.
        const int c = j < phenoColumns.size() ? phenoColumns[j] : -1;
        const long long item = static_cast<long long>(c) + 3;
        const std::string name = c >= 0 && item < static_cast<long long>(phenoHeader.size())
                                     ? phenoHeader[static_cast<std::size_t>(item)]
                                     : "";
        head += std::to_string(j) + ":<" + name + ">   ";
    }
    head += "]\n\rstation_code\tprovenance/family\tyear";
    rep.rawDataHeader.push_back("year");
    for (std::size_t j = 0; j < P; ++j) {
        const std::string n = std::to_string(j);
        head += "\tpredicted <" + n + ">\tobserved <" + n + ">\tused to fit <" + n + ">";
        rep.rawDataHeader.push_back("pred" + n);
        rep.rawDataHeader.push_back("obs" + n);
    }
    rep.dataHeader = head;

    std::string text = head + "\n";
    for (const auto& row : rows) {
        TRRawData raw;
        raw.data_row.assign(2 * P + 1, MISSING);
        raw.data_row[0] = row.year;
        text += std::to_string(row.station_code) + "\t" + std::to_string(row.provenance) + "\t" +
                std::to_string(row.year);
        for (std::size_t j = 0; j < P && j < row.values.size(); ++j) {
            const TRResult& r = row.values[j];
            const double printed = PrintedPrediction(r);
            text += "\t" + Day(printed) + "\t" + Day(r.observed) + "\t" + (r.used_to_fit ? "1" : "0");
            raw.data_row[2 * j + 1] = printed;
            raw.data_row[2 * j + 2] = r.observed;
            raw.used_to_fit = raw.used_to_fit || r.used_to_fit;
        }
        text += "\n";
        rep.simResultsAsRaw.push_back(std::move(raw));
    }
    return text;
}

void write_simulation(TFitOutputFile& f_output, TRepetition& rep, TMetaModel& model,
                      const TRPhenoInfos& pheno) {
    rep.simResults = model.SaveSimResults(pheno);
    std::vector<int> columns;
    for (const auto& phase : model.PhasesArr)
        columns.push_back(phase->phenoDataColumn);
    f_output.Append("\n\n" + SimulationTableText(rep.simResults, pheno.dataHeader, columns, rep),
                    ALREADY_OPEN);
}

std::string SensitivityFileName(const std::string& outputPath) {
    return Beside(outputPath, "SA_");
}
std::string FisherFileName(const std::string& outputPath) {
    return Beside(outputPath, "Fisher_");
}

std::vector<std::string> FisherFileLines(const std::string& sensitivityPath, const TRFunctionDesc& fd,
                                         int nb_obs_tot, double SSBest, const std::string& shownName) {
    const std::string& shown = shownName.empty() ? sensitivityPath : shownName;
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
                throw EOrvexError("'" + last + "' is not a valid floating point value (line " +
                                  std::to_string(i) + " of " + shown + ")");
            line += "\t" + FormatFloat("0.000", Fisher(value, SSBest, 1, n));
        }
        LogIt("Fisher computing : " + FormatSecondsMS(ElapsedTime(begin)));
    };
    ParallelExe(
        worker, [] {}, nullptr);
    return lines;
}
