#include "Inputs.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "MathUtils.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "TextLineReader.h"
#include "UtilStuff.h"

namespace {

// A data file read whole: the header is lines[0]; line n of the file is lines[n - 1].
struct DataFile {
    std::string path;
    std::vector<std::string> lines;
};

std::string Quoted(const std::string& s) {
    return "\"" + s + "\"";
}

// The file is read at once and closed before any parsing, so no error path leaves it open.
DataFile LoadLines(const std::string& path, const std::string& openMessage) {
    TTextLineReader reader;
    if (!reader.Open(path)) throw EOrvexError(openMessage + " (" + Quoted(path) + ")");
    DataFile file{path, {}};
    std::string line;
    while (reader.ReadLine(line))
        file.lines.push_back(line);
    if (file.lines.empty()) file.lines.emplace_back(); // an empty file has an empty header
    return file;
}

// Number tokens of a data line: any run of white space separates them.
std::vector<std::string_view> SplitBlanks(std::string_view line) {
    static constexpr std::string_view blanks = " \t\r\v\f";
    std::vector<std::string_view> tokens;
    std::size_t pos = line.find_first_not_of(blanks);
    while (pos != std::string_view::npos) {
        const std::size_t end = line.find_first_of(blanks, pos);
        tokens.push_back(line.substr(pos, end - pos));
        pos = end == std::string_view::npos ? end : line.find_first_not_of(blanks, end);
    }
    return tokens;
}

// Raises "<prefix><line> ("<file>"): <reason>"; the prefix is the reader's own message.
class LineReader {
public:
    LineReader(const DataFile& file, std::string prefix) : file_(file), prefix_(std::move(prefix)) {}

    [[noreturn]] void Fail(int line, const std::string& reason) const {
        throw EOrvexError(prefix_ + IntToStr(line) + " (" + Quoted(file_.path) + "): " + reason);
    }
    int Int(std::string_view token, int line) const {
        int v = 0;
        if (!TryParseInt(token, v)) Fail(line, Quoted(std::string(token)) + " is not an integer");
        return v;
    }
    double Real(std::string_view token, int line) const {
        double v = 0.0;
        if (!TryParseFloat(token, v)) Fail(line, Quoted(std::string(token)) + " is not a number");
        return v;
    }

private:
    const DataFile& file_;
    std::string prefix_;
};

// A header message also names the file and its line.
[[noreturn]] void FailHeader(const DataFile& file, const std::string& message) {
    throw EOrvexError(message + " (" + Quoted(file.path) + ", line 1)");
}

std::string RowText(int station, int provenance, int year) {
    return "station " + IntToStr(station) + ", provenance " + IntToStr(provenance) + ", year " +
           IntToStr(year);
}

int LastDataLine(const DataFile& file) {
    for (std::size_t i = file.lines.size(); i-- > 1;)
        if (!SplitBlanks(file.lines[i]).empty()) return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

TRPhenoInfos read_pheno_infos(const std::string& f_observation) {
    const DataFile file = LoadLines(f_observation, "The phenology data file is open, please close it");
    TRPhenoInfos pheno;
    const auto header = SplitTabCells(file.lines[0]);
    pheno.dataHeader.assign(header.begin(), header.end());
    const std::size_t nbCol = pheno.dataHeader.size();
    if (nbCol < 4)
        FailHeader(file, "The number of columns in the phenology data file is incorrect, please check it !");
    const std::size_t nbDates = nbCol - 3;

    const LineReader reader(file, "The pheno file is defective at line ");
    const int lastLine = LastDataLine(file);
    pheno.maxObsYear = 0;
    pheno.minObsYear = 9999;
    for (std::size_t i = 1; i < file.lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const auto tokens = SplitBlanks(file.lines[i]);
        if (tokens.empty()) continue;
        TRPhenoData row;
        if (tokens.size() < 3) reader.Fail(line, "a line starts with a station, a provenance and a year");
        row.station = reader.Int(tokens[0], line);
        row.provenance = reader.Int(tokens[1], line);
        row.year = reader.Int(tokens[2], line);
        for (std::size_t c = 3; c < tokens.size(); ++c) {
            const double date = reader.Real(tokens[c], line);
            if (!IsPhenoDate(date))
                reader.Fail(line, Quoted(std::string(tokens[c])) +
                                      " is not a day of the year (from -365 to 366, or -9999 when missing)");
            row.dates.push_back({date, 0});
        }
        // A last "0 0 0" line closes the file; it is no row. A station's row without dates is
        // refused below: dropping it would only surface later as a fit row without data.
        if (row.dates.empty() && row.station == 0 && line == lastLine) break;
        // A missing date must be written -9999: a short line would otherwise score day 0.
        if (row.dates.size() != nbDates)
            reader.Fail(line, IntToStr(static_cast<long long>(row.dates.size())) +
                                  " dates where the header announces " +
                                  IntToStr(static_cast<long long>(nbDates)));
        if (row.year >= 1) {
            pheno.minObsYear = std::min(pheno.minObsYear, row.year);
            pheno.maxObsYear = std::max(pheno.maxObsYear, row.year);
        }
        pheno.tabPheno.push_back(std::move(row));
    }
    return pheno;
}

TRFitInfo read_fit_infos(const std::string& f_fitinfo) {
    const DataFile file = LoadLines(f_fitinfo, "The info file is already open, please close it");
    const int nbCol = nbOfColumns(file.lines[0]);
    if (nbCol != 3)
        FailHeader(file, "The number of columns \"" + IntToStr(nbCol) +
                             "\" in the info file is incorrect (expecting : Station, Provenance, Year)!");

    const LineReader reader(file, "The fit info file is defective at line ");
    TRFitInfo info;
    std::map<std::tuple<int, int, int>, int> lineOf; // a row would otherwise be scored twice
    for (std::size_t i = 1; i < file.lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const auto tokens = SplitBlanks(file.lines[i]);
        if (tokens.empty()) continue;
        int values[3] = {0, 0, 0};
        for (std::size_t c = 0; c < 3 && c < tokens.size(); ++c)
            values[c] = reader.Int(tokens[c], line);
        // Station 0 ends the list, whatever follows; further columns of a line are ignored.
        if (values[0] == 0) break;
        if (tokens.size() < 3) reader.Fail(line, "a line holds a station, a provenance and a year");
        TRInfoData row;
        row.station = values[0];
        row.provenance = values[1];
        row.year = values[2];
        row.line = line;
        const auto [it, added] = lineOf.emplace(std::make_tuple(row.station, row.provenance, row.year), line);
        if (!added)
            reader.Fail(line, RowText(row.station, row.provenance, row.year) + " is already at line " +
                                  IntToStr(it->second));
        info.tabFit.push_back(row);
    }
    return info;
}

TRSimInfo read_sim_infos(const std::string& f_siminfo) {
    const DataFile file = LoadLines(f_siminfo, "The t0 info file is already open, please close it");
    const int h_col = nbOfColumns(file.lines[0]);
    if (h_col < 2)
        FailHeader(file,
                   "The number of columns \"" + IntToStr(h_col) +
                       "\" in t0 info file is incorrect (expecting : Year, t0 phase1, t0 phase2, ...)!");

    const LineReader reader(file, "The t0 info file is defective at line ");
    TRSimInfo sim;
    sim.nb_phases = h_col - 1;
    for (std::size_t i = 1; i < file.lines.size(); ++i) {
        const int line = static_cast<int>(i) + 1;
        const auto tokens = SplitBlanks(file.lines[i]);
        if (tokens.empty()) continue;
        TRSimYear year;
        year.year = reader.Int(tokens[0], line);
        for (std::size_t c = 1; c < tokens.size(); ++c)
            year.t0_data.push_back(reader.Real(tokens[c], line));
        if (static_cast<int>(year.t0_data.size()) != sim.nb_phases)
            reader.Fail(line, IntToStr(static_cast<long long>(year.t0_data.size())) +
                                  " T0 values where the header announces " + IntToStr(sim.nb_phases));
        sim.Years.push_back(std::move(year));
    }
    // Without a T0 line the simulation would quietly run every climate year instead.
    if (sim.Years.empty()) reader.Fail(2, "the file holds no T0 line after its header");
    return sim;
}

bool IsPhenoDate(double date) {
    return date == MISSING || (date >= -365.0 && date <= 366.0);
}

void check_fit_infos(const TRFitInfo& fit, const std::string& f_fitinfo, const TRPhenoInfos& pheno,
                     const std::string& f_observation) {
    std::map<std::tuple<int, int, int>, int> phenoRows;
    for (const TRPhenoData& row : pheno.tabPheno)
        phenoRows.emplace(std::make_tuple(row.station, row.provenance, row.year), 0);
    for (const TRInfoData& row : fit.tabFit)
        if (!phenoRows.contains(std::make_tuple(row.station, row.provenance, row.year)))
            throw EOrvexError("The fit info file is defective at line " + IntToStr(row.line) + " (" +
                              Quoted(f_fitinfo) + "): " + RowText(row.station, row.provenance, row.year) +
                              " has no row in the phenology data file " + Quoted(f_observation));
}
