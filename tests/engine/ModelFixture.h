#pragma once
// Hand-built climate data and models for the model tests.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "MetaModel.h"
#include "ModelsFuncLib.h"
#include "OrvexError.h"
#include "UtilStuff.h"

namespace fixture {

// Equal to the bit: a faster path must give what the plain one gives, not nearly so.
inline bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline std::vector<std::uint64_t> Bits(const std::vector<double>& v) {
    std::vector<std::uint64_t> bits;
    for (double x : v)
        bits.push_back(std::bit_cast<std::uint64_t>(x));
    return bits;
}

// The error a call raises, or "" when it raises none.
template <class F> std::string ErrorOf(F f) {
    try {
        f();
    } catch (const EOrvexError& e) {
        return e.what();
    }
    return "";
}

// Random numbers as the random-model tests draw them.
struct Draw {
    std::mt19937& rng;
    double operator()(double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }
};

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

// Stations 1..`stations` (latitude 40 + station), years 2000.. each; `edit` sets every day.
template <class Edit> void RandomClimate(TWeather& W, int stations, int years, Edit edit) {
    for (int s = 1; s <= stations; ++s)
        for (int y = 0; y < years; ++y) {
            AddYear(W, 2000 + y, 0.0, 40.0 + s, s);
            for (int d = 1; d <= W.years.back()->numDays; ++d) {
                DayEdit wd = Day(W, W.NbYears() - 1, d);
                edit(wd, d);
            }
        }
}

// One phenology row per climate year; date c drawn in ranges[c], one in ten missing.
inline TRPhenoInfos RandomPheno(TWeather& W, Draw& uni,
                                std::initializer_list<std::pair<double, double>> ranges) {
    TRPhenoInfos p;
    p.weatherPTR = &W;
    for (int k = 0; k < W.NbYears(); ++k) {
        TRPhenoData row;
        row.station = W.Year(k).station;
        row.year = W.Year(k).year;
        for (auto [a, b] : ranges)
            row.dates.push_back({uni(0.0, 1.0) < 0.1 ? MISSING : std::floor(uni(a, b)), 1});
        p.tabPheno.push_back(row);
        p.tabWeatherIdx.push_back(k);
    }
    return p;
}

// A random chain of one to three phases, functions of every kind: mostly one-function phases (the
// fast loop), some of two functions or linked to the previous phase (the general loop), some
// hourly; some parameters fixed, some first T0s from the phenology row's column 2.
inline std::unique_ptr<TMetaModel> RandomModel(std::mt19937& rng) {
    Draw uni{rng};
    auto m = std::make_unique<TMetaModel>();
    for (int i = 0, nPhases = 1 + uni.Pick(3); i < nPhases; ++i) {
        auto ph = std::make_unique<TPhase>(nullptr, TFunctionList{}, i);
        const bool hourly = uni.Pick(6) == 0;
        if (hourly) ph->tempHourFunction = std::make_unique<TTempHourFunc>(TempHeur, "tempheur");
        for (int j = 0, n = uni.Pick(4) == 0 ? 2 : 1; j < n; ++j) {
            // Every kind: each has its own fast path to match.
            const auto kind = static_cast<TAvailableFunctions>(uni.Pick(TModelFunction::GetNbFunc()));
            auto f = Func(TModelFunction::GetFuncName(kind).c_str(), uni.Pick(5) == 0 ? uni.Pick(4) : 0,
                          static_cast<TVarLinkMode>(uni.Pick(5) == 0 ? 2 : uni.Pick(2)));
            for (int p = 0; p < f->nbOfParameters(); ++p)
                f->setParameterValue(p, uni(-5.0, 25.0));
            if (f->nbOfParameters() > 0 && uni.Pick(3) == 0) f->fixParameter(0, f->getParameterValue(0));
            f->weight = uni.Pick(3) == 0 ? uni(-1.0, 2.0) : 1.0;
            f->workWithTempHour(ph->tempHourFunction.get());
            ph->PushFunction(std::move(f));
        }
        const bool other = uni.Pick(4) == 0;
        ph->t0Mode = i == 0 ? (other ? TPhaseT0Mode::PickedFromPheno : TPhaseT0Mode::Fitted)
                            : (other ? TPhaseT0Mode::Fitted : TPhaseT0Mode::PickedFromPrevPhase);
        ph->t0DataColumn = 2;
        ph->t0 = std::floor(uni(-200.0, 150.0));
        ph->sStar = uni.Pick(8) == 0 ? std::floor(uni(0.0, 50.0)) : uni(-5.0, hourly ? 2000.0 : 400.0);
        if (i > 0 && uni.Pick(4) == 0) {
            ph->phaseLinkMode = static_cast<TPhaseLinkMode>(1 + uni.Pick(3));
            ph->overlapFunc->setParameterValue(0, uni(-0.1, 0.1));
            ph->overlapFunc->setParameterValue(1, uni(0.0, 2.0));
        }
        ph->usedToFit = uni.Pick(3) != 0;
        ph->phenoDataColumn = ph->usedToFit || uni.Pick(2) == 0 ? uni.Pick(2) : -1;
        m->PushPhase(std::move(ph));
    }
    return m;
}

} // namespace fixture
