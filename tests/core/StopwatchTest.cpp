#include <gtest/gtest.h>

#include <thread>

#include "prelix10/core/Stopwatch.hpp"

using namespace Prelix10;
using namespace std::chrono_literals;

TEST(Stopwatch, NeverStartedReportsZero) {
    Stopwatch watch;
    EXPECT_EQ(watch.elapsedMilliseconds(), 0.0);
    EXPECT_FALSE(watch.isActive());
}

TEST(Stopwatch, SecondStartKeepsTheFirstAndRestartResets) {
    Stopwatch watch;
    watch.start();
    std::this_thread::sleep_for(30ms);
    watch.start();
    EXPECT_GE(watch.elapsedMilliseconds(), 30.0);
    watch.restart();
    EXPECT_LT(watch.elapsedMilliseconds(), 30.0);
    EXPECT_TRUE(watch.isActive());
    // Nothing stops the watch: the time runs on.
    const double before = watch.elapsedMilliseconds();
    std::this_thread::sleep_for(5ms);
    EXPECT_GT(watch.elapsedMilliseconds(), before);
}

TEST(Stopwatch, RunsOnTheMonotonicClock) {
    static_assert(Stopwatch::Clock::is_steady);
}

TEST(Stopwatch, SharedBetweenThreads) {
    Stopwatch watch;
    std::thread a([&] {
        for (int i = 0; i < 1000; ++i) watch.restart();
    });
    std::thread b([&] {
        for (int i = 0; i < 1000; ++i) EXPECT_GE(watch.elapsedMilliseconds(), 0.0);
    });
    a.join();
    b.join();
}
