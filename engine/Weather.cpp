#include "Weather.h"

#include <algorithm>
#include <cmath>

#include "WeatherUtils.h"

TRWeatherDay CreateMissingWeatherDay() {
    TRWeatherDay d;
    d._sta = d._yea = d._doy = MISSING_INT;
    d._lat = d._tmp = d._tmn = d._tmx = d._tmu = MISSING;
    d._nb_user = 0;
    return d;
}

TRWeatherDay CreateWeatherDay(const TDoubleArr& user, int nb_user, double sta, double lat, double yea,
                              double doy, double tmp, double tmn, double tmx) {
    TRWeatherDay d;
    d._sta = static_cast<int>(std::nearbyint(sta));
    d._lat = lat;
    d._yea = static_cast<int>(std::nearbyint(yea));
    d._doy = static_cast<int>(std::nearbyint(doy));
    d._tmp = tmp;
    d._tmn = tmn;
    d._tmx = tmx;
    d._user = user;
    d._nb_user = nb_user;
    return d;
}

TWeatherYear::TWeatherYear(int yearIn, int stationIn, int indexIn, const TWeather* parentIn)
    : numDays(GetNbDays(yearIn)), year(yearIn), station(stationIn), index(indexIn), parent(parentIn),
      values_(static_cast<std::size_t>((BASE_COLUMNS + 1) * numDays), MISSING),
      nbUser_(static_cast<std::size_t>(numDays), -1) {}

namespace {
// Widened: a year at the end of the int range has no neighbour, rather than an overflow.
bool IsYearBefore(const TWeatherYear& before, const TWeatherYear& after) {
    return before.station == after.station && static_cast<long long>(before.year) + 1 == after.year;
}
} // namespace

const TWeatherYear* TWeatherYear::Locate(int& i) const {
    // Iterative walk over neighbouring years of the same station.
    const TWeatherYear* y = this;
    while (true) {
        if (i >= 1 && i <= y->numDays) return y;
        const TWeatherYear* next = nullptr;
        if (y->parent != nullptr) {
            if (i < 1 && y->index > 0) {
                const TWeatherYear& p = y->parent->Year(y->index - 1);
                if (IsYearBefore(p, *y)) next = &p;
                if (next) i += next->numDays;
            } else if (i > y->numDays && y->index + 1 < y->parent->NbYears()) {
                const TWeatherYear& n = y->parent->Year(y->index + 1);
                if (IsYearBefore(*y, n)) next = &n;
                if (next) i -= y->numDays;
            }
        }
        if (next == nullptr) return nullptr;
        y = next;
    }
}

TRWeatherDay TWeatherYear::Record(int i) const {
    const signed char nbUser = nbUser_[static_cast<std::size_t>(i - 1)];
    if (nbUser < 0) return CreateMissingWeatherDay();
    TRWeatherDay d;
    d._sta = station;
    d._lat = values_[static_cast<std::size_t>(Offset(-1) + i - 1)];
    d._yea = year;
    d._doy = i;
    d._tmp = Value(0, i);
    d._tmn = Value(1, i);
    d._tmx = Value(2, i);
    d._nb_user = nbUser;
    for (int k = 0; k < nbUser; ++k)
        d._user[static_cast<std::size_t>(k)] = Value(BASE_COLUMNS + k, i);
    return d;
}

double TWeatherYear::ValueAway(int col, int i) const {
    const TWeatherYear* y = Locate(i);
    return y != nullptr ? y->Value(col, i) : MISSING;
}

TRWeatherDay TWeatherYear::GetDay(int i) const {
    const TWeatherYear* y = Locate(i);
    return y != nullptr ? y->Record(i) : CreateMissingWeatherDay();
}

void TWeatherYear::GrowExtras(int nb) {
    if (nb <= nbExtra_) return;
    values_.resize(static_cast<std::size_t>((BASE_COLUMNS + 1 + nb) * numDays), MISSING);
    nbExtra_ = nb;
}

void TWeatherYear::SetValues(int i, double lat, double tmp, double tmn, double tmx, const double* user,
                             int nbUser) {
    if (i < 1 || i > numDays) return;
    nbUser = std::clamp(nbUser, 0, MAX_USER_VALUES);
    GrowExtras(nbUser);
    const std::size_t at = static_cast<std::size_t>(i - 1);
    values_[static_cast<std::size_t>(Offset(-1)) + at] = lat;
    values_[static_cast<std::size_t>(Offset(0)) + at] = tmp;
    values_[static_cast<std::size_t>(Offset(1)) + at] = tmn;
    values_[static_cast<std::size_t>(Offset(2)) + at] = tmx;
    for (int k = 0; k < nbExtra_; ++k)
        values_[static_cast<std::size_t>(Offset(BASE_COLUMNS + k)) + at] = k < nbUser ? user[k] : MISSING;
    nbUser_[at] = static_cast<signed char>(nbUser);
}

void TWeatherYear::SetDay(int i, const TRWeatherDay& wday) {
    if (wday._sta == MISSING_INT) {
        // The missing day: the day becomes absent.
        if (i < 1 || i > numDays) return;
        for (int c = -1; c < BASE_COLUMNS + nbExtra_; ++c)
            values_[static_cast<std::size_t>(Offset(c) + i - 1)] = MISSING;
        nbUser_[static_cast<std::size_t>(i - 1)] = -1;
        return;
    }
    SetValues(i, wday._lat, wday._tmp, wday._tmn, wday._tmx, wday._user.data(), wday._nb_user);
}
