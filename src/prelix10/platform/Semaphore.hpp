#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "prelix10/core/Deadline.hpp"

namespace Prelix10 {

// A counting semaphore with timed waits on the monotonic clock.
class Semaphore {
public:
    explicit Semaphore(std::int64_t value = 0) : value_(value) {}
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    void signal();
    void wait();
    // False when the deadline passed before a signal.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    bool waitFor(std::chrono::milliseconds timeout) { return waitUntil(Deadline::after(timeout)); }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    std::int64_t value_;
};

// Counts outstanding tasks; waiters wake when the count drops to zero.
class DispatchGroup {
public:
    void enter();
    void leave();
    void wait();
    bool waitFor(std::chrono::milliseconds timeout);

private:
    std::mutex mutex_;
    std::condition_variable condition_;
    std::int64_t count_ = 0;
};

}  // namespace Prelix10
