#include "prelix10/platform/Semaphore.hpp"

namespace Prelix10 {

void Semaphore::signal() {
    // Notified under the lock: a waiter that returns may destroy the semaphore at once.
    std::lock_guard lock(mutex_);
    ++value_;
    condition_.notify_one();
}

void Semaphore::wait() {
    std::unique_lock lock(mutex_);
    condition_.wait(lock, [this] { return value_ > 0; });
    --value_;
}

bool Semaphore::waitUntil(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    if (!condition_.wait_until(lock, deadline, [this] { return value_ > 0; })) return false;
    --value_;
    return true;
}

void DispatchGroup::enter() {
    std::lock_guard lock(mutex_);
    ++count_;
}

void DispatchGroup::leave() {
    std::lock_guard lock(mutex_);
    if (count_ > 0) --count_;
    if (count_ == 0) condition_.notify_all();
}

void DispatchGroup::wait() {
    std::unique_lock lock(mutex_);
    condition_.wait(lock, [this] { return count_ == 0; });
}

bool DispatchGroup::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return condition_.wait_until(lock, Deadline::after(timeout), [this] { return count_ == 0; });
}

}  // namespace Prelix10
