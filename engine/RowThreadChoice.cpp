#include "RowThreadChoice.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

int TRowThreadChoice::Cores() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
}

double TRowThreadChoice::SteadyNs() {
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

TRowThreadChoice::TRowThreadChoice(int cores, TClock clock) : cores_(cores), clock_(std::move(clock)) {}

TRowThreadChoice::TDecision TRowThreadChoice::Decide() const {
    if (requested_ > 0) return {requested_, TWhy::Asked};
    const double foreseen = ForeseenNs();
    if (lastDays_ <= 0 || nsPerDayOne_ <= 0.0 || foreseen < MIN_THREAD_NS) return {1, TWhy::TooShort};
    const int workers = std::min(cores_, static_cast<int>(foreseen / WORKER_NS));
    if (workers < 2) return {1, TWhy::TooShort};
    // On a busy machine the threads may wait for cores: then one thread is kept, and the
    // threads' next trial measures them afresh.
    if (ThreadsDidNotPay())
        return sinceThreadTrial_ + 1 < THREAD_RETRY ? TDecision{1, TWhy::ThreadsDidNotPay}
                                                    : TDecision{workers, TWhy::ThreadsTriedAgain};
    return sinceOneThread_ + 1 >= THREAD_RETRY ? TDecision{1, TWhy::OneThreadNowAndThen}
                                               : TDecision{workers, TWhy::ThreadsPay};
}

int TRowThreadChoice::ChooseForNextEvaluation() {
    const TDecision d = Decide();
    switch (d.why) {
    case TWhy::ThreadsDidNotPay: ++sinceThreadTrial_; break;
    case TWhy::ThreadsTriedAgain:
        sinceThreadTrial_ = 0;
        nsPerDayThreads_ = 0.0;
        break;
    case TWhy::ThreadsPay: ++sinceOneThread_; break;
    case TWhy::OneThreadNowAndThen: sinceOneThread_ = 0; break;
    case TWhy::Asked:
    case TWhy::TooShort: break;
    }
    return d.workers;
}

void TRowThreadChoice::Measure(double ns, long long days, bool threads) {
    lastDays_ = days;
    if (std::exchange(unmeasured_, false) || days <= 0) return;
    double& rate = threads ? nsPerDayThreads_ : nsPerDayOne_;
    const double now = ns / static_cast<double>(days);
    // On a busy machine a thread put aside only lengthens an evaluation: the rate follows a
    // faster evaluation at once and a slower one slowly.
    rate = rate <= 0.0 || now < rate ? now : rate + (now - rate) / 16.0;
}
