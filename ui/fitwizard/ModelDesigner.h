#pragma once
// The rules of the model design tab, without widgets; owns the model being designed.

#include <memory>
#include <string>

#include "MetaModel.h"

class TModelDesigner {
public:
    TModelDesigner(); // holds a new empty model
    TMetaModel& Model();
    const TMetaModel& Model() const;
    // Hands the model over; the designer then holds a new empty one.
    std::unique_ptr<TMetaModel> TakeModel();
    void ReplaceModel(std::unique_ptr<TMetaModel> model);
    // Empty when the check passes, else its message.
    std::string CheckPhaseCount() const;
    std::string CheckHourlyConversion() const;

private:
    std::unique_ptr<TMetaModel> model_;
};
