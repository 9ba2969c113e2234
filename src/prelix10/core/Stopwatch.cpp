#include "prelix10/core/Stopwatch.hpp"

namespace Prelix10 {

void Stopwatch::start() {
    std::lock_guard guard(lock_);
    if (isActive_) return;
    startTime_ = Clock::now();
    endTime_.reset();
    isActive_ = true;
}

void Stopwatch::restart() {
    std::lock_guard guard(lock_);
    startTime_ = Clock::now();
    endTime_.reset();
    isActive_ = true;
}

double Stopwatch::elapsedMilliseconds() const {
    std::lock_guard guard(lock_);
    const auto now = Clock::now();
    const auto end = endTime_.value_or(now);
    const auto begin = startTime_.value_or(now);
    return std::chrono::duration<double, std::milli>(end - begin).count();
}

bool Stopwatch::isActive() const {
    std::lock_guard guard(lock_);
    return isActive_;
}

}  // namespace Prelix10
