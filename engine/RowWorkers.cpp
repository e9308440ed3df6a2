#include "RowWorkers.h"

#include "MetaModel.h"
#include "RowPool.h"

TRowWorkers::TRowWorkers(const TMetaModel& model, int workers) {
    for (int w = 0; w < workers; ++w) {
        auto copy = model.Clone();
        copy->SortFunctions();
        copy->generalDayLoopOnly = model.generalDayLoopOnly;
        copy->InitializeLike(model); // one climate table for all
        copies.push_back(std::move(copy));
    }
    pool = std::make_unique<TRowPool>(workers);
}

TRowWorkers::~TRowWorkers() = default;
