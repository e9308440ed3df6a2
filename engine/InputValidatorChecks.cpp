// The three file checks of TInputValidator.
#include <map>
#include <string>
#include <tuple>

#include "InputValidator.h"
#include "Inputs.h"
#include "MathUtils.h"
#include "NumberText.h"
#include "UtilStuff.h"
#include "WeatherUtils.h"

namespace {

constexpr std::string_view TAG_PHENO = "_PHENO_";
constexpr std::string_view TAG_FIT = "_FIT_";
constexpr std::string_view TAG_METEO = "_METEO_";

bool IsYear(int y) {
    return y > 0 && y < 3000;
}
bool IsLatitude(double x) {
    return x >= -90.0 && x <= 90.0;
}
bool IsTemperature(double t) {
    return t > -60.0 && t < 60.0;
}

// Data files are read with '.' as the only separator, so ',' is refused here too: a file that
// passes must load.
bool ParseDecimal(std::string_view cell, double& value) {
    return TryParseFloat(cell, value);
}

std::string Quoted(std::string_view head, std::string_view cell, std::string_view tail) {
    std::string s(head);
    s += '"';
    s += cell;
    s += '"';
    s += tail;
    return s;
}

std::string NotInteger(std::string_view what, std::string_view cell) {
    return Quoted(std::string(what) + " ", cell, " value is not an integer.");
}

std::string WrongCount(std::size_t found, std::size_t expected) {
    return "Wrong number of values : found \"" + IntToStr(static_cast<long long>(found)) +
           "\" / Expected \"" + IntToStr(static_cast<long long>(expected)) + "\"";
}

std::string WrongOrder(std::int64_t line) {
    return "Stations in wrong order (must be a bigger or equal value than at line " + IntToStr(line - 1) +
           "\").";
}

std::vector<std::string> OwnedCells(const std::string& line) {
    std::vector<std::string_view> views;
    SplitTabCells(line, views);
    return {views.begin(), views.end()};
}

void CountMissing(const std::vector<std::string_view>& cells, std::vector<std::int64_t>& missing) {
    for (std::size_t i = 0; i < cells.size() && i < missing.size(); ++i)
        if (cells[i] == TInputValidator::STR_MISSING) ++missing[i];
}

bool SameText(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b, std::size_t n) {
    if (a.size() < n || b.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// Entries of the climate check, at its current line unless told otherwise; any entry fails it.
class MeteoErrors {
public:
    explicit MeteoErrors(TErrorLog& log) : log_(log) {}
    void At(std::int64_t at, const std::string& message) {
        log_.Entry(at, TAG_METEO, message);
        ok_ = false;
    }
    void operator()(const std::string& message) { At(line, message); }
    bool ok() const { return ok_; }

    std::int64_t line = 1;

private:
    TErrorLog& log_;
    bool ok_ = true;
};

// Station, latitude, year and day that open a climate line.
struct MeteoKey {
    int station = 0;
    double lat = 0.0;
    int year = 0;
    int day = 0;
};

bool ParseMeteoKey(const std::vector<std::string_view>& cells, MeteoKey& key, MeteoErrors& error) {
    if (!TryParseInt(cells[0], key.station)) {
        error(NotInteger("Station", cells[0]));
        return false;
    }
    if (!ParseDecimal(cells[1], key.lat)) {
        error(Quoted("Latitude ", cells[1], " value is not a float."));
        return false;
    }
    if (!TryParseInt(cells[2], key.year)) {
        error(NotInteger("Year", cells[2]));
        return false;
    }
    if (!TryParseInt(cells[3], key.day)) {
        error(NotInteger("Day Of Year", cells[3]));
        return false;
    }
    return true;
}

// Days run from 1 to the year's last one, years in order within a station, stations ascending.
class DaySequence {
public:
    // False when the line goes no further: a first line that does not start a year.
    bool Check(const MeteoKey& key, std::string_view dayCell, bool lastLine, bool skipLat,
               MeteoErrors& error) {
        if (!firstDone_) {
            firstDone_ = true;
            if (key.day != 1) {
                error("Wrong Day Of Year \"" + IntToStr(key.day) + "\" (expected : 1).");
                return false;
            }
        } else {
            CheckYearEnds(key, dayCell, lastLine, error);
            // After a first line that was refused there is nothing to compare with.
            if (hasPrev_) CheckAgainstPrevious(key, dayCell, skipLat, error);
        }
        prev_ = key;
        hasPrev_ = true;
        return true;
    }

private:
    void CheckYearEnds(const MeteoKey& key, std::string_view dayCell, bool lastLine,
                       MeteoErrors& error) const {
        if (lastLine) {
            const int expected = GetNbDays(key.year);
            if (key.day != expected)
                error(Quoted("Wrong number of days ", dayCell, " (expected : " + IntToStr(expected) + ")."));
        } else if (hasPrev_ && key.year != prev_.year) {
            if (key.day != 1) error("Wrong Day Of Year \"" + IntToStr(key.day) + "\" (expected : 1).");
            const int expected = GetNbDays(prev_.year);
            if (prev_.day != expected)
                error.At(error.line - 1, "Wrong number of days \"" + IntToStr(prev_.day) +
                                             "\" (expected : " + IntToStr(expected) + ").");
        }
    }

    void CheckAgainstPrevious(const MeteoKey& key, std::string_view dayCell, bool skipLat,
                              MeteoErrors& error) const {
        const bool sameStation = key.station == prev_.station;
        if (key.station < prev_.station) error(WrongOrder(error.line));
        if (!skipLat && sameStation && key.lat != prev_.lat)
            error("Latitude's value must be the same than at line " + IntToStr(error.line - 1) + "\".");
        if (sameStation && key.year < prev_.year) error("Station's years are not in a chronological order.");
        // Widened: a day at the end of the int range must not overflow.
        const long long nextDay = static_cast<long long>(prev_.day) + 1;
        if (sameStation && key.year == prev_.year && key.day != nextDay)
            error("Bad Day Of Year increment ( found : " + std::string(dayCell) +
                  " / expected : " + IntToStr(nextDay) + ").");
    }

    bool firstDone_ = false; // the first line that reached the day checks
    bool hasPrev_ = false;
    MeteoKey prev_;
};

// Mean, minimum and maximum in range, and in that order unless skipped. False on an error.
bool CheckTemperatures(const std::vector<std::string_view>& cells, const TRValidationSettings& settings,
                       MeteoErrors& error) {
    double t[3] = {0.0, 0.0, 0.0}; // mean, minimum, maximum
    for (int k = 0; k < 3; ++k) {
        ParseDecimal(cells[4 + k], t[k]);
        if (!IsTemperature(t[k]) && t[k] != MISSING) {
            error(Quoted("Wrong Temperature value : ", cells[4 + k], " (must be between -60 and 60)."));
            return false;
        }
    }
    const double tmean = t[0], tmin = t[1], tmax = t[2];
    if (!settings.skip_tminmax && tmin != MISSING && tmax != MISSING && tmin > tmax) {
        error(Quoted("Wrong Temperatures : ", cells[5], " is not less or equal to ") +
              Quoted("", cells[6], "."));
        return false;
    }
    if (!settings.skip_tmean && tmean != MISSING && tmin != MISSING && tmax != MISSING &&
        (tmean < tmin || tmean > tmax)) {
        error(Quoted("Wrong mean Temperature : ", cells[4], " (expected between ") +
              Quoted("", cells[5], " and ") + Quoted("", cells[6], "."));
        return false;
    }
    return true;
}

// The values after the key are numbers, the latitude in range. False when the line goes no further.
bool CheckMeteoValues(const std::vector<std::string_view>& cells, double lat,
                      const TRValidationSettings& settings, MeteoErrors& error) {
    bool badCell = false;
    double value = 0.0;
    for (std::size_t i = 4; i < cells.size(); ++i) {
        if (!ParseDecimal(cells[i], value)) {
            error(Quoted("Value ", cells[i], " is not a float."));
            badCell = true;
        }
    }
    if (!settings.skip_lat && !IsLatitude(lat) && lat != MISSING) {
        error(Quoted("Wrong Latitude value : ", cells[1], " (must be between -90 and 90 or MISSING)."));
        return false;
    }
    return !badCell && CheckTemperatures(cells, settings, error);
}

// Climate station-years are matched against the phenology rows in order. Several provenances of
// one station-year are all matched by it; a station-year that is not the current row is passed over.
class PhenoMatcher {
public:
    PhenoMatcher(TTextLineReader& pheno, std::int64_t rows) : pheno_(pheno), rows_(rows) {
        pheno_.Rewind();
        pheno_.ReadLine(line_);
        pheno_.ReadLine(line_);
        SplitTabCells(line_, cells_);
    }
    PhenoMatcher(const PhenoMatcher&) = delete; // the cells point into the line
    PhenoMatcher& operator=(const PhenoMatcher&) = delete;

    void Match(const std::vector<std::string_view>& cells, bool lastLine) {
        if (!hasKey_ || keyStation_ != cells[0] || keyYear_ != cells[2] || lastLine) {
            if (matched_ < rows_ && IsCurrentRow(cells)) {
                for (;;) {
                    ++matched_;
                    if (pheno_.Eof()) break;
                    pheno_.ReadLine(line_);
                    SplitTabCells(line_, cells_);
                    if (!IsCurrentRow(cells)) break;
                }
            }
        }
        keyStation_ = cells[0];
        keyYear_ = cells[2];
        hasKey_ = true;
    }
    std::int64_t Matched() const { return matched_; }

private:
    bool IsCurrentRow(const std::vector<std::string_view>& cells) const {
        return cells_.size() >= 3 && cells_[0] == cells[0] && cells_[2] == cells[2];
    }

    TTextLineReader& pheno_;
    std::int64_t rows_;
    std::string line_;
    std::vector<std::string_view> cells_;
    std::int64_t matched_ = 0;
    bool hasKey_ = false; // station and year of the last line that reached the matching
    std::string keyStation_, keyYear_;
};

} // namespace

bool TInputValidator::ValidatePheno() {
    f_errlog.Piece("[ERROR LOG]\r\nSee end of file for \"Statistics Report\".\r\n");
    f_errlog.Piece("\r\n\r\nPHENO FILE ERRORS :\r\n---------------\r\n-\r\n");
    bool ok = true;
    std::int64_t lineNb = 1;
    auto error = [&](const std::string& message) {
        f_errlog.Entry(lineNb, TAG_PHENO, message);
        ok = false;
    };

    std::string line;
    f_pheno.ReadLine(line);
    sl_phenoHeader = OwnedCells(line);
    const std::size_t n = sl_phenoHeader.size();
    arr_phenoMiss.assign(n, 0);
    nbPhenoLines = 1;
    if (n <= 3) {
        error("Header : Wrong number of columns : found \"" + IntToStr(static_cast<long long>(n)) +
              "\" / Expected at least \"4\"");
        return false;
    }

    std::vector<std::string_view> cells;
    bool hasPrev = false;
    int prevStation = 0, prevYear = 0;
    while (!f_pheno.Eof()) {
        if (!SafePoint()) return false;
        f_pheno.ReadLine(line);
        ++lineNb;
        SplitTabCells(line, cells);
        if (cells.size() != n) {
            error(WrongCount(cells.size(), n));
            continue;
        }
        CountMissing(cells, arr_phenoMiss);

        int station = 0, provenance = 0, year = 0;
        if (!TryParseInt(cells[0], station)) {
            error(NotInteger("Station", cells[0]));
            continue;
        }
        if (!TryParseInt(cells[1], provenance)) {
            error(NotInteger("Provenance", cells[1]));
            continue;
        }
        if (!TryParseInt(cells[2], year)) {
            error(NotInteger("Year", cells[2]));
            continue;
        }
        if (!IsYear(year)) {
            error(Quoted("Wrong year value : ", cells[2], " (must be between 0 and 3000)."));
            continue;
        }
        if (hasPrev) {
            if (station < prevStation) {
                error(WrongOrder(lineNb));
                continue;
            }
            if (station == prevStation && year < prevYear) {
                error("Station's years are not in a chronological order.");
                continue;
            }
        }
        double value = 0.0;
        for (std::size_t i = 3; i < n; ++i) {
            if (!ParseDecimal(cells[i], value))
                error(Quoted("Value ", cells[i], " is not a float."));
            else if (!IsPhenoDate(value))
                error(Quoted("Value ", cells[i],
                             " is not a day of the year (must be between -365 and 366 or MISSING)."));
        }
        prevStation = station;
        prevYear = year;
        hasPrev = true;
    }
    nbPhenoLines = lineNb;
    return ok;
}

bool TInputValidator::ValidateFit() {
    f_errlog.Piece("\r\n\r\nFIT FILE ERRORS :\r\n---------------\r\n-\r\n");
    bool ok = true;
    std::int64_t lineNb = 1;
    auto error = [&](const std::string& message) {
        f_errlog.Entry(lineNb, TAG_FIT, message);
        ok = false;
    };

    std::string phenoLine;
    std::vector<std::string_view> phenoCells;
    f_pheno.Rewind();
    f_pheno.ReadLine(phenoLine);
    phenoLine.clear();

    std::string line;
    f_fit.ReadLine(line);
    // The reader takes exactly station, provenance and year: a wider header would pass here
    // and then stop the fit.
    const int n = nbOfColumns(line);
    if (n != 3) {
        error("Header : Wrong number of columns : found \"" + IntToStr(n) + "\" / Expected \"3\"");
        return false;
    }

    std::vector<std::string_view> cells;
    // A row given twice would be scored twice; the matching below misses a repeated last row.
    std::map<std::tuple<int, int, int>, std::int64_t> lineOf;
    while (!f_fit.Eof()) {
        if (!SafePoint()) return false;
        f_fit.ReadLine(line);
        ++lineNb;
        SplitTabCells(line, cells);
        if (cells.size() != static_cast<std::size_t>(n)) {
            error(WrongCount(cells.size(), static_cast<std::size_t>(n)));
            return false;
        }
        int station = 0, provenance = 0, year = 0;
        if (!TryParseInt(cells[0], station)) {
            error(NotInteger("Station", cells[0]));
            continue;
        }
        if (!TryParseInt(cells[1], provenance)) {
            error(NotInteger("Location", cells[1]));
            continue;
        }
        if (!TryParseInt(cells[2], year)) {
            error(NotInteger("Year", cells[2]));
            continue;
        }
        const auto [first, added] = lineOf.emplace(std::make_tuple(station, provenance, year), lineNb);
        if (!added) {
            error("Duplicated row : the same station, provenance and year are at line " +
                  IntToStr(first->second) + ".");
            continue;
        }
        // Fit rows follow the phenology file's order; once the phenology file is exhausted its
        // last row is compared once more.
        bool found = false;
        while (!f_pheno.Eof()) {
            f_pheno.ReadLine(phenoLine);
            SplitTabCells(phenoLine, phenoCells);
            if (SameText(phenoCells, cells, 3)) {
                found = true;
                break;
            }
        }
        if (!found) found = SameText(phenoCells, cells, 3);
        if (!found) {
            error("Unable to get a match between pheno and fit files for this line. (looking for [station=" +
                  std::string(cells[0]) + ", provenance=" + std::string(cells[1]) +
                  ", year=" + std::string(cells[2]) + "])");
            return false;
        }
    }
    return ok;
}

bool TInputValidator::ValidateMeteo() {
    f_errlog.Piece("\r\n\r\nMETEO FILE ERRORS :\r\n-----------------\r\n-\r\n");
    dataProgress_ = 0;
    MeteoErrors error(f_errlog);
    const std::int64_t phenoRows = nbPhenoLines - 1;
    PhenoMatcher pheno(f_pheno, phenoRows);

    std::string line;
    f_meteo.ReadLine(line);
    sl_meteoHeader = OwnedCells(line);
    const std::size_t n = sl_meteoHeader.size();
    arr_meteoMiss.assign(n, 0);
    dataProgress_ = f_meteo.Position();
    if (n <= 6) {
        error("Header : Wrong number of columns : found \"" + IntToStr(static_cast<long long>(n)) +
              "\" / Expected \"7\"");
        PrintFinalReport();
        return false;
    }

    std::vector<std::string_view> cells;
    DaySequence days;
    while (!f_meteo.Eof()) {
        if (!SafePoint()) return false;
        f_meteo.ReadLine(line);
        ++error.line;
        dataProgress_ = f_meteo.Position();
        const bool lastLine = f_meteo.Eof();
        SplitTabCells(line, cells);
        if (cells.size() != n) {
            error(WrongCount(cells.size(), n));
            continue;
        }
        CountMissing(cells, arr_meteoMiss);
        MeteoKey key;
        if (!ParseMeteoKey(cells, key, error)) continue;
        if (!days.Check(key, cells[3], lastLine, settings.skip_lat, error)) continue;
        if (!CheckMeteoValues(cells, key.lat, settings, error)) continue;
        pheno.Match(cells, lastLine);
    }

    if (pheno.Matched() != phenoRows)
        error("Meteo does not completely match with the pheno file (found only \"" +
              IntToStr(pheno.Matched()) + "\" entries of \"" + IntToStr(phenoRows) +
              "\r\nCouldn't find a match for pheno. line \"" + IntToStr(pheno.Matched() + 2) +
              "\", in the meteo file.");
    PrintFinalReport();
    return error.ok();
}
