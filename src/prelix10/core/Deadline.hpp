#pragma once

#include <chrono>
#include <cstdint>

namespace Prelix10 {

// Timeouts in milliseconds turned into monotonic-clock durations and deadlines without overflow: a value
// too large for the clock saturates to the clock's far end, so INT64_MAX means "practically never". A
// negative timeout counts as 0.
class Deadline {
public:
    using Clock = std::chrono::steady_clock;

    // The timeout as a clock duration, saturated at Clock::duration::max().
    static Clock::duration duration(std::int64_t milliseconds);
    static Clock::duration duration(std::chrono::milliseconds timeout) { return duration(timeout.count()); }
    // from + timeout, saturated at Clock::time_point::max().
    static Clock::time_point after(std::int64_t milliseconds, Clock::time_point from);
    static Clock::time_point after(std::int64_t milliseconds) { return after(milliseconds, Clock::now()); }
    static Clock::time_point after(std::chrono::milliseconds timeout) { return after(timeout.count(), Clock::now()); }
    // a + b for non-negative millisecond counts, saturated at INT64_MAX.
    static std::int64_t addMilliseconds(std::int64_t a, std::int64_t b);
    // Milliseconds left of a budget of timeout after elapsed milliseconds (negative once spent), without
    // overflow at either end.
    static std::int64_t remaining(std::int64_t timeout, std::int64_t elapsed);
};

}  // namespace Prelix10
