#pragma once
// Worker threads made once, that share out the rows of one objective evaluation. Each worker
// has a number (the calling thread is 0) so that it can use its own copy of the model; rows
// are handed out one at a time, so which worker runs a row varies, and callers keep results
// per row and combine them in row order.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class TRowPool {
public:
    // workers in all, the calling thread included: workers - 1 threads are started.
    explicit TRowPool(int workers);
    // Waits for the threads to end.
    ~TRowPool();
    TRowPool(const TRowPool&) = delete;
    TRowPool& operator=(const TRowPool&) = delete;

    int Workers() const { return static_cast<int>(threads_.size()) + 1; }
    // Calls job(worker, row) once for every row of 0..rows-1 and returns when all have returned.
    // job must not raise: it keeps a row's error with the row's result. One call at a time.
    void ForEach(int rows, const std::function<void(int worker, int row)>& job);

private:
    void Work(int worker);
    void Drain(int worker);

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable start_, done_;
    long long round_ = 0; // a new round wakes the workers
    int busy_ = 0;        // threads still in the current round
    bool quit_ = false;
    const std::function<void(int, int)>* job_ = nullptr;
    int rows_ = 0;
    std::atomic<int> next_{0};
};
