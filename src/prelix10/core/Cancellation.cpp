#include "prelix10/core/Cancellation.hpp"

#include <algorithm>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"

namespace Prelix10 {

CancellationToken::~CancellationToken() {
    {
        std::lock_guard guard(timerMutex_);
        stopTimer_ = true;
        deadline_.reset();
    }
    timerWake_.notify_all();
    if (timer_.joinable()) timer_.join();
}

void CancellationToken::cancel(std::int64_t afterMilliseconds) {
    {
        std::lock_guard guard(timerMutex_);
        deadline_ = Deadline::after(afterMilliseconds);
        if (!timer_.joinable()) timer_ = std::thread([this] { runTimer(); });
    }
    timerWake_.notify_all();
}

void CancellationToken::cancelPendingWorkItem() {
    {
        std::lock_guard guard(timerMutex_);
        deadline_.reset();
    }
    timerWake_.notify_all();
}

bool CancellationToken::hasPendingWorkItem() const {
    std::lock_guard guard(timerMutex_);
    return deadline_.has_value();
}

void CancellationToken::runTimer() {
    std::unique_lock lock(timerMutex_);
    while (!stopTimer_) {
        if (!deadline_) {
            timerWake_.wait(lock, [this] { return stopTimer_ || deadline_.has_value(); });
            continue;
        }
        const auto deadline = *deadline_;
        // Re-armed or disarmed items change deadline_, so the wait ends and the loop looks again.
        if (timerWake_.wait_until(lock, deadline, [this, deadline] { return stopTimer_ || deadline_ != deadline; })) {
            continue;
        }
        deadline_.reset();
        isCancelled_.store(true);
    }
}

void Cancelable::startOperation() {
    std::lock_guard guard(lock_);
    Log log(this, "startOperation()", __LINE__);
    auto* protocol = dynamic_cast<CancelableProtocol*>(this);
    if (!protocol) raiseUnexpectedState(log, 47);
    joinCancellation(startJoinTimeout_.load());
    if (isOperating_->load()) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::alreadyStarted));
    }
    protocol->operationWillStart();
    isOperating_->store(true);
    cancellationToken_->cancelPendingWorkItem();
    cancellationToken_->setIsCancelled(false);
    if (const auto time = cancelTime_.load(); time >= 0) cancellationToken_->cancel(time);
    std::weak_ptr<std::atomic<bool>> operating = isOperating_;
    try {
        protocol->runOperation([operating] {
            if (auto flag = operating.lock()) flag->store(false);
        });
    } catch (...) {
        // A run that could not be started is no run.
        isOperating_->store(false);
        throw;
    }
}

void Cancelable::joinCancellation(int timeoutMilliseconds) {
    Stopwatch stopwatch;
    stopwatch.start();
    if (!isOperating_->load()) return;
    for (;;) {
        if (!cancellationToken_->isCancelled()) return;
        if (static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()) >= timeoutMilliseconds) {
            Log log(this, "joinCancellation(timeout:)", __LINE__);
            raiseError(log, Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!isOperating_->load()) return;
    }
}

}  // namespace Prelix10
