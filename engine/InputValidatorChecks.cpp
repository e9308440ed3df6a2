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
    bool ok = true;
    std::int64_t lineNb = 1;
    auto errorAt = [&](std::int64_t at, const std::string& message) {
        f_errlog.Entry(at, TAG_METEO, message);
        ok = false;
    };
    auto error = [&](const std::string& message) { errorAt(lineNb, message); };

    // The current phenology row: climate station-years are matched against the rows in order.
    std::string phenoLine;
    std::vector<std::string_view> phenoCells;
    f_pheno.Rewind();
    f_pheno.ReadLine(phenoLine);
    f_pheno.ReadLine(phenoLine);
    SplitTabCells(phenoLine, phenoCells);
    std::int64_t matched = 0;
    const std::int64_t phenoRows = nbPhenoLines - 1;

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
    bool firstDone = false; // the first line that reached the day checks
    bool hasPrev = false;
    int prevStation = 0, prevYear = 0, prevDay = 0;
    double prevLat = 0.0;
    bool hasKey = false; // station and year of the last line that reached the matching
    std::string keyStation, keyYear;

    while (!f_meteo.Eof()) {
        if (!SafePoint()) return false;
        f_meteo.ReadLine(line);
        ++lineNb;
        dataProgress_ = f_meteo.Position();
        const bool lastLine = f_meteo.Eof();
        SplitTabCells(line, cells);
        if (cells.size() != n) {
            error(WrongCount(cells.size(), n));
            continue;
        }
        CountMissing(cells, arr_meteoMiss);

        int station = 0, year = 0, day = 0;
        double lat = 0.0;
        if (!TryParseInt(cells[0], station)) {
            error(NotInteger("Station", cells[0]));
            continue;
        }
        if (!ParseDecimal(cells[1], lat)) {
            error(Quoted("Latitude ", cells[1], " value is not a float."));
            continue;
        }
        if (!TryParseInt(cells[2], year)) {
            error(NotInteger("Year", cells[2]));
            continue;
        }
        if (!TryParseInt(cells[3], day)) {
            error(NotInteger("Day Of Year", cells[3]));
            continue;
        }

        if (!firstDone) {
            firstDone = true;
            if (day != 1) {
                error("Wrong Day Of Year \"" + IntToStr(day) + "\" (expected : 1).");
                continue;
            }
        } else {
            if (lastLine) {
                const int expected = GetNbDays(year);
                if (day != expected)
                    error(Quoted("Wrong number of days ", cells[3],
                                 " (expected : " + IntToStr(expected) + ")."));
            } else if (hasPrev && year != prevYear) {
                if (day != 1) error("Wrong Day Of Year \"" + IntToStr(day) + "\" (expected : 1).");
                const int expected = GetNbDays(prevYear);
                if (prevDay != expected)
                    errorAt(lineNb - 1, "Wrong number of days \"" + IntToStr(prevDay) +
                                            "\" (expected : " + IntToStr(expected) + ").");
            }
            // After a first line that was refused there is nothing to compare with.
            if (hasPrev) {
                if (station < prevStation) error(WrongOrder(lineNb));
                if (!settings.skip_lat && station == prevStation && lat != prevLat)
                    error("Latitude's value must be the same than at line " + IntToStr(lineNb - 1) + "\".");
                if (station == prevStation && year < prevYear)
                    error("Station's years are not in a chronological order.");
                // Widened: a day at the end of the int range must not overflow.
                const long long nextDay = static_cast<long long>(prevDay) + 1;
                if (station == prevStation && year == prevYear && day != nextDay)
                    error("Bad Day Of Year increment ( found : " + std::string(cells[3]) +
                          " / expected : " + IntToStr(nextDay) + ").");
            }
        }
        prevStation = station;
        prevLat = lat;
        prevYear = year;
        prevDay = day;
        hasPrev = true;

        bool badCell = false;
        double value = 0.0;
        for (std::size_t i = 4; i < n; ++i) {
            if (!ParseDecimal(cells[i], value)) {
                error(Quoted("Value ", cells[i], " is not a float."));
                badCell = true;
            }
        }
        if (!settings.skip_lat && !IsLatitude(lat) && lat != MISSING) {
            error(Quoted("Wrong Latitude value : ", cells[1], " (must be between -90 and 90 or MISSING)."));
            continue;
        }
        if (badCell) continue;

        double t[3] = {0.0, 0.0, 0.0}; // mean, minimum, maximum
        bool badTemperature = false;
        for (int k = 0; k < 3 && !badTemperature; ++k) {
            ParseDecimal(cells[4 + k], t[k]);
            if (!IsTemperature(t[k]) && t[k] != MISSING) {
                error(Quoted("Wrong Temperature value : ", cells[4 + k], " (must be between -60 and 60)."));
                badTemperature = true;
            }
        }
        if (badTemperature) continue;
        const double tmean = t[0], tmin = t[1], tmax = t[2];
        if (!settings.skip_tminmax && tmin != MISSING && tmax != MISSING && tmin > tmax) {
            error(Quoted("Wrong Temperatures : ", cells[5], " is not less or equal to ") +
                  Quoted("", cells[6], "."));
            continue;
        }
        if (!settings.skip_tmean && tmean != MISSING && tmin != MISSING && tmax != MISSING &&
            (tmean < tmin || tmean > tmax)) {
            error(Quoted("Wrong mean Temperature : ", cells[4], " (expected between ") +
                  Quoted("", cells[5], " and ") + Quoted("", cells[6], "."));
            continue;
        }

        // Several provenances of one station-year are all matched by it; a station-year that is
        // not the current phenology row is passed over.
        if (!hasKey || keyStation != cells[0] || keyYear != cells[2] || lastLine) {
            if (matched < phenoRows && phenoCells.size() >= 3 && phenoCells[0] == cells[0] &&
                phenoCells[2] == cells[2]) {
                for (;;) {
                    ++matched;
                    if (f_pheno.Eof()) break;
                    f_pheno.ReadLine(phenoLine);
                    SplitTabCells(phenoLine, phenoCells);
                    if (phenoCells.size() < 3 || phenoCells[0] != cells[0] || phenoCells[2] != cells[2])
                        break;
                }
            }
        }
        keyStation = cells[0];
        keyYear = cells[2];
        hasKey = true;
    }

    if (matched != phenoRows)
        error("Meteo does not completely match with the pheno file (found only \"" + IntToStr(matched) +
              "\" entries of \"" + IntToStr(phenoRows) + "\r\nCouldn't find a match for pheno. line \"" +
              IntToStr(matched + 2) + "\", in the meteo file.");
    PrintFinalReport();
    return ok;
}
