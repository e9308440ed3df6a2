#include "MyMetropolis.h"

#include "MetaModel.h"
#include "NumberText.h"
#include "OrvexError.h"

namespace {

TRPhenoDate& DateAt(TRPhenoData& row, int column, int rowNumber) {
    if (column < 0)
        throw EOrvexError("A phase picks its T0 from the phenology data but names no column for it");
    if (column >= static_cast<int>(row.dates.size()))
        throw EOrvexError("Phenology row " + IntToStr(rowNumber) + " has no column " + IntToStr(column + 4) +
                          " although the model reads a date there");
    return row.dates[static_cast<std::size_t>(column)];
}

} // namespace

TMyMetropolis::TMyMetropolis(TMetaModel& p_model, const TWeather& p_wea, TRPhenoInfos& p_pheno,
                             const TRFitInfo& p_fit, int p_missing_threshold, int p_fit_left_id)
    : model_(p_model), wea_(p_wea), pheno_(p_pheno), fit_(p_fit), missing_threshold_(p_missing_threshold),
      fitLeftID_(p_fit_left_id) {
    phenoRowOfFit_.reserve(fit_.tabFit.size());
    for (const TRInfoData& fr : fit_.tabFit) {
        int found = -1;
        for (int k = 0; k < pheno_.nb_obs(); ++k) {
            const TRPhenoData& pr = pheno_.tabPheno[static_cast<std::size_t>(k)];
            if (pr.station == fr.station && pr.provenance == fr.provenance && pr.year == fr.year) {
                found = k;
                break;
            }
        }
        phenoRowOfFit_.push_back(found);
    }
}

void TMyMetropolis::SetModelParameters(const TRFunctionDesc& fd) {
    model_.setParameters(fd);
}

double TMyMetropolis::f(const TRFunctionDesc& fd) {
    double sumsquare = 0.0;
    const int nbPhases = model_.GetNbPhases();
    for (int p = 1; p <= fit_.nb_fit(); ++p) {
        const int k = phenoRowOfFit_[static_cast<std::size_t>(p - 1)];
        if (k < 0)
            throw EOrvexError("Failure : station(s) in the fit information file is(are) missing in the "
                              "phenology data file or in wrong order...");
        TRPhenoData& row = pheno_.tabPheno[static_cast<std::size_t>(k)];
        if (row.dates.empty()) continue;

        model_.setParameters(fd);
        for (const auto& phase : model_.PhasesArr) {
            if (phase->t0Mode != TPhaseT0Mode::PickedFromPheno) continue;
            const double t0 = DateAt(row, phase->t0DataColumn, k + 1).date;
            // A missing T0 on this row leaves the one just written from the parameter vector.
            if (t0 != MISSING) phase->SetT0(t0);
        }
        model_.Run(k);
        // The row's own run decides: a run with too many missing temperatures is not scored.
        if (model_.GetNbMissingTemp() > missing_threshold_) continue;

        for (int j = 0; j < nbPhases; ++j) {
            const TPhase& phase = *model_.PhasesArr[static_cast<std::size_t>(j)];
            const int c = phase.phenoDataColumn;
            if (c < 0) continue;
            TRPhenoDate& obs = DateAt(row, c, k + 1);
            if (p == fitLeftID_) {
                obs.fits = 0;
            } else if (phase.usedToFit) {
                double deviance = 0.0;
                if (obs.date != MISSING) {
                    obs.fits = 1;
                    deviance = model_.DatePredictedArr[static_cast<std::size_t>(j)] - obs.date;
                }
                sumsquare += deviance * deviance;
            }
        }
    }
    return -sumsquare;
}
