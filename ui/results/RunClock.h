#pragma once
// Elapsed time of a run that can be paused: the paused spans are left out. Times are
// milliseconds on any steady clock, handed in by the caller.

#include <cstdint>
#include <string>

class TRunClock {
public:
    explicit TRunClock(std::int64_t nowMs) : startMs_(nowMs) {}
    // A second pause, or a resume without a pause, changes nothing.
    void Pause(std::int64_t nowMs);
    void Resume(std::int64_t nowMs);
    bool Paused() const { return paused_; }
    // Stands still while paused.
    std::int64_t Elapsed(std::int64_t nowMs) const;

    // "hh:mm:ss.zzz"; the hours grow past two digits when they must.
    static std::string Format(std::int64_t ms);

private:
    std::int64_t startMs_;
    std::int64_t pauseMs_ = 0;
    bool paused_ = false;
};
