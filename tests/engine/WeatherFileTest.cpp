#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "ErrorText.h"
#include "OrvexError.h"
#include "ScratchDir.h"
#include "Weather.h"

namespace {

const std::string HEADER = "Station\tLatitude\tYear\tDOY\tTmean\tTmin\tTmax\n";
const std::string BAD_NUMBER = "Error : Problems encoutered while reading the meteo file.\n\rPlease verify "
                               "that the decimal separator is \".\"";

// One line per day; the mean temperature encodes year and day so a test can tell days apart.
std::string DayLine(int sta, int year, int day) {
    return std::to_string(sta) + "\t45.5\t" + std::to_string(year) + "\t" + std::to_string(day) + "\t" +
           std::to_string((year % 100) * 1000 + day) + "\t-1.5\t2.5\n";
}

std::string Years(int sta, int from, int to) {
    std::string s;
    for (int y = from; y <= to; ++y) {
        const int n = (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365;
        for (int d = 1; d <= n; ++d)
            s += DayLine(sta, y, d);
    }
    return s;
}

using WeatherFile = ScratchDirTest;

double Tmp(const TWeatherYear& y, int day) {
    return y.GetDay(day)._tmp;
}

// Columns -1 .. 5 of a day: mean, minimum, maximum, then the extra values.
std::vector<double> Columns(const TRWeatherDay& d) {
    std::vector<double> v;
    for (int col = -1; col <= 5; ++col)
        v.push_back(GetWeatherDayDataAt(d, col));
    return v;
}

} // namespace

TEST_F(WeatherFile, DaysCrossYearEndsOfOneStationOnly) {
    TWeather w;
    w.LoadAll(
        WriteFile("c.txt", HEADER + Years(1, 2003, 2005) + Years(2, 2006, 2006) + Years(3, 2006, 2006)));
    ASSERT_EQ(w.NbYears(), 5);
    const TWeatherYear &y03 = w.Year(0), &y04 = w.Year(1), &y05 = w.Year(2);
    EXPECT_DOUBLE_EQ(Tmp(y03, 366), 4001); // day 1 of 2004
    EXPECT_DOUBLE_EQ(Tmp(y04, 0), 3365);   // last day of 2003
    EXPECT_DOUBLE_EQ(Tmp(y04, 366), 4366); // leap day is its own
    EXPECT_DOUBLE_EQ(Tmp(y04, 367), 5001);
    EXPECT_DOUBLE_EQ(Tmp(y03, 732), 5001);  // through two year ends
    EXPECT_DOUBLE_EQ(Tmp(y05, -365), 4001); // 2004 has 366 days
    EXPECT_DOUBLE_EQ(Tmp(y05, -366), 3365);
    EXPECT_EQ(y03.GetDay(0)._sta, MISSING_INT); // no 2002
    EXPECT_DOUBLE_EQ(Tmp(y03, -365), MISSING);
    EXPECT_DOUBLE_EQ(Tmp(y05, 366), MISSING);       // next year belongs to station 2
    EXPECT_DOUBLE_EQ(Tmp(w.Year(3), 366), MISSING); // same year, other station
    EXPECT_DOUBLE_EQ(Tmp(w.Year(4), 0), MISSING);
    EXPECT_EQ(w.Year(4).station, 3);
}

TEST_F(WeatherFile, ExtraColumnsComeFromTheFirstDataLine) {
    TWeather w;
    w.LoadAll(std::string(ORVEX_TEST_DATA) + "/weather/extra_columns.txt");
    ASSERT_EQ(w.NbYears(), 1);
    EXPECT_EQ(w.dataHeader.size(), 9u);
    EXPECT_EQ(w.dataHeader[8], "RH");
    const TWeatherYear& y = w.Year(0);
    const double M = MISSING;
    EXPECT_EQ(Columns(y.GetDay(1)), (std::vector<double>{M, 10, 5, 15, 3, 7, M}));
    EXPECT_EQ(Columns(y.GetDay(2)), (std::vector<double>{M, 11, 6, 16, 4, M, M}));
    EXPECT_EQ(Columns(y.GetDay(3)), (std::vector<double>{M, 12, 7, 17, -15, 0.25, M}));
    EXPECT_DOUBLE_EQ(y.GetDay(1)._lat, 45.5);
    EXPECT_EQ(y.GetDay(2)._nb_user, 1);
}

TEST_F(WeatherFile, EndMarksAndIgnoredLinesReadAlike) {
    // Line ends and byte order marks in every form are the line reader's; these are the reader's own.
    const std::string body = DayLine(1, 2001, 1) + DayLine(1, 2001, 2) + DayLine(1, 2001, 4);
    const std::string variants[] = {
        HEADER + body,
        HEADER + body + "\n\n  \n",
        HEADER + body.substr(0, body.size() - 1), // no final line end
        HEADER + "\n" + DayLine(1, 2001, 1) + "\n \t\n" + DayLine(1, 2001, 2) + DayLine(1, 2001, 4),
        HEADER + DayLine(1, 2001, 1) + "0 0 0 0 0 0 0 1 2 3 4 5\n" + DayLine(1, 2001, 2) +
            DayLine(0, 2001, 3) + DayLine(1, 2001, 4),
        // out-of-range days are dropped without a new station-year
        HEADER + DayLine(1, 2001, 0) + DayLine(1, 2001, 1) + DayLine(1, 2001, 2) + DayLine(1, 2001, 366) +
            DayLine(1, 2001, 4) + DayLine(1, 2001, -3),
    };
    int n = 0;
    for (const std::string& v : variants) {
        SCOPED_TRACE(n);
        TWeather w;
        w.LoadAll(WriteFile("v" + std::to_string(n++) + ".txt", v));
        ASSERT_EQ(w.NbYears(), 1);
        EXPECT_EQ(w.dataHeader.size(), 7u);
        const TWeatherYear& y = w.Year(0);
        std::vector<double> temps;
        for (int d : {1, 2, 3, 4, 365})
            temps.push_back(Tmp(y, d));
        // a day absent from the file is missing, not 0 degC
        EXPECT_EQ(temps, (std::vector<double>{1001, 1002, MISSING, 1004, MISSING}));
        EXPECT_DOUBLE_EQ(y.GetDay(4)._tmn, -1.5);
        EXPECT_EQ(y.GetDay(3)._sta, MISSING_INT);
    }
}

TEST_F(WeatherFile, YearsAtTheEndsOfTheIntRangeHaveNoNeighbours) {
    constexpr int last = std::numeric_limits<int>::max();
    constexpr int first = std::numeric_limits<int>::min();
    TWeather w;
    w.LoadAll(
        WriteFile("ends.txt", HEADER + DayLine(1, last, 1) + DayLine(1, first, 1) + DayLine(1, last - 1, 1)));
    ASSERT_EQ(w.NbYears(), 3);
    for (const auto& [year, day] : {std::pair{0, 366}, std::pair{1, 0}, std::pair{1, 367}, std::pair{2, 0}})
        EXPECT_EQ(w.Year(year).GetDay(day)._sta, MISSING_INT) << year << " " << day;
}

TEST_F(WeatherFile, EachBadFileGivesItsOwnMessage) {
    const std::string ok = DayLine(1, 2001, 1) + DayLine(1, 2001, 2);
    struct Case {
        const char* name;
        std::string content;
        std::string message; // "@" stands for the file's path
    };
    const Case cases[] = {
        {"comma", HEADER + ok + "1\t45,5\t2001\t3\t1\t2\t3\n",
         BAD_NUMBER + "\n\rIn the meteo file \"@\" at line 4, the latitude \"45,5\" is not a number."},
        {"intyear", HEADER + "1 45.5 2001.0 1 1 2 3\n",
         BAD_NUMBER + "\n\rIn the meteo file \"@\" at line 2, the year \"2001.0\" is not an integer."},
        {"badextra", HEADER + "1\t45\t2001\t1\t1\t2\t3\t4\t5\n1 45 2001 2 1 2 3 4 x5\n",
         BAD_NUMBER + "\n\rIn the meteo file \"@\" at line 3, the extra value 2 \"x5\" is not a number."},
        {"badfirst", HEADER + "1 45 2001 1 1 2 NaN\n" + ok,
         BAD_NUMBER +
             "\n\rIn the meteo file \"@\" at line 2, the maximum temperature \"NaN\" is not a number."},
        {"toofew", HEADER + ok + "1 45.5 2001 3 10.0 5.0\n" + DayLine(1, 2001, 4),
         "Error : too few values in the meteo file \"@\" at line 4: found 6, expected at least 7."},
        {"toomany", HEADER + "1\t45\t2001\t1\t1\t2\t3\t4\n1 45 2001 2 1 2 3 4\n1 45 2001 3 1 2 3 4 5\n",
         "Error : too many values in the meteo file \"@\" at line 4: found 9, expected at most 8 "
         "(7 values and the 1 extra columns of the first data line)."},
        // extras set off by blanks, not TABs, on the first line give none
        {"blankextras", HEADER + "1 45.5 2001 1 10.0 5.0 15.0 3 7\n1 45.5 2001 2 10 5 15 3 7\n",
         "Error : too many values in the meteo file \"@\" at line 3: found 9, expected at most 7 "
         "(7 values and the 0 extra columns of the first data line)."},
        {"truncated", HEADER + ok + "1 45.5 2001 3 10",
         "Error : too few values in the meteo file \"@\" at line 4: found 5, expected at least 7. "
         "The last line is incomplete."},
        // later lines are read in one pass; a line that pass refuses must still be named as above
        {"intyearlater", HEADER + ok + "1 45 2001.0 3 1 2 3\n",
         BAD_NUMBER + "\n\rIn the meteo file \"@\" at line 4, the year \"2001.0\" is not an integer."},
        {"toofewbeforebad", HEADER + ok + "1 x 2001\n",
         "Error : too few values in the meteo file \"@\" at line 4: found 3, expected at least 7."},
        {"overflow", HEADER + ok + "1 45 2001 3 1e999 2 3\n",
         BAD_NUMBER +
             "\n\rIn the meteo file \"@\" at line 4, the mean temperature \"1e999\" is not a number."},
        {"elevenextras", HEADER + "1\t45\t2001\t1\t1\t2\t3\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\n",
         "Error : too many extra columns in the meteo file \"@\" at line 2: found 11, at most 10 are "
         "allowed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteFile(c.name, c.content);
        std::string want = c.message;
        want.replace(want.find('@'), 1, path);
        EXPECT_EQ(ErrorText([&] { TWeather().LoadAll(path); }), want);
    }
    // ten extra columns are the most a file may have
    TWeather w;
    w.LoadAll(WriteFile("ten", HEADER + "1\t45\t2001\t1\t1\t2\t3\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\n"));
    EXPECT_DOUBLE_EQ(GetWeatherDayDataAt(w.Year(0).GetDay(1), 12), 10.0);
}

// The lines of a station-year follow each other: one met again after other lines would be read as
// a second station-year that fits never use. A file sorted by day, then station, stops at once.
TEST_F(WeatherFile, AStationYearMetAgainIsRefusedAtItsLine) {
    const struct {
        const char* name;
        std::string content;
        std::string message; // "@" stands for the file's path
    } cases[] = {
        {"byday",
         HEADER + DayLine(1, 2001, 1) + DayLine(2, 2001, 1) + DayLine(1, 2001, 2) + DayLine(2, 2001, 2),
         "Error : station 1, year 2001 appears again in the meteo file \"@\" at line 4 after the lines of "
         "another station-year (it begins at line 2); the lines of a station-year must follow each other."},
        {"interrupted",
         HEADER + DayLine(1, 2001, 1) + DayLine(1, 2001, 2) + DayLine(1, 2002, 1) + "\n" +
             DayLine(1, 2001, 3),
         "Error : station 1, year 2001 appears again in the meteo file \"@\" at line 6 after the lines of "
         "another station-year (it begins at line 2); the lines of a station-year must follow each other."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = WriteFile(c.name, c.content);
        std::string want = c.message;
        want.replace(want.find('@'), 1, path);
        EXPECT_EQ(ErrorText([&] { TWeather().LoadAll(path); }), want);
    }
}

TEST_F(WeatherFile, UnreadableFileIsNamedAndKeepsTheLoadedData) {
    TWeather w;
    w.LoadAll(WriteFile("good.txt", HEADER + DayLine(1, 2001, 1)));
    const std::string missing = (dir_ / "nope.txt").string();
    EXPECT_EQ(ErrorText([&] { w.LoadAll(missing); }),
              "Error : cannot open the meteo file \"" + missing + "\".");
    EXPECT_EQ(ErrorText([&] { w.LoadAll(dir_.string()); }),
              "Error : cannot read the meteo file \"" + dir_.string() + "\".");
    EXPECT_THROW(w.LoadAll(WriteFile("bad.txt", HEADER + DayLine(2, 2002, 1) + "1 2 3\n")), EOrvexError);
    ASSERT_EQ(w.NbYears(), 1);
    EXPECT_EQ(w.Year(0).year, 2001);
}

// A station-year is met once in a climate file. Rows of every provenance of a station share it;
// a row whose station lacks the year has none, though another station has that year.
TEST_F(WeatherFile, LoadAndPhenoLinksRowsByStationAndYearWhateverTheirProvenance) {
    const std::string path =
        WriteFile("p.txt", HEADER + Years(1, 2001, 2002) + Years(2, 2001, 2001) + Years(3, 2002, 2002));
    TRPhenoInfos pheno;
    for (auto [sta, prov, year] :
         {std::tuple{1, 1, 2002}, {2, 1, 2001}, {1, 1, 2001}, {1, 2, 2001}, {1, 1, 1999}, {3, 1, 2001}})
        pheno.tabPheno.push_back(TRPhenoData{sta, prov, year, {}});
    TWeather w;
    w.LoadAndPheno(path, pheno);
    EXPECT_EQ(pheno.weatherPTR, &w);
    EXPECT_EQ(pheno.tabWeatherIdx, (std::vector<int>{1, 2, 0, 0, -1, -1}));
}

TEST_F(WeatherFile, LoadAndT0LinksYearsOfAnyStationOrNamesTheMissingYear) {
    const std::string path = WriteFile("t.txt", HEADER + Years(2, 2001, 2001) + Years(1, 2001, 2002));
    TRSimInfo sim;
    for (int y : {2002, 2001})
        sim.Years.push_back(TRSimYear{y, -1, {}});
    TWeather w;
    w.LoadAndT0(path, sim);
    EXPECT_EQ(sim.Years[0].wea_id, 2);
    EXPECT_EQ(sim.Years[1].wea_id, 0);

    sim.Years.push_back(TRSimYear{1999, -1, {}});
    sim.Years[0].wea_id = 7;
    EXPECT_EQ(ErrorText([&] { w.LoadAndT0(path, sim); }),
              "Error : t0 year \"1999\" not found in Climatic file.");
    EXPECT_EQ(sim.Years[0].wea_id, 7); // left as it was
}
