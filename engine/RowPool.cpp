#include "RowPool.h"

TRowPool::TRowPool(int workers) {
    for (int w = 1; w < workers; ++w)
        threads_.emplace_back([this, w] { Work(w); });
}

TRowPool::~TRowPool() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    start_.notify_all();
    for (auto& t : threads_)
        t.join();
}

void TRowPool::Drain(int worker) {
    for (int row = next_.fetch_add(1, std::memory_order_relaxed); row < rows_;
         row = next_.fetch_add(1, std::memory_order_relaxed))
        (*job_)(worker, row);
}

void TRowPool::ForEach(int rows, const std::function<void(int worker, int row)>& job) {
    if (threads_.empty() || rows <= 1) {
        for (int row = 0; row < rows; ++row)
            job(0, row);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = &job;
        rows_ = rows;
        next_.store(0, std::memory_order_relaxed);
        busy_ = static_cast<int>(threads_.size());
        ++round_;
    }
    start_.notify_all();
    Drain(0);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
    job_ = nullptr;
}

void TRowPool::Work(int worker) {
    long long seen = 0;
    while (true) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            start_.wait(lock, [&] { return quit_ || round_ != seen; });
            if (quit_) return;
            seen = round_;
        }
        Drain(worker);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (--busy_ == 0) done_.notify_one();
        }
    }
}
