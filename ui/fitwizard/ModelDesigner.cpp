#include "ModelDesigner.h"

TModelDesigner::TModelDesigner() : model_(std::make_unique<TMetaModel>()) {}

TMetaModel& TModelDesigner::Model() {
    return *model_;
}

const TMetaModel& TModelDesigner::Model() const {
    return *model_;
}

std::unique_ptr<TMetaModel> TModelDesigner::TakeModel() {
    auto taken = std::move(model_);
    model_ = std::make_unique<TMetaModel>();
    return taken;
}

void TModelDesigner::ReplaceModel(std::unique_ptr<TMetaModel> model) {
    model_ = model ? std::move(model) : std::make_unique<TMetaModel>();
}

std::string TModelDesigner::CheckPhaseCount() const {
    const int n = model_->GetNbPhases();
    if (n == 0 || (n == 1 && !model_->PhasesArr[0]->usedToFit))
        return "Please, configure correctly at least one phase !";
    return {};
}

std::string TModelDesigner::CheckHourlyConversion() const {
    return {};
}
