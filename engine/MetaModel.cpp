#include "MetaModel.h"

#include <algorithm>

#include "NumberText.h"
#include "OrvexError.h"
#include "WeatherUtils.h"

void TMetaModel::Initialize(int dmax_missing_temp, const TRPhenoInfos& dpheno) {
    maxMissingTemp_ = dmax_missing_temp;
    Pheno = dpheno;
    Wea = nullptr;
    if (Pheno.weatherPTR != nullptr) BuildClimateCache(*Pheno.weatherPTR);
    initialized = true;
}

void TMetaModel::Initialize(int dmax_missing_temp, const TWeather& wea) {
    maxMissingTemp_ = dmax_missing_temp;
    Pheno.weatherPTR = nullptr;
    Wea = &wea;
    BuildClimateCache(wea);
    initialized = true;
}

void TMetaModel::InitializeLike(const TMetaModel& other) {
    maxMissingTemp_ = other.maxMissingTemp_;
    Pheno = other.Pheno;
    Wea = other.Wea;
    climate_ = other.climate_;
    initialized = other.initialized;
}

void TMetaModel::BuildClimateCache(const TWeather& W) {
    climate_ = std::make_shared<const TClimateTable>(W);
}

void TMetaModel::PushPhase(std::unique_ptr<TPhase> a_phase) {
    a_phase->ownerModel = this;
    for (const auto& f : a_phase->functions)
        FunctionsArr.push_back(f.get());
    PhasesArr.push_back(std::move(a_phase));
    DatePredictedArr.push_back(MISSING);
}

void TMetaModel::PopPhase() {
    if (PhasesArr.empty()) return;
    for (const auto& f : PhasesArr.back()->functions)
        FunctionsArr.erase(std::remove(FunctionsArr.begin(), FunctionsArr.end(), f.get()),
                           FunctionsArr.end());
    PhasesArr.pop_back();
    DatePredictedArr.pop_back();
}

std::unique_ptr<TModelFunction> TMetaModel::UpdateFunctionAt(int phase_num, int phase_pos,
                                                             std::unique_ptr<TModelFunction> func) {
    if (phase_num < 0 || phase_num >= GetNbPhases())
        throw EOrvexError("The model has no phase " + IntToStr(phase_num + 1));
    TFunctionList& list = PhasesArr[static_cast<std::size_t>(phase_num)]->functions;
    if (phase_pos < 0 || phase_pos >= static_cast<int>(list.size()))
        throw EOrvexError("Phase " + IntToStr(phase_num + 1) + " has no function " + IntToStr(phase_pos + 1));
    auto& slot = list[static_cast<std::size_t>(phase_pos)];
    std::replace(FunctionsArr.begin(), FunctionsArr.end(), slot.get(), func.get());
    std::swap(slot, func);
    return func;
}

void TMetaModel::SortFunctions() {
    FunctionsArr.clear();
    for (const auto& ph : PhasesArr)
        for (const auto& f : ph->functions)
            FunctionsArr.push_back(f.get());
}

std::unique_ptr<TMetaModel> TMetaModel::Clone() const {
    auto c = std::make_unique<TMetaModel>();
    c->name = name;
    c->Wea = Pheno.weatherPTR;
    for (const auto& ph : PhasesArr)
        c->PushPhase(ph->Clone());
    return c;
}

std::string TMetaModel::ToStringHeader() const {
    std::string s = "station_code\tyear";
    for (int k = 0; k < GetNbPhases(); ++k)
        s += "\tpredicted " + IntToStr(k);
    return s;
}

std::string TMetaModel::ToString(const TWeather& W, int i_obs) const {
    if (i_obs < 0 || i_obs >= W.NbYears()) throw EOrvexError("There is no climate year " + IntToStr(i_obs));
    // The station-year itself, not its day 1, which the file may lack.
    const TWeatherYear& y = W.Year(i_obs);
    std::string s = IntToStr(y.station) + "\t" + IntToStr(y.year);
    for (double date : DatePredictedArr)
        s += "\t" + FormatFloat("0.#", date);
    return s;
}

TRSimulationResult TMetaModel::ToSimResult(const TRPhenoData& real_data) const {
    TRSimulationResult r;
    r.station_code = real_data.station;
    r.provenance = real_data.provenance;
    r.year = real_data.year;
    for (std::size_t i = 0; i < PhasesArr.size(); ++i) {
        TRResult v;
        v.predicted = DatePredictedArr[i];
        const int c = PhasesArr[i]->phenoDataColumn;
        if (c >= 0) {
            if (c >= static_cast<int>(real_data.dates.size()))
                throw EOrvexError("Phase " + IntToStr(static_cast<long long>(i) + 1) +
                                  " reads phenology column " + IntToStr(c + 4) +
                                  ", which the data does not have");
            v.observed = real_data.dates[static_cast<std::size_t>(c)].date;
            v.used_to_fit = real_data.dates[static_cast<std::size_t>(c)].fits == 1;
        }
        r.values.push_back(v);
    }
    return r;
}

std::vector<TRSimulationResult> TMetaModel::SaveSimResults(const TRPhenoInfos& pheno) {
    std::vector<TRSimulationResult> list;
    // A row without its T0 runs on the model's own T0, as the objective scores it, not on the
    // previous row's.
    std::vector<double> ownT0;
    for (const auto& ph : PhasesArr)
        ownT0.push_back(ph->t0);
    const auto restore = [&] {
        for (std::size_t i = 0; i < PhasesArr.size(); ++i)
            PhasesArr[i]->SetT0(ownT0[i]);
    };
    try {
        for (int k = 0; k < pheno.nb_obs(); ++k) {
            const TRPhenoData& row = pheno.tabPheno[static_cast<std::size_t>(k)];
            for (std::size_t i = 0; i < PhasesArr.size(); ++i) {
                TPhase& ph = *PhasesArr[i];
                if (ph.t0Mode != TPhaseT0Mode::PickedFromPheno) continue;
                const int c = ph.t0DataColumn;
                if (c < 0 || c >= static_cast<int>(row.dates.size()))
                    throw EOrvexError("Phase " + IntToStr(ph.index + 1) +
                                      " takes its T0 from a phenology column the data does not have");
                const double t0 = row.dates[static_cast<std::size_t>(c)].date;
                ph.SetT0(t0 != MISSING ? t0 : ownT0[i]);
            }
            Run(k);
            list.push_back(ToSimResult(row));
        }
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return list;
}
