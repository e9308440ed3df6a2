#pragma once
// Worker threads made once, that share out the rows of one objective evaluation. Each worker
// has a number (the calling thread is 0) so that it can use its own copy of the model; rows
// are handed out a chunk at a time, so which worker runs a row varies, and callers keep results
// per row and combine them in row order.

#include <atomic>
#include <functional>
#include <memory>
#include <semaphore>
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
    // Calls job(worker, row) once for every row of 0..rows-1 on at most `use` workers (all
    // when 0 or more than there are) and returns when all have returned. job must not raise:
    // it keeps a row's error with the row's result. One call at a time.
    void ForEach(int rows, const std::function<void(int worker, int row)>& job, int use = 0);

    // Rows taken at a time: fewer trips to the shared counter, and neighbouring rows' results
    // written by one thread.
    static constexpr int MAX_CHUNK = 32;

private:
    // Each on its own cache line: a thread waiting on its gate never disturbs another's.
    struct alignas(64) Gate {
        std::binary_semaphore go{0};
    };
    void Work(int worker);
    void Drain(int worker);

    std::vector<std::thread> threads_;
    std::vector<std::unique_ptr<Gate>> gates_; // per thread
    const std::function<void(int, int)>* job_ = nullptr;
    int rows_ = 0;
    int chunk_ = 1;
    bool quit_ = false;
    std::binary_semaphore done_{0};
    // Taken by every worker for every chunk: kept off the line of the fields above, which
    // every worker reads.
    alignas(64) std::atomic<int> next_{0};
    alignas(64) std::atomic<int> busy_{0}; // threads still in the current round
};
