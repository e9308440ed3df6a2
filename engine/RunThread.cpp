#include "RunThread.h"

#include <exception>
#include <utility>

#include "OrvexError.h"

TRunThread::TRunThread(std::string className, std::string runName, std::string unknownError)
    : className_(std::move(className)), runName_(std::move(runName)), unknownError_(std::move(unknownError)) {
}

TRunThread::~TRunThread() {
    // Normally done already by the derived destructor.
    Stop();
    WaitFor();
}

void TRunThread::Prepare() {
    if (started_) throw EOrvexError("The " + runName_ + " has been started already.");
    prepared_ = false;
    try {
        PrepareRun();
    } catch (...) {
        Discard();
        throw;
    }
    prepared_ = true;
}

void TRunThread::Start() {
    if (started_) throw EOrvexError("The " + runName_ + " has been started already.");
    if (!prepared_)
        throw EOrvexError("Error : You MUST call " + className_ + ".Prepare() before " + className_ +
                          ".Start()");
    try {
        thread_ = std::thread([this] { Execute(); });
    } catch (const std::exception& e) {
        throw EOrvexError("The " + runName_ + " thread cannot be started: " + e.what());
    }
    started_ = true;
}

void TRunThread::Execute() {
    // Nothing may escape the thread: every failure becomes the run's error.
    try {
        Run();
    } catch (const std::exception& e) {
        SetError(e.what());
    } catch (...) {
        SetError(unknownError_);
    }
    RunOver();
    finished_.store(true, std::memory_order_release);
}

bool TRunThread::Paused() const {
    std::lock_guard<std::mutex> l(gateLock_);
    return paused_;
}

void TRunThread::Pause() {
    std::lock_guard<std::mutex> l(gateLock_);
    paused_ = true;
}

void TRunThread::Resume() {
    {
        std::lock_guard<std::mutex> l(gateLock_);
        paused_ = false;
    }
    gate_.notify_all();
}

bool TRunThread::Gate() {
    std::unique_lock<std::mutex> l(gateLock_);
    gate_.wait(l, [this] { return !paused_ || Stopping(); });
    return Stopping();
}

void TRunThread::Stop() {
    {
        // Under the gate's lock, so a run about to wait at the gate cannot miss it.
        std::lock_guard<std::mutex> l(gateLock_);
        stop_.store(true, std::memory_order_release);
    }
    gate_.notify_all();
}

void TRunThread::Quit() {
    Stop();
    WaitFor();
    Discard();
}

void TRunThread::WaitFor() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void TRunThread::SetError(const std::string& text) {
    {
        std::lock_guard<std::mutex> l(errorLock_);
        errorInfo_ = text;
    }
    error_.store(true, std::memory_order_release);
}

std::string TRunThread::ErrorInfo() const {
    std::lock_guard<std::mutex> l(errorLock_);
    return errorInfo_;
}
