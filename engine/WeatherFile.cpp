// Reading a climate file into TWeather, and linking phenology rows and T0 years to it.
//
// The file is read line by line: a header split at TABs, then one station-day per line
// (station, latitude, year, day, mean, minimum, maximum, then the extra values). Any line
// that does not hold a whole record is an error naming the file and the line; values never
// run on from one line into the next.

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "NumberText.h"
#include "OrvexError.h"
#include "TextLineReader.h"
#include "UtilStuff.h"
#include "Weather.h"

namespace {

constexpr int BASE_VALUES = 7; // station, latitude, year, day, mean, minimum, maximum
constexpr int MAX_VALUES = BASE_VALUES + MAX_USER_VALUES;

const char* const BAD_NUMBER_TEXT = "Error : Problems encoutered while reading the meteo file.\n\rPlease "
                                    "verify that the decimal separator is \".\"";

const char* const VALUE_NAMES[BASE_VALUES] = {"station",
                                              "latitude",
                                              "year",
                                              "day of year",
                                              "mean temperature",
                                              "minimum temperature",
                                              "maximum temperature"};

void OpenClimateFile(TTextLineReader& reader, const std::string& fileName) {
    if (reader.Open(fileName)) return;
    std::error_code ec;
    // A folder or another special file exists but cannot be read as text.
    if (std::filesystem::exists(fileName, ec))
        throw EOrvexError("Error : cannot read the meteo file \"" + fileName + "\".");
    throw EOrvexError("Error : cannot open the meteo file \"" + fileName + "\".");
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The line's values split at blanks and TABs: keeps the first MAX_VALUES + 1, counts them all.
struct LineValues {
    std::array<std::string_view, MAX_VALUES + 1> v;
    int count = 0;

    explicit LineValues(std::string_view line) {
        std::size_t i = 0;
        while (true) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i == line.size()) break;
            const std::size_t start = i;
            while (i < line.size() && !IsBlank(line[i]))
                ++i;
            if (count < static_cast<int>(v.size()))
                v[static_cast<std::size_t>(count)] = line.substr(start, i - start);
            ++count;
        }
    }
};

class ClimateParser {
public:
    ClimateParser(const std::string& fileName, const TWeather* owner) : file_(fileName), owner_(owner) {}

    void Parse(TTextLineReader& reader, std::vector<std::string>& header,
               std::vector<std::unique_ptr<TWeatherYear>>& years) {
        std::string_view line; // valid until the next read
        if (!reader.ReadLine(line)) return;
        int number = 1;
        for (const std::string_view cell : SplitTabCells(line))
            header.emplace_back(cell);
        bool first = true;
        while (reader.ReadLine(line)) {
            ++number;
            if (TrimBlanks(line).empty()) continue;
            line_ = number;
            lastLineCut_ = !reader.LineEnded();
            int nbUser = 0;
            if (first || !QuickLine(line, nbUser)) nbUser = CarefulLine(line, first);
            if (sta_ == 0) continue; // station 0 marks a record to ignore
            if (years.empty() || sta_ != prevSta_ || yea_ != prevYea_) {
                StartStationYear();
                years.push_back(
                    std::make_unique<TWeatherYear>(yea_, sta_, static_cast<int>(years.size()), owner_));
                prevSta_ = sta_;
                prevYea_ = yea_;
            }
            years.back()->SetValues(doy_, lat_, tmp_, tmn_, tmx_, user_.data(), nbUser);
        }
    }

private:
    std::string Where() const { return "the meteo file \"" + file_ + "\" at line " + std::to_string(line_); }

    [[noreturn]] void NotNumber(const std::string& what, std::string_view tok, const char* kind) const {
        throw EOrvexError(std::string(BAD_NUMBER_TEXT) + "\n\rIn " + Where() + ", the " + what + " \"" +
                          std::string(tok) + "\" is not " + kind + ".");
    }

    // The lines of a station-year follow each other. One met again after other lines would be
    // read as a second station-year that fits never use; a file sorted by day before station
    // would make one of every line.
    void StartStationYear() {
        const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(sta_)) << 32) |
                                  static_cast<std::uint32_t>(yea_);
        const auto [at, added] = started_.emplace(key, line_);
        if (!added)
            throw EOrvexError("Error : station " + std::to_string(sta_) + ", year " + std::to_string(yea_) +
                              " appears again in " + Where() + " after the lines of another station-year" +
                              " (it begins at line " + std::to_string(at->second) +
                              "); the lines of a station-year must follow each other.");
    }

    [[noreturn]] void TooFew(int found) const {
        std::string msg = "Error : too few values in " + Where() + ": found " + std::to_string(found) +
                          ", expected at least " + std::to_string(BASE_VALUES) + ".";
        if (lastLineCut_) msg += " The last line is incomplete.";
        throw EOrvexError(msg);
    }

    [[noreturn]] void TooMany(int found) const {
        throw EOrvexError("Error : too many values in " + Where() + ": found " + std::to_string(found) +
                          ", expected at most " + std::to_string(BASE_VALUES + nbExtra_) + " (" +
                          std::to_string(BASE_VALUES) + " values and the " + std::to_string(nbExtra_) +
                          " extra columns of the first data line).");
    }

    // A line of the seven values and at most the first line's extras, all numbers, parsed as
    // they are found. False for any other line: the careful path then says what is wrong.
    bool QuickLine(std::string_view line, int& nbUser) {
        std::size_t i = 0;
        auto next = [&](auto& out, auto parse) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            const std::size_t n = parse(line.substr(i), out);
            i += n;
            return n > 0 && (i == line.size() || IsBlank(line[i]));
        };
        if (!(next(sta_, ParseIntPrefix) && next(lat_, ParseFloatPrefix) && next(yea_, ParseIntPrefix) &&
              next(doy_, ParseIntPrefix) && next(tmp_, ParseFloatPrefix) && next(tmn_, ParseFloatPrefix) &&
              next(tmx_, ParseFloatPrefix)))
            return false;
        if (sta_ == 0) return true; // the extras of an ignored record are not read
        int n = 0;
        user_.fill(0.0);
        for (;;) {
            while (i < line.size() && IsBlank(line[i]))
                ++i;
            if (i == line.size()) break;
            if (n == nbExtra_ || !next(user_[static_cast<std::size_t>(n)], ParseFloatPrefix)) return false;
            ++n;
        }
        nbUser = n;
        return true;
    }

    // Any line, each fault reported; the number of extra values read.
    int CarefulLine(std::string_view line, bool& first) {
        const LineValues vals(line);
        if (vals.count < BASE_VALUES) TooFew(vals.count);
        ParseBase(vals);
        if (first) {
            first = false;
            return FirstLineExtras(line, vals);
        }
        if (sta_ == 0) return 0;
        if (vals.count > BASE_VALUES + nbExtra_) TooMany(vals.count);
        const int nbUser = vals.count - BASE_VALUES;
        user_.fill(0.0);
        for (int k = 0; k < nbUser; ++k) {
            const std::string_view tok = vals.v[static_cast<std::size_t>(BASE_VALUES + k)];
            if (!TryParseFloat(tok, user_[static_cast<std::size_t>(k)]))
                NotNumber("extra value " + std::to_string(k + 1), tok, "a number");
        }
        return nbUser;
    }

    void ParseBase(const LineValues& vals) {
        auto asInt = [&](int k, int& out) {
            if (!TryParseInt(vals.v[static_cast<std::size_t>(k)], out))
                NotNumber(VALUE_NAMES[k], vals.v[static_cast<std::size_t>(k)], "an integer");
        };
        auto asFloat = [&](int k, double& out) {
            if (!TryParseFloat(vals.v[static_cast<std::size_t>(k)], out))
                NotNumber(VALUE_NAMES[k], vals.v[static_cast<std::size_t>(k)], "a number");
        };
        asInt(0, sta_);
        asFloat(1, lat_);
        asInt(2, yea_);
        asInt(3, doy_);
        asFloat(4, tmp_);
        asFloat(5, tmn_);
        asFloat(6, tmx_);
    }

    // The first data line fixes the number of extra columns: what follows its seventh value,
    // split at TABs. When that part is not TAB-separated numbers the file has no extra column.
    int FirstLineExtras(std::string_view line, const LineValues& vals) {
        const std::string_view seventh = vals.v[BASE_VALUES - 1];
        const std::string_view rest =
            line.substr(static_cast<std::size_t>(seventh.data() + seventh.size() - line.data()));
        TDoubleArr found{};
        int n = 0;
        bool numbers = true;
        for (const std::string_view cell : SplitTabCells(rest)) {
            const std::string_view field = TrimBlanks(cell);
            if (field.empty()) continue;
            double d = 0.0;
            if (!TryParseFloat(field, d)) {
                numbers = false;
                break;
            }
            if (n < MAX_USER_VALUES) found[static_cast<std::size_t>(n)] = d;
            ++n;
        }
        if (!numbers) n = 0;
        if (n > MAX_USER_VALUES)
            throw EOrvexError("Error : too many extra columns in " + Where() + ": found " +
                              std::to_string(n) + ", at most " + std::to_string(MAX_USER_VALUES) +
                              " are allowed.");
        nbExtra_ = n;
        user_ = found;
        return n;
    }

    const std::string& file_;
    const TWeather* owner_;
    int line_ = 0;
    bool lastLineCut_ = false;
    int nbExtra_ = 0;
    int sta_ = 0, yea_ = 0, doy_ = 0;
    double lat_ = 0.0, tmp_ = 0.0, tmn_ = 0.0, tmx_ = 0.0;
    TDoubleArr user_{};
    int prevSta_ = 0, prevYea_ = 0;
    std::unordered_map<std::uint64_t, int> started_; // (station, year) -> its first line
};

// "ss.zzz": whole seconds (at least two digits) and milliseconds.
std::string ElapsedText(std::chrono::steady_clock::duration d) {
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    std::string s = std::to_string(ms / 1000);
    if (s.size() < 2) s.insert(0, 1, '0');
    std::string z = std::to_string(ms % 1000);
    z.insert(0, 3 - z.size(), '0');
    return s + "." + z;
}

} // namespace

void TWeather::LoadAll(const std::string& fileName) {
    LogIt("START Reading...");
    const auto start = std::chrono::steady_clock::now();
    TTextLineReader reader;
    OpenClimateFile(reader, fileName);
    std::vector<std::string> header;
    std::vector<std::unique_ptr<TWeatherYear>> loaded;
    ClimateParser(fileName, this).Parse(reader, header, loaded);
    // Only a whole file replaces what we held.
    years = std::move(loaded);
    dataHeader = std::move(header);
    LogIt("END Reading..." + ElapsedText(std::chrono::steady_clock::now() - start));
}

void TWeather::LoadAndPheno(const std::string& fileName, TRPhenoInfos& pheno) {
    LogIt("START Reading...");
    LoadAll(fileName);
    pheno.weatherPTR = this;
    std::map<std::pair<int, int>, int> indexOf; // (station, year) -> its station-year, met once
    for (int i = 0; i < NbYears(); ++i)
        indexOf.emplace(std::make_pair(Year(i).station, Year(i).year), i);
    pheno.tabWeatherIdx.assign(pheno.tabPheno.size(), -1);
    for (std::size_t k = 0; k < pheno.tabPheno.size(); ++k) {
        const TRPhenoData& row = pheno.tabPheno[k];
        const auto it = indexOf.find({row.station, row.year});
        if (it != indexOf.end()) {
            pheno.tabWeatherIdx[k] = it->second;
            LogIt("Found year : " + std::to_string(row.year) + " @pos : " + std::to_string(it->second));
        } else {
            LogIt("NOT Found year : " + std::to_string(row.year));
        }
    }
}

void TWeather::LoadAndT0(const std::string& fileName, TRSimInfo& sim_info) {
    LogIt("START Reading...");
    LoadAll(fileName);
    std::unordered_map<int, int> firstOf; // year -> first station-year, any station
    for (int i = 0; i < NbYears(); ++i)
        firstOf.emplace(Year(i).year, i);
    std::vector<TRSimYear> linked = sim_info.Years;
    for (TRSimYear& y : linked) {
        const auto it = firstOf.find(y.year);
        if (it == firstOf.end()) {
            LogIt("NOT Found year : " + std::to_string(y.year));
            throw EOrvexError("Error : t0 year \"" + std::to_string(y.year) +
                              "\" not found in Climatic file.");
        }
        y.wea_id = it->second;
        LogIt("Found year : " + std::to_string(y.year) + " @pos : " + std::to_string(it->second));
    }
    sim_info.Years = std::move(linked);
}
