#include "Weather.h"

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
      MISSING_WD(CreateMissingWeatherDay()) {
    days_.fill(MISSING_WD);
}

namespace {
// Widened: a year at the end of the int range has no neighbour, rather than an overflow.
bool IsYearBefore(const TWeatherYear& before, const TWeatherYear& after) {
    return before.station == after.station && static_cast<long long>(before.year) + 1 == after.year;
}
} // namespace

const TRWeatherDay& TWeatherYear::GetDay(int i) const {
    // Iterative walk over neighbouring years of the same station.
    const TWeatherYear* y = this;
    while (true) {
        if (i >= 1 && i <= y->numDays) return y->days_[static_cast<std::size_t>(i - 1)];
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
        if (next == nullptr) return MISSING_WD;
        y = next;
    }
}

void TWeatherYear::SetDay(int i, const TRWeatherDay& wday) {
    if (i >= 1 && i <= numDays) days_[static_cast<std::size_t>(i - 1)] = wday;
}
