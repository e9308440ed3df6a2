#pragma once
// What every run on a thread of its own shares (a fit, a simulation): the thread, the stop flag,
// the pause gate, the error text and the finished flag.
//
// One contract for every run: Prepare and Start work on the caller's thread and raise EOrvexError
// (a failed Prepare leaves nothing prepared and no files); a failure of the run itself is published
// through Error() and ErrorInfo(), and Finished() turns true last. The state accessors and the
// controls are safe to call from any thread.

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class TRunThread {
public:
    // Stops a run still going and waits for it. A derived class calls Quit() in its own
    // destructor: the thread works on the derived members.
    virtual ~TRunThread();
    TRunThread(const TRunThread&) = delete;
    TRunThread& operator=(const TRunThread&) = delete;

    // Checks the inputs and sets the run up; raises EOrvexError naming what fails, after dropping
    // whatever it had made. Raises as well once the run has been started.
    void Prepare();
    // Runs on a new thread; raises unless prepared, or when started already.
    void Start();
    // Holds the run at its next safe point until Resume.
    void Pause();
    void Resume();
    // Asks the run to end at its next safe point (a paused run too); returns at once.
    void Stop();
    // Stop, wait until the thread has ended, then drop what a run that did not complete leaves.
    void Quit();
    // Waits until the thread has ended, without stopping it.
    void WaitFor();

    bool Prepared() const { return prepared_; }
    bool Paused() const;
    // True once the run has ended, well or not (also after a stop).
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Set when the run failed; ErrorInfo() is complete before Error() turns true.
    bool Error() const { return error_.load(std::memory_order_acquire); }
    std::string ErrorInfo() const;

protected:
    // className and runName make the texts "Error : You MUST call <className>.Prepare() before
    // <className>.Start()" and "The <runName> has been started already."; unknownError is the
    // error of a run that fails without a message.
    TRunThread(std::string className, std::string runName, std::string unknownError);

    // Prepare's own work; raises on failure.
    virtual void PrepareRun() = 0;
    // The run on its thread; what it raises becomes the error.
    virtual void Run() = 0;
    // On the run thread after Run, before Finished() turns true.
    virtual void RunOver() {}
    // Drops what a run that did not complete leaves (prepared files, pending output); called by
    // a failed Prepare and by Quit.
    virtual void Discard() {}

    void SetError(const std::string& text);
    bool Stopping() const { return stop_.load(std::memory_order_acquire); }
    const std::atomic<bool>& StopFlag() const { return stop_; }
    // The safe point of a pausable run: blocks while paused; true when the run must stop.
    bool Gate();

private:
    void Execute();

    const std::string className_, runName_, unknownError_;
    bool prepared_ = false;
    bool started_ = false;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<bool> error_{false};
    mutable std::mutex errorLock_;
    std::string errorInfo_;
    mutable std::mutex gateLock_;
    std::condition_variable gate_;
    bool paused_ = false;
};
