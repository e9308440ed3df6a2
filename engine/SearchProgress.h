#pragma once
// Progress text of a fit's search: numbered lines written by the fit thread and read by the
// window while the search runs, so every access takes the lock.

#include <mutex>
#include <string>
#include <vector>

#include "OrvexRawTypes.h"

// Line 0 is the fit thread's title; the confidence-interval stage writes down to line
// 4 x nb + 14, so the text holds every line of the largest problem.
inline constexpr int SEARCH_PROGRESS_LINES = 4 * MAX_FREE_PARAMETERS + 15;

class TSearchProgress {
public:
    explicit TSearchProgress(int nbLines = SEARCH_PROGRESS_LINES)
        : lines_(static_cast<std::size_t>(nbLines)) {}

    int Count() const { return static_cast<int>(lines_.size()); }
    // Replaces line n; a line beyond the text is dropped.
    void Set(int n, std::string text);
    // Empties lines from..to (inclusive, within the text).
    void Clear(int from, int to);
    std::string Line(int n) const;
    // A copy of every line, for the window.
    std::vector<std::string> Lines() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};
