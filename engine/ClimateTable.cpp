#include "ClimateTable.h"

#include <algorithm>

#include "WeatherUtils.h"

TClimateTable::TClimateTable(const TWeather& W) : weather_(&W) {
    years_.assign(static_cast<std::size_t>(W.NbYears()), YearDays{});
    for (int y = 0; y < W.NbYears(); ++y) {
        YearDays& yd = years_[static_cast<std::size_t>(y)];
        yd.year = &W.Year(y);
        for (int d = FIRST_RUN_DAY; d <= LAST_RUN_DAY + 1; ++d) {
            const std::size_t slot = static_cast<std::size_t>(d - FIRST_RUN_DAY);
            int at = d;
            yd.src[slot] = yd.year->Locate(at);
            yd.at[slot] = static_cast<short>(at);
        }
        for (int d = FIRST_RUN_DAY; d <= LAST_RUN_DAY + 1; ++d) {
            const std::size_t slot = static_cast<std::size_t>(d - FIRST_RUN_DAY);
            auto* last =
                yd.nbSegments > 0 ? &yd.segments[static_cast<std::size_t>(yd.nbSegments - 1)] : nullptr;
            if (last != nullptr && yd.src[slot] == yd.src[slot - 1] && yd.at[slot] == yd.at[slot - 1] + 1) {
                last->to = d;
                continue;
            }
            if (yd.nbSegments == static_cast<int>(yd.segments.size())) {
                yd.nbSegments = 0;
                break;
            }
            auto& seg = yd.segments[static_cast<std::size_t>(yd.nbSegments++)];
            seg.from = seg.to = d;
            seg.at0 = yd.at[slot];
            seg.columns = yd.src[slot] != nullptr ? yd.src[slot]->Columns() : TWeatherColumns{};
        }
        yd.lat = yd.year->GetDay(1)._lat;
        if (yd.lat == MISSING) continue;
        yd.dayLength365 = DayLength(365, yd.lat);
        yd.dayLength172 = DayLength(172, yd.lat);
        const auto it = std::find(dayLengthLats_.begin(), dayLengthLats_.end(), yd.lat);
        yd.dayLengthTab = static_cast<int>(it - dayLengthLats_.begin());
        if (it == dayLengthLats_.end()) {
            dayLengthLats_.push_back(yd.lat);
            auto& tab = dayLengths_.emplace_back();
            for (int doy = 1; doy <= 366; ++doy)
                tab[static_cast<std::size_t>(doy)] = DayLength2(doy, yd.lat);
        }
    }
}

double TClimateTable::DayLengthOf(const YearDays& yd, const TRWeatherDay& wd) const {
    if (yd.dayLengthTab >= 0 && wd._lat == yd.lat && wd._doy >= 1 && wd._doy <= 366)
        return dayLengths_[static_cast<std::size_t>(yd.dayLengthTab)][static_cast<std::size_t>(wd._doy)];
    return DayLength2(wd._doy, wd._lat);
}
