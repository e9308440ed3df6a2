#pragma once
// How many workers the rows of an objective evaluation run on. Waking threads costs tens of
// microseconds: they pay only for long evaluations, and a search moves one parameter a little,
// so the last evaluation foretells the next. The choice goes by the days the last evaluation
// summed and the time per day measured on one thread and on threads.

#include <functional>

class TRowThreadChoice {
public:
    static constexpr double MIN_THREAD_NS = 200e3; // foreseen work below which one thread is kept
    static constexpr double WORKER_NS = 50e3;      // foreseen work per worker
    static constexpr int THREAD_RETRY = 64; // evaluations between two trials of threads that did not pay

    // The machine's cores, 1 to 64.
    static int Cores();
    // Nanoseconds since any fixed start.
    using TClock = std::function<double()>;
    static double SteadyNs();

    explicit TRowThreadChoice(int cores = Cores(), TClock clock = SteadyNs);

    // 0 (the default): decided per evaluation; 1: the calling thread alone; more: that many.
    void Request(int workers) { requested_ = workers; }
    // Workers to make the threads with: those asked for, else one per core.
    int WorkersToMake() const { return requested_ > 1 ? requested_ : cores_; }

    enum class TWhy {
        Asked,               // the count asked for
        TooShort,            // too little work foreseen for two workers
        ThreadsPay,          // threads measured faster than one thread
        ThreadsDidNotPay,    // threads measured no faster: one thread until their next trial
        ThreadsTriedAgain,   // that trial, measuring them afresh
        OneThreadNowAndThen, // one thread again, to compare the two at today's load
    };
    struct TDecision {
        int workers = 1; // 1: the calling thread alone
        TWhy why = TWhy::Asked;
    };
    // What the next evaluation would run on; changes nothing.
    TDecision Decide() const;
    // Decides for the next evaluation and counts it towards the next trial of threads or of
    // one thread. Once per evaluation.
    int ChooseForNextEvaluation();

    // The threads were made during the evaluation under way: its time is no measure of what
    // they cost.
    void ThreadsMade() { unmeasured_ = true; }
    double Now() const { return clock_(); }
    // An evaluation summed `days` in `ns`, on threads or on one thread: the days foretell the
    // next evaluation's, and the time per day is measured unless the threads were made then.
    void Measure(double ns, long long days, bool threads);

    long long LastDays() const { return lastDays_; }
    double NsPerDayOne() const { return nsPerDayOne_; }
    double NsPerDayThreads() const { return nsPerDayThreads_; }

private:
    int cores_;
    TClock clock_;
    int requested_ = 0;
    long long lastDays_ = -1;
    double nsPerDayOne_ = 0.0, nsPerDayThreads_ = 0.0; // smoothed
    int sinceThreadTrial_ = 0;
    int sinceOneThread_ = 0; // evaluations on threads since the last on one thread
    bool unmeasured_ = false;

    double ForeseenNs() const { return static_cast<double>(lastDays_) * nsPerDayOne_; }
    bool ThreadsDidNotPay() const { return nsPerDayThreads_ >= nsPerDayOne_; }
};
