#pragma once
// Hand-built climate data and models for the model tests.

#include <cstring>
#include <memory>
#include <string>

#include "MetaModel.h"
#include "ModelsFuncLib.h"

namespace fixture {

// Equal to the bit: a faster path must give what the plain one gives, not nearly so.
inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Station 1, one year per call, every day's mean temperature `tmp`, minimum tmp - 5, maximum tmp + 5.
inline void AddYear(TWeather& W, int year, double tmp, double lat = 45.0, int station = 1) {
    const int index = W.NbYears();
    auto y = std::make_unique<TWeatherYear>(year, station, index, &W);
    for (int d = 1; d <= y->numDays; ++d) {
        TDoubleArr user{};
        user[0] = 1.0;
        y->SetDay(d, CreateWeatherDay(user, 1, station, lat, year, d, tmp, tmp - 5, tmp + 5));
    }
    W.years.push_back(std::move(y));
}

// Day d of station-year y to edit: the edited day is stored when the handle goes.
class DayEdit : public TRWeatherDay {
public:
    DayEdit(TWeatherYear& y, int d) : TRWeatherDay(y.GetDay(d)), year_(y), d_(d) {}
    DayEdit(const DayEdit&) = delete;
    ~DayEdit() { year_.SetDay(d_, *this); }
    TRWeatherDay& Ref() { return *this; }
    DayEdit& operator=(const TRWeatherDay& wd) {
        TRWeatherDay::operator=(wd);
        return *this;
    }

private:
    TWeatherYear& year_;
    int d_;
};

inline DayEdit Day(TWeather& W, int y, int d) {
    return DayEdit(*W.years[static_cast<std::size_t>(y)], d);
}

// A function of a kind reading a climate column (0 mean temperature, 3 the first extra value).
inline std::unique_ptr<TModelFunction> Func(const char* kind, int column = 0,
                                            TVarLinkMode mode = TVarLinkMode::Multiplicative) {
    auto f = TModelFunction::GetFunction(kind);
    f->SetWeatherDataColumn(column);
    f->varLinkMode = mode;
    return f;
}

// A phase with one Identity function on the mean temperature: its daily value is that temperature.
inline std::unique_ptr<TPhase> IdentityPhase(int index, double t0, double sStar,
                                             TPhaseT0Mode mode = TPhaseT0Mode::Fitted) {
    auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, index);
    ph->PushFunction(Func("Identity"));
    ph->t0Mode = mode;
    ph->t0 = t0;
    ph->sStar = sStar;
    ph->usedToFit = false;
    return ph;
}

// Phenology rows, one per climate year, each with the given observed dates.
inline TRPhenoInfos Pheno(TWeather& W, std::initializer_list<std::initializer_list<double>> rows) {
    TRPhenoInfos p;
    p.weatherPTR = &W;
    int k = 0;
    for (const auto& dates : rows) {
        TRPhenoData row;
        row.station = 1;
        row.year = W.years[static_cast<std::size_t>(k)]->year;
        for (double d : dates)
            row.dates.push_back({d, 0});
        p.tabPheno.push_back(row);
        p.tabWeatherIdx.push_back(k++);
    }
    return p;
}

} // namespace fixture
