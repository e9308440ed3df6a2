#include "Repetition.h"

#include "OrvexError.h"
#include "RepetitionTable.h"

TRepetition::TRepetition(int an_id, std::string ref_model_type)
    : id(an_id), modelType(std::move(ref_model_type)) {
    moindCarrD.best_overall_result = -1e10;
}

void TRepetition::ComputeStats() {
    if (nbFitObsTot == 0 || SStot == 0.0)
        throw EOrvexError("The statistics of repetition " + std::to_string(id) + " need scored observations");
    SSres = -moindCarrD.best_result;
    RMSE = SSres / nbFitObsTot;
    EFF = (SStot - SSres) / SStot;
}

void TRepetition::GetModelSnapShot(const TMetaModel& model) {
    snapShotModel = model.Clone();
}

THashtable TRepetition::ToStringHashtable() const {
    TRInfoTableInput in;
    in.modelType = modelType;
    in.fd = &moindCarrD;
    if (snapShotModel != nullptr) {
        for (const auto& phase : snapShotModel->PhasesArr)
            in.t0NotFitted.push_back(phase->t0Mode == TPhaseT0Mode::PickedFromPrevPhase ||
                                     phase->t0Mode == TPhaseT0Mode::PickedFromPheno);
        if (snapShotModel->Wea != nullptr) in.climateHeader = &snapShotModel->Wea->dataHeader;
    }
    in.functions = &functionsList;
    in.settings = settings.get();
    in.SStot = SStot;
    in.SSres = SSres;
    in.RMSE = RMSE;
    in.EFF = EFF;
    in.nbObs = nbFitObsTot;
    return BuildInfoTable(in);
}

std::string TRepetition::ToStringStats(const std::string& title) const {
    return TableStatsText(ToStringHashtable(), title);
}

std::string TRepetition::ToStringParameters(const std::string& title) const {
    return TableParametersText(ToStringHashtable(), title);
}

std::string TRepetition::ToString() const {
    return ToStringStats("") + "\n\n" + ToStringParameters("");
}
