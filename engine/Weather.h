#pragma once
// Daily climate data of one run: every station-year of a climate file.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "MathUtils.h"
#include "OrvexRawTypes.h"

inline constexpr int MAX_USER_VALUES = 10;
using TDoubleArr = std::array<double, MAX_USER_VALUES>;

struct TRWeatherDay {
    int _sta = 0;
    double _lat = 0.0;
    int _yea = 0;
    int _doy = 0;
    double _tmp = 0.0; // mean
    double _tmn = 0.0; // minimum
    double _tmx = 0.0; // maximum
    double _tmu = 0.0; // free input value, set only by the function playground
    TDoubleArr _user{};
    int _nb_user = 0;
};

TRWeatherDay CreateMissingWeatherDay();
TRWeatherDay CreateWeatherDay(const TDoubleArr& user, int nb_user, double sta, double lat, double yea,
                              double doy, double tmp, double tmn, double tmx);
// Column 0 mean, 1 minimum, 2 maximum, 3.. the extra values; anything else -9999.
// Inline: the daily run reads one column per function and day.
inline double GetWeatherDayDataAt(const TRWeatherDay& wd, int col) {
    switch (col) {
    case 0:
        return wd._tmp;
    case 1:
        return wd._tmn;
    case 2:
        return wd._tmx;
    default:
        if (col >= 3 && col - 3 < wd._nb_user) return wd._user[static_cast<std::size_t>(col - 3)];
        return MISSING;
    }
}

class TWeather;
class TWeatherYear;

// Temperature of day i of a station-year at an hour.
using TInterpolationFunc = double (*)(const TWeatherYear& Wi, int i, int heure);

struct TTempHourFunc {
    TTempHourFunc(TInterpolationFunc int_func, std::string func_name)
        : interpolationFunc(int_func), name(std::move(func_name)) {}
    TInterpolationFunc interpolationFunc;
    std::string name; // "tempheur" or "tempheur_shark"
};

// The columns of one station-year, read without the station-year object.
struct TWeatherColumns {
    const double* values = nullptr;
    int numDays = 0;
    int nbColumns = 0; // mean, minimum, maximum and the extra values
    // Value(col, i) for i in 1..numDays at [i - 1]; null for a column the year does not have.
    const double* Column(int col) const {
        if (values == nullptr || col < 0 || col >= nbColumns) return nullptr;
        return values + static_cast<std::ptrdiff_t>(col + 1) * numDays;
    }
};

class TWeatherYear {
public:
    TWeatherYear(int yearIn, int stationIn, int indexIn, const TWeather* parentIn);

    // Day i; days before 1 or after numDays come from the same station's neighbouring
    // years when the file holds them, else the missing day.
    TRWeatherDay GetDay(int i) const;
    // Stores day i when 1 <= i <= numDays; other days are not stored.
    void SetDay(int i, const TRWeatherDay& wday);
    // The same from the values of a file line: nbUser extra values at user.
    void SetValues(int i, double lat, double tmp, double tmn, double tmx, const double* user, int nbUser);

    // The station-year that holds day i, with i counted in it; null when the walk over the
    // neighbouring years leaves the data.
    const TWeatherYear* Locate(int& i) const;
    // Day i of this year, 1 <= i <= numDays: the stored day or the missing day.
    TRWeatherDay Record(int i) const;
    // GetWeatherDayDataAt(Record(i), col) without the record.
    double Value(int col, int i) const {
        if (col < 0 || col >= BASE_COLUMNS + nbExtra_) return MISSING;
        return values_[static_cast<std::size_t>(Offset(col) + i - 1)];
    }

    TWeatherColumns Columns() const { return {values_.data(), numDays, BASE_COLUMNS + nbExtra_}; }
    // Value(col, ...) of day i found as GetDay finds it.
    double DayValue(int col, int i) const {
        return i >= 1 && i <= numDays ? Value(col, i) : ValueAway(col, i);
    }

    int numDays;
    int year;
    int station; // the station of every day of this year
    int index;   // position in the owning TWeather, from 0
    const TWeather* parent;

private:
    static constexpr int BASE_COLUMNS = 3; // mean, minimum, maximum; then the extra values
    // Column col of the climate values, or the latitudes for col -1, starts here.
    int Offset(int col) const { return (col + 1) * numDays; }
    void GrowExtras(int nb);
    double ValueAway(int col, int i) const;

    int nbExtra_ = 0;
    // One column per value, numDays long: latitude, mean, minimum, maximum, extras. Absent
    // days and values hold -9999.
    std::vector<double> values_;
    std::vector<signed char> nbUser_; // per day: its extra values, -1 for an absent day
};

class TWeather {
public:
    TWeather() = default;
    // Station-years point back at their TWeather: it never moves.
    TWeather(const TWeather&) = delete;
    TWeather& operator=(const TWeather&) = delete;

    // Reads a climate file; raises EOrvexError naming the file and the line on bad input.
    void LoadAll(const std::string& fileName);
    // LoadAll, then links each phenology row to the station-year of its station and year (-1:
    // none), whatever its provenance.
    void LoadAndPheno(const std::string& fileName, TRPhenoInfos& pheno);
    // LoadAll, then links each T0 year to the first station-year of that year, any station.
    void LoadAndT0(const std::string& fileName, TRSimInfo& sim_info);

    const TWeatherYear& Year(int i) const { return *years[static_cast<std::size_t>(i)]; }
    int NbYears() const { return static_cast<int>(years.size()); }

    std::vector<std::unique_ptr<TWeatherYear>> years; // file order
    std::vector<std::string> dataHeader;
};
