#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace Prelix10 {

// The cancellation flag that a running operation polls. Anybody may cancel at once; an automatic
// cancellation can be armed for later on the monotonic clock. Safe across threads.
class CancellationToken {
public:
    CancellationToken() = default;
    CancellationToken(const CancellationToken&) = delete;
    CancellationToken& operator=(const CancellationToken&) = delete;
    // Disarms any pending cancellation and joins the timer thread.
    ~CancellationToken();

    bool isCancelled() const { return isCancelled_.load(); }
    void setIsCancelled(bool cancelled) { isCancelled_.store(cancelled); }
    void cancel() { isCancelled_.store(true); }

    // Replaces any pending automatic cancellation by one that sets the flag after the given milliseconds
    // (a negative time counts as 0). The replaced one never fires.
    void cancel(std::int64_t afterMilliseconds);
    // Disarms the pending automatic cancellation, if any.
    void cancelPendingWorkItem();
    bool hasPendingWorkItem() const;

private:
    void runTimer();

    std::atomic<bool> isCancelled_{false};
    mutable std::mutex timerMutex_;
    std::condition_variable timerWake_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    bool stopTimer_ = false;
    std::thread timer_;
};

// What a subclass of Cancelable provides: the preparation of a run and the run itself.
class CancelableProtocol {
public:
    virtual ~CancelableProtocol() = default;
    // Prepares a run; an error thrown here leaves the operation idle.
    virtual void operationWillStart() = 0;
    // Starts the operation (as a rule on another thread) and returns; the operation calls completion once
    // when it has ended.
    virtual void runOperation(std::function<void()> completion) = 0;
};

// Base of the long background operations (searches, status monitoring): one run at a time, a new start first
// waits for a cancelled predecessor to wind down, and an optional automatic cancellation after cancelTime.
// A subclass also derives from CancelableProtocol.
class Cancelable {
public:
    static constexpr int kDefaultStartJoinTimeout = 10000;

    Cancelable() = default;
    Cancelable(const Cancelable&) = delete;
    Cancelable& operator=(const Cancelable&) = delete;
    virtual ~Cancelable() = default;

    // Starts a run; throws "Already started." while a run goes on that was not cancelled, the error of a
    // predecessor that does not end within 10 seconds, or the error of operationWillStart.
    void startOperation();
    // Waits while a cancelled run is still operating; throws "Unknown Error." after timeout milliseconds.
    void joinCancellation(int timeoutMilliseconds);
    // Asks the running operation to stop: it sees the flag at its next poll.
    void stopOperation() { cancellationToken_->cancel(); }

    bool isOperating() const { return isOperating_->load(); }
    std::int64_t cancelTime() const { return cancelTime_.load(); }
    void setCancelTime(std::int64_t milliseconds) { cancelTime_.store(milliseconds); }
    const std::shared_ptr<CancellationToken>& cancellationToken() const { return cancellationToken_; }
    int startJoinTimeout() const { return startJoinTimeout_.load(); }

protected:
    // Lets tests shorten the wait of startOperation for a cancelled predecessor.
    void setStartJoinTimeout(int milliseconds) { startJoinTimeout_.store(milliseconds); }

private:
    std::atomic<std::int64_t> cancelTime_{-1};
    // Shared with the completion handed to runOperation, so that a late completion never touches a
    // destroyed object.
    std::shared_ptr<std::atomic<bool>> isOperating_ = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<CancellationToken> cancellationToken_ = std::make_shared<CancellationToken>();
    std::mutex lock_;
    std::atomic<int> startJoinTimeout_{kDefaultStartJoinTimeout};
};

}  // namespace Prelix10
