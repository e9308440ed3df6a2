#pragma once
// Threads and their copies of the model, made once and handed from pass to pass of a fit.

#include <memory>
#include <vector>

class TMetaModel;
class TRowPool;

struct TRowWorkers {
    // `workers` copies of `model`, which read its climate table, and a pool of that many workers.
    TRowWorkers(const TMetaModel& model, int workers);
    ~TRowWorkers();

    std::unique_ptr<TRowPool> pool;
    std::vector<std::unique_ptr<TMetaModel>> copies; // one per worker of the pool
};
