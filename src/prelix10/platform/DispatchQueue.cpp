#include "prelix10/platform/DispatchQueue.hpp"

#include <chrono>

namespace Prelix10 {

namespace {
void runGuarded(const std::function<void()>& work) noexcept {
    try {
        work();
    } catch (...) {
        // Nothing escapes a queue's thread.
    }
}
}  // namespace

struct SerialQueue::State {
    std::mutex mutex;
    std::condition_variable condition;
    std::deque<std::function<void()>> items;
    bool stopping = false;
    std::thread::id workerId;
};

SerialQueue::SerialQueue(std::string label) : label_(std::move(label)), state_(std::make_shared<State>()) {
    auto state = state_;
    std::lock_guard lock(state->mutex);
    worker_ = std::thread([state] {
        for (;;) {
            std::function<void()> item;
            {
                std::unique_lock lock(state->mutex);
                state->condition.wait(lock, [&] { return state->stopping || !state->items.empty(); });
                if (state->items.empty()) return;
                item = std::move(state->items.front());
                state->items.pop_front();
            }
            runGuarded(item);
        }
    });
    state->workerId = worker_.get_id();
}

SerialQueue::~SerialQueue() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stopping = true;
    }
    state_->condition.notify_all();
    if (!worker_.joinable()) return;
    if (std::this_thread::get_id() == worker_.get_id()) {
        worker_.detach();
    } else {
        worker_.join();
    }
}

void SerialQueue::async(std::function<void()> work) {
    // Notified under the lock: once the item is queued it may destroy this queue, so nothing here may
    // touch the queue after the lock is released.
    std::lock_guard lock(state_->mutex);
    state_->items.push_back(std::move(work));
    state_->condition.notify_one();
}

bool SerialQueue::isCurrent() const {
    std::lock_guard lock(state_->mutex);
    return std::this_thread::get_id() == state_->workerId;
}

void SerialQueue::sync(const std::function<void()>& work) {
    if (isCurrent()) {
        runGuarded(work);
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneCondition;
    bool done = false;
    async([&] {
        runGuarded(work);
        std::lock_guard lock(doneMutex);
        done = true;
        doneCondition.notify_all();
    });
    std::unique_lock lock(doneMutex);
    doneCondition.wait(lock, [&] { return done; });
}

// Each queued item is handed to a worker reserved for it: either an idle worker (taken off the idle count
// when the item is queued) or a new thread started with the item. So an item never waits behind another
// worker's long item.
struct GlobalQueue::Pool {
    std::mutex mutex;
    std::condition_variable condition;
    std::deque<std::function<void()>> items;
    std::list<std::thread> workers;
    std::list<std::thread::id> finished;
    std::size_t idle = 0;  // waiting workers not yet reserved for an item
    std::size_t alive = 0;
    bool stopping = false;

    ~Pool() {
        std::list<std::thread> toJoin;
        {
            std::lock_guard lock(mutex);
            stopping = true;
            toJoin.swap(workers);
        }
        condition.notify_all();
        for (auto& t : toJoin) {
            if (t.joinable()) t.join();
        }
    }

    void reapFinished() {
        // Called with the mutex held: join workers that have ended.
        for (auto id : finished) {
            for (auto it = workers.begin(); it != workers.end(); ++it) {
                if (it->get_id() == id) {
                    it->join();
                    workers.erase(it);
                    break;
                }
            }
        }
        finished.clear();
    }

    void workerLoop(std::function<void()> first) {
        runGuarded(first);
        std::unique_lock lock(mutex);
        for (;;) {
            ++idle;
            condition.wait_for(lock, std::chrono::seconds(5), [&] { return stopping || !items.empty(); });
            if (!items.empty()) {
                // The item's queuing already took one off the idle count for it.
                auto item = std::move(items.front());
                items.pop_front();
                lock.unlock();
                runGuarded(item);
                lock.lock();
                continue;
            }
            --idle;
            break;  // stopping, or idle too long with nothing reserved for this worker
        }
        --alive;
        if (!stopping) finished.push_back(std::this_thread::get_id());
    }
};

GlobalQueue::Pool& GlobalQueue::pool() {
    static Pool instance;
    return instance;
}

void GlobalQueue::async(std::function<void()> work) {
    auto& p = pool();
    std::lock_guard lock(p.mutex);
    p.reapFinished();
    if (p.idle > 0) {
        --p.idle;
        p.items.push_back(std::move(work));
        p.condition.notify_one();
        return;
    }
    ++p.alive;
    p.workers.emplace_back([&p, first = std::move(work)]() mutable { p.workerLoop(std::move(first)); });
}

std::size_t GlobalQueue::threadCount() {
    auto& p = pool();
    std::lock_guard lock(p.mutex);
    return p.alive;
}

}  // namespace Prelix10
