#include "RowPool.h"

#include <algorithm>

TRowPool::TRowPool(int workers) {
    for (int w = 1; w < workers; ++w)
        gates_.push_back(std::make_unique<Gate>());
    // Every gate exists before a thread looks for its own.
    for (int w = 1; w < workers; ++w)
        threads_.emplace_back([this, w] { Work(w); });
}

TRowPool::~TRowPool() {
    quit_ = true;
    for (auto& g : gates_)
        g->go.release();
    for (auto& t : threads_)
        t.join();
}

void TRowPool::Drain(int worker) {
    const int rows = rows_, chunk = chunk_;
    for (int from = next_.fetch_add(chunk, std::memory_order_relaxed); from < rows;
         from = next_.fetch_add(chunk, std::memory_order_relaxed)) {
        const int to = std::min(rows, from + chunk);
        for (int row = from; row < to; ++row)
            (*job_)(worker, row);
    }
}

void TRowPool::ForEach(int rows, const std::function<void(int worker, int row)>& job, int use) {
    if (use <= 0 || use > Workers()) use = Workers();
    use = std::min(use, std::max(rows, 1));
    if (use <= 1) {
        for (int row = 0; row < rows; ++row)
            job(0, row);
        return;
    }
    job_ = &job;
    rows_ = rows;
    // A few chunks per worker at least, so that a slow one is caught up by the others.
    chunk_ = std::clamp(rows / (use * 4), 1, MAX_CHUNK);
    next_.store(0, std::memory_order_relaxed);
    busy_.store(use - 1, std::memory_order_relaxed);
    // The gate's release publishes the fields above to the thread it opens.
    for (int w = 1; w < use; ++w)
        gates_[static_cast<std::size_t>(w - 1)]->go.release();
    Drain(0);
    done_.acquire();
    job_ = nullptr;
}

void TRowPool::Work(int worker) {
    Gate& gate = *gates_[static_cast<std::size_t>(worker - 1)];
    while (true) {
        gate.go.acquire();
        if (quit_) return;
        Drain(worker);
        // The last one out wakes the caller; acq_rel hands it every thread's results.
        if (busy_.fetch_sub(1, std::memory_order_acq_rel) == 1) done_.release();
    }
}
