#pragma once
// Runs one validator's Validate on a thread of its own. The thread is always joined, never
// killed: a stop goes through the validator's own cooperative stop.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

class TInputValidator;

class TValidationThread {
public:
    // Starts at once; onDone runs on the validation thread as its last act.
    TValidationThread(TInputValidator& validator, std::function<void()> onDone);
    // Joins: the owner stops the validator first when it must not wait for the end.
    ~TValidationThread();
    TValidationThread(const TValidationThread&) = delete;
    TValidationThread& operator=(const TValidationThread&) = delete;

    void Join();
    // Meaningful once the thread has ended.
    bool success() const { return success_.load(); }
    // The failure that ended the run early (a read error), empty otherwise.
    const std::string& error() const { return error_; }

private:
    std::atomic<bool> success_{false};
    std::string error_;
    std::thread thread_;
};
