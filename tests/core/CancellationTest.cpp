#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/Stopwatch.hpp"

using namespace Prelix10;
using namespace std::chrono_literals;

namespace {

// An operation that runs on its own thread until it is cancelled, then lingers for windDown before it ends.
class PollingOperation : public Cancelable, public CancelableProtocol {
public:
    explicit PollingOperation(std::chrono::milliseconds windDown = 0ms) : windDown_(windDown) {}
    ~PollingOperation() override { joinWorker(); }

    void operationWillStart() override {
        ++prepared;
        if (failPreparation) throw Prelix10Error(Prelix10ErrorKind::argument, "prepare failed");
    }
    void runOperation(std::function<void()> completion) override {
        joinWorker();
        ++runs;
        auto token = cancellationToken();
        worker_ = std::thread([this, token, completion] {
            while (!token->isCancelled()) std::this_thread::sleep_for(1ms);
            std::this_thread::sleep_for(windDown_);
            completion();
        });
    }
    void joinWorker() {
        if (worker_.joinable()) worker_.join();
    }
    using Cancelable::setStartJoinTimeout;

    std::atomic<int> prepared{0};
    std::atomic<int> runs{0};
    std::atomic<bool> failPreparation{false};

private:
    std::chrono::milliseconds windDown_;
    std::thread worker_;
};

class NotAnOperation : public Cancelable {};

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(1ms);
    }
    return condition();
}

}  // namespace

TEST(Cancelable, SecondStartWithoutStopFailsAndTheFirstRunsOn) {
    PollingOperation op;
    op.startOperation();
    EXPECT_TRUE(op.isOperating());
    try {
        op.startOperation();
        FAIL() << "no throw";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), Prelix10ErrorKind::invalidOperation);
        EXPECT_EQ(e.message(), "Already started.");
    }
    EXPECT_TRUE(op.isOperating());
    EXPECT_EQ(op.runs, 1);
    op.stopOperation();
    EXPECT_TRUE(waitFor([&] { return !op.isOperating(); }, 2000ms));
}

TEST(Cancelable, StartStopStartWaitsForThePredecessor) {
    PollingOperation op(150ms);
    EXPECT_EQ(op.startJoinTimeout(), 10000);
    op.startOperation();
    op.stopOperation();
    Stopwatch watch;
    watch.start();
    op.startOperation();  // waits, polling, until the first run has called its completion
    EXPECT_GE(watch.elapsedMilliseconds(), 100.0);
    EXPECT_EQ(op.runs, 2);
    EXPECT_TRUE(op.isOperating());
    EXPECT_FALSE(op.cancellationToken()->isCancelled());
    op.stopOperation();
    EXPECT_TRUE(waitFor([&] { return !op.isOperating(); }, 2000ms));
}

TEST(Cancelable, PredecessorThatDoesNotEndInTimeFailsTheStart) {
    PollingOperation op(400ms);
    op.setStartJoinTimeout(100);
    op.startOperation();
    op.stopOperation();
    try {
        op.startOperation();
        FAIL() << "no throw";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(e.message(), "Unknown Error.");
    }
    EXPECT_EQ(op.runs, 1);
    EXPECT_TRUE(waitFor([&] { return !op.isOperating(); }, 2000ms));
    op.startOperation();  // the predecessor has ended now
    EXPECT_EQ(op.runs, 2);
    op.stopOperation();
}

TEST(Cancelable, JoinReturnsAtOnceForARunThatWasNotCancelled) {
    PollingOperation op;
    op.joinCancellation(0);  // idle
    op.startOperation();
    Stopwatch watch;
    watch.start();
    op.joinCancellation(5000);
    EXPECT_LT(watch.elapsedMilliseconds(), 1000.0);
    op.stopOperation();
}

TEST(Cancelable, PreparationErrorLeavesItIdle) {
    PollingOperation op;
    op.failPreparation = true;
    EXPECT_THROW(op.startOperation(), Prelix10Error);
    EXPECT_FALSE(op.isOperating());
    EXPECT_EQ(op.runs, 0);
    op.failPreparation = false;
    op.startOperation();
    EXPECT_TRUE(op.isOperating());
    op.stopOperation();
}

TEST(Cancelable, WithoutTheProtocolStartIsAnUnexpectedState) {
    NotAnOperation op;
    try {
        op.startOperation();
        FAIL() << "no throw";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(e.message(), "Unexpected state at line 47 of NotAnOperation.");
    }
}

TEST(Cancelable, CancelTimeCancelsAutomaticallyAndARestartReplacesThePendingItem) {
    PollingOperation op;
    op.setCancelTime(150);
    op.startOperation();
    EXPECT_FALSE(op.cancellationToken()->isCancelled());
    EXPECT_TRUE(waitFor([&] { return op.cancellationToken()->isCancelled(); }, 3000ms));
    EXPECT_TRUE(waitFor([&] { return !op.isOperating(); }, 3000ms));

    // With no cancel time nothing is armed: only a stop ends the run.
    op.setCancelTime(-1);
    op.startOperation();
    EXPECT_FALSE(op.cancellationToken()->hasPendingWorkItem());
    std::this_thread::sleep_for(250ms);
    EXPECT_TRUE(op.isOperating());
    op.stopOperation();
    EXPECT_TRUE(waitFor([&] { return !op.isOperating(); }, 2000ms));
}

TEST(CancellationToken, RearmingReplacesThePendingItem) {
    CancellationToken token;
    token.cancel(100);
    token.cancel(600);  // the 100 ms item never fires
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(token.isCancelled());
    EXPECT_TRUE(waitFor([&] { return token.isCancelled(); }, 3000ms));
    EXPECT_FALSE(token.hasPendingWorkItem());

    token.setIsCancelled(false);
    token.cancel(50);
    token.cancelPendingWorkItem();
    std::this_thread::sleep_for(150ms);
    EXPECT_FALSE(token.isCancelled());
}

TEST(CancellationToken, DestroyedWhileArmed) {
    auto token = std::make_unique<CancellationToken>();
    token->cancel(10000);
    token.reset();  // joins its timer without waiting for the deadline
    SUCCEED();
}

TEST(CancellationToken, FlagIsSafeAcrossThreads) {
    CancellationToken token;
    std::thread setter([&] {
        for (int i = 0; i < 1000; ++i) token.setIsCancelled(i % 2 == 0);
        token.cancel(0);
    });
    bool seen = false;
    for (int i = 0; i < 100000 && !seen; ++i) seen = token.isCancelled() && i > 1000;
    setter.join();
    EXPECT_TRUE(waitFor([&] { return token.isCancelled(); }, 2000ms));
}

TEST(Deadline, TimeoutsSaturateInsteadOfOverflowing) {
    using Clock = Deadline::Clock;
    constexpr auto never = std::numeric_limits<std::int64_t>::max();
    const auto now = Clock::now();
    EXPECT_EQ(Deadline::after(never, now), Clock::time_point::max());
    EXPECT_EQ(Deadline::after(9'300'000'000'000, now), Clock::time_point::max());  // past the clock's range in ns
    EXPECT_EQ(Deadline::after(1500, now), now + 1500ms);
    EXPECT_EQ(Deadline::after(-5, now), now);
    EXPECT_EQ(Deadline::duration(never), Clock::duration::max());
    EXPECT_EQ(Deadline::duration(0), Clock::duration::zero());
    EXPECT_EQ(Deadline::addMilliseconds(never, 1), never);
    EXPECT_EQ(Deadline::addMilliseconds(10, 1), 11);
    EXPECT_EQ(Deadline::remaining(never, 5), never - 5);
    EXPECT_EQ(Deadline::remaining(std::numeric_limits<std::int64_t>::min(), 5), std::numeric_limits<std::int64_t>::min());
}

TEST(CancellationToken, HugeDelaysMeanPracticallyNever) {
    for (const std::int64_t after : {std::numeric_limits<std::int64_t>::max(), std::int64_t{9'300'000'000'000}}) {
        CancellationToken token;
        token.cancel(after);
        std::this_thread::sleep_for(300ms);
        EXPECT_FALSE(token.isCancelled()) << after;
        EXPECT_TRUE(token.hasPendingWorkItem()) << after;
    }
    // A long-running operation with such a cancel time keeps running until it is stopped.
    PollingOperation operation;
    operation.setCancelTime(std::numeric_limits<std::int64_t>::max());
    operation.startOperation();
    std::this_thread::sleep_for(300ms);
    EXPECT_TRUE(operation.isOperating());
    EXPECT_FALSE(operation.cancellationToken()->isCancelled());
    operation.stopOperation();
    EXPECT_TRUE(waitFor([&] { return !operation.isOperating(); }, 2000ms));
}
