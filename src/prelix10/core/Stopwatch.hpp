#pragma once

#include <chrono>
#include <mutex>
#include <optional>

namespace Prelix10 {

// Elapsed time against an operation's timeout. Runs on the monotonic clock so that a change of the system
// time neither fires a timeout early nor holds it back. Safe to share between threads.
class Stopwatch {
public:
    using Clock = std::chrono::steady_clock;

    Stopwatch() = default;
    Stopwatch(const Stopwatch&) = delete;
    Stopwatch& operator=(const Stopwatch&) = delete;

    // Starts the watch unless it is already running (a running watch keeps its start time).
    void start();
    // Starts the watch afresh, running or not.
    void restart();
    // Milliseconds since the start; 0 for a watch never started.
    double elapsedMilliseconds() const;
    bool isActive() const;

private:
    mutable std::mutex lock_;
    std::optional<Clock::time_point> startTime_;
    std::optional<Clock::time_point> endTime_;
    bool isActive_ = false;
};

}  // namespace Prelix10
