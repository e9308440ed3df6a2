#include "Phase.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"
#include "WeatherUtils.h"

TPhase::TPhase(TMetaModel* owner, TFunctionList funcs, int idx)
    : index(idx), ownerModel(owner), functions(std::move(funcs)),
      overlapFunc(TModelFunction::GetFunction(TAvailableFunctions::Negative_Exponential)),
      t0Mode(idx == 0 ? TPhaseT0Mode::Fitted : TPhaseT0Mode::PickedFromPrevPhase) {
    calculateCoeffSStar();
}

void TPhase::calculateCoeffSStar() {
    // Several hourly functions with large coefficients would overflow an int: the product
    // saturates instead, which only widens the S* range such a phase is offered.
    long long coeff = 1;
    for (std::size_t j = 0; j < functions.size(); ++j) {
        TModelFunction& f = *functions[j];
        f.SetIndices(index, static_cast<int>(j));
        if (f.tempHour) coeff *= 24;
        coeff *= f.coeffCrit;
        coeff =
            std::clamp<long long>(coeff, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }
    coeffSStar = static_cast<int>(coeff);
}

int TPhase::InitStartingDate(const TWeather& W, int W_idx) const {
    if (W_idx < 0 || W_idx >= W.NbYears())
        throw EOrvexError("Phase " + IntToStr(index + 1) + ": there is no climate year " + IntToStr(W_idx));
    const double lat = W.Year(W_idx).GetDay(1)._lat;
    if (photoperiodMode == TPhotoperiodMode::No || lat == MISSING) return StartingDay(lat, 0.0, 0.0);
    return StartingDay(lat, DayLength(365, lat), DayLength(172, lat));
}

int TPhase::PhotoperiodStartOrRaise(double aT0, double lat, double dayLength365, double dayLength172) const {
    double start = 0.0;
    if (photoperiodMode == TPhotoperiodMode::No) {
        start = std::nearbyint(aT0);
    } else {
        if (lat == MISSING)
            throw EOrvexError("Error : the option \"Convert T0 to a photoperiod\" requires \r\nto specify "
                              "the latitudes in the "
                              "meteo file...\r\nFit aborted !");
        // A day length the year never reaches is brought to the nearest one it does. Day 365
        // holds the shortest day in the north and the longest in the south.
        const double shortest = std::min(dayLength365, dayLength172);
        const double longest = std::max(dayLength365, dayLength172);
        double dayLength = aT0;
        if (shortest > dayLength)
            dayLength = std::nearbyint(shortest);
        else if (longest < dayLength)
            dayLength = std::nearbyint(longest);
        start = std::nearbyint(DOY(lat, dayLength, photoperiodMode == TPhotoperiodMode::YesIncreasing));
    }
    if (!(start >= FIRST_RUN_DAY && start <= LAST_RUN_DAY))
        throw EOrvexError("Phase " + IntToStr(index + 1) + ": the starting day " + FloatToStrGeneral(start) +
                          " lies outside -365..365");
    return static_cast<int>(start);
}

void TPhase::FixT0(double value) {
    t0Mode = TPhaseT0Mode::Fixed;
    t0 = value;
}

void TPhase::PushFunction(std::unique_ptr<TModelFunction> a_func) {
    a_func->SetIndices(index, static_cast<int>(functions.size()));
    TModelFunction* f = a_func.get();
    functions.push_back(std::move(a_func));
    if (ownerModel != nullptr) ownerModel->FunctionsArr.push_back(f);
    calculateCoeffSStar();
}

void TPhase::PopFunction() {
    if (functions.empty()) return;
    TModelFunction* f = functions.back().get();
    if (ownerModel != nullptr) {
        auto& all = ownerModel->FunctionsArr;
        all.erase(std::remove(all.begin(), all.end(), f), all.end());
    }
    functions.pop_back();
    calculateCoeffSStar();
}

std::unique_ptr<TPhase> TPhase::Clone() const {
    auto c = std::make_unique<TPhase>(nullptr, TFunctionList{}, index);
    c->t0Mode = t0Mode;
    c->t0 = t0;
    c->photoperiodMode = photoperiodMode;
    if (tempHourFunction)
        c->tempHourFunction =
            std::make_unique<TTempHourFunc>(tempHourFunction->interpolationFunc, tempHourFunction->name);
    c->coeffSStar = coeffSStar;
    c->sStarFixed = sStarFixed;
    c->sStar = sStar;
    c->phaseLinkMode = phaseLinkMode;
    c->usedToFit = usedToFit;
    c->phenoDataColumn = phenoDataColumn;
    c->t0DataColumn = t0DataColumn;
    c->overlapFunc = overlapFunc->Clone();
    for (const auto& f : functions)
        c->PushFunction(f->Clone());
    return c;
}
