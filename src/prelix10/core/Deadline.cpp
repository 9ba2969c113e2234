#include "prelix10/core/Deadline.hpp"

#include <limits>

namespace Prelix10 {

Deadline::Clock::duration Deadline::duration(std::int64_t milliseconds) {
    using Rep = Clock::duration::rep;
    if (milliseconds <= 0) return Clock::duration::zero();
    // Clock ticks per millisecond (the clock counts nanoseconds on this platform).
    constexpr Rep perMillisecond =
        std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(1)).count();
    static_assert(perMillisecond > 0, "the monotonic clock is finer than a millisecond");
    if (milliseconds > std::numeric_limits<Rep>::max() / perMillisecond) return Clock::duration::max();
    return Clock::duration(static_cast<Rep>(milliseconds) * perMillisecond);
}

Deadline::Clock::time_point Deadline::after(std::int64_t milliseconds, Clock::time_point from) {
    const auto wait = duration(milliseconds);
    if (wait > Clock::time_point::max() - from) return Clock::time_point::max();
    return from + wait;
}

std::int64_t Deadline::addMilliseconds(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? std::numeric_limits<std::int64_t>::max()
                                                         : std::numeric_limits<std::int64_t>::min();
    return sum;
}

std::int64_t Deadline::remaining(std::int64_t timeout, std::int64_t elapsed) {
    std::int64_t left = 0;
    if (__builtin_sub_overflow(timeout, elapsed, &left)) return elapsed > 0 ? std::numeric_limits<std::int64_t>::min()
                                                                           : std::numeric_limits<std::int64_t>::max();
    return left;
}

}  // namespace Prelix10
