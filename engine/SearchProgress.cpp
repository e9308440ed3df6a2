#include "SearchProgress.h"

#include <algorithm>

void TSearchProgress::Set(int n, std::string text) {
    std::lock_guard lock(mutex_);
    if (n >= 0 && n < static_cast<int>(lines_.size())) lines_[static_cast<std::size_t>(n)] = std::move(text);
}

void TSearchProgress::Clear(int from, int to) {
    std::lock_guard lock(mutex_);
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(lines_.size()) - 1);
    for (int n = from; n <= to; ++n)
        lines_[static_cast<std::size_t>(n)].clear();
}

std::string TSearchProgress::Line(int n) const {
    std::lock_guard lock(mutex_);
    if (n < 0 || n >= static_cast<int>(lines_.size())) return {};
    return lines_[static_cast<std::size_t>(n)];
}

std::vector<std::string> TSearchProgress::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}
