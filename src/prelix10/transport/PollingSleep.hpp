#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace Prelix10 {

// The fixed sleeps of the polling loops (reads, status polls, connection retries), with a process-wide
// total so that a benchmark can tell how much of an operation was spent waiting in them.
class PollingSleep {
public:
    static void sleepFor(std::chrono::milliseconds duration) {
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(duration);
        record(std::chrono::steady_clock::now() - start, false);
    }
    // Adds a wait to the totals; woken is true when arriving bytes ended the wait early.
    static void record(std::chrono::steady_clock::duration waited, bool woken) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(waited).count();
        (woken ? wokenTotal() : fixedTotal()).fetch_add(ns, std::memory_order_relaxed);
    }
    // Time spent in waits that ran their full length (fixed sleeps).
    static std::int64_t fixedNanoseconds() { return fixedTotal().load(std::memory_order_relaxed); }
    // Time spent in waits that the device's bytes ended early.
    static std::int64_t wokenNanoseconds() { return wokenTotal().load(std::memory_order_relaxed); }
    static void reset() {
        fixedTotal().store(0, std::memory_order_relaxed);
        wokenTotal().store(0, std::memory_order_relaxed);
    }

private:
    static std::atomic<std::int64_t>& fixedTotal() {
        static std::atomic<std::int64_t> value{0};
        return value;
    }
    static std::atomic<std::int64_t>& wokenTotal() {
        static std::atomic<std::int64_t> value{0};
        return value;
    }
};

}  // namespace Prelix10
