#include "prelix10/platform/DispatchQueue.hpp"

#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>

namespace Prelix10 {

namespace {
void runGuarded(const std::function<void()>& work) noexcept {
    try {
        work();
    } catch (...) {
        // Nothing escapes a queue's thread.
    }
}

// What process exit waits for, and the flag that tells long-running work that the process is ending. Lives
// until the process ends (never destroyed), so a thread that outlasts the wait at exit still finds it.
struct ExitWatch {
    std::mutex mutex;
    std::condition_variable ended;
    std::size_t busySerialWorkers = 0;  // serial-queue workers running (or destroying) an item
    std::atomic<bool> exiting{false};
    std::atomic<bool> done{false};
};

ExitWatch& exitWatch() {
    static ExitWatch* watch = new ExitWatch();
    return *watch;
}

// Set on the worker thread of every serial queue.
thread_local bool currentIsSerialWorker = false;

// How long process exit waits for the library's threads to end before it goes on without them.
constexpr auto kExitWait = std::chrono::milliseconds(500);

void shutDownAtExit();

// Destroyed when the main thread begins to exit, before any object of static storage duration is destroyed
// (the thread's own objects are destroyed first), so the library's threads end while the statics they read
// still stand.
struct MainThreadExitGuard {
    ~MainThreadExitGuard() { shutDownAtExit(); }
};

void armExitGuard() {
    thread_local bool armed = false;
    if (armed) return;
    armed = true;
    static std::once_flag atExit;
    // Fallback for a process whose main thread never queues work: runs with the other exit handlers.
    std::call_once(atExit, [] { std::atexit(shutDownAtExit); });
    if (static_cast<long>(::syscall(SYS_gettid)) == static_cast<long>(::getpid())) {
        thread_local MainThreadExitGuard guard;
        (void)guard;
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
    armExitGuard();
    auto state = state_;
    std::lock_guard lock(state->mutex);
    worker_ = std::thread([state] {
        currentIsSerialWorker = true;
        for (;;) {
            std::function<void()> item;
            {
                std::unique_lock lock(state->mutex);
                state->condition.wait(lock, [&] { return state->stopping || !state->items.empty(); });
                if (state->items.empty()) return;
                item = std::move(state->items.front());
                state->items.pop_front();
            }
            // Counted from here until the item is destroyed, which can release the queue's owner (and so
            // the queue): process exit waits for that work.
            auto& watch = exitWatch();
            {
                std::lock_guard watchLock(watch.mutex);
                ++watch.busySerialWorkers;
            }
            runGuarded(item);
            item = nullptr;
            {
                std::lock_guard watchLock(watch.mutex);
                --watch.busySerialWorkers;
                watch.ended.notify_all();
            }
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
        // The worker finishes the current item and those still queued on its own; process exit waits
        // (bounded) for the item it runs.
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
// worker's long item. The pool lives until the process ends; at exit its workers are asked to stop and
// waited for, within a bound.
struct GlobalQueue::Pool {
    std::mutex mutex;
    std::condition_variable condition;
    std::deque<std::function<void()>> items;
    std::list<std::thread> workers;
    std::list<std::thread::id> finished;
    std::size_t idle = 0;  // waiting workers not yet reserved for an item
    std::size_t alive = 0;
    bool stopping = false;

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

    // Each item is destroyed before the pool's lock is taken again: destroying what it holds may queue work.
    void workerLoop(std::function<void()> first) {
        runGuarded(first);
        first = nullptr;
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
                item = nullptr;
                lock.lock();
                continue;
            }
            --idle;
            break;  // stopping, or idle too long with nothing reserved for this worker
        }
        --alive;
        finished.push_back(std::this_thread::get_id());
        condition.notify_all();
    }

    // At exit: idle workers end at once, busy ones see GlobalQueue::isShuttingDown() and are waited for until
    // the deadline; the workers that have ended are joined, the others left to the end of the process.
    void stopAndJoin(std::chrono::steady_clock::time_point deadline) {
        std::list<std::thread> ended;
        {
            std::unique_lock lock(mutex);
            stopping = true;
            condition.notify_all();
            const auto self = std::this_thread::get_id();
            // A worker that runs the exit itself is not waited for.
            const std::size_t own = std::any_of(workers.begin(), workers.end(),
                                                [&](const std::thread& t) { return t.get_id() == self; }) ? 1 : 0;
            condition.wait_until(lock, deadline, [&] { return alive <= own; });
            for (auto id : finished) {
                for (auto it = workers.begin(); it != workers.end(); ++it) {
                    if (it->get_id() == id) {
                        ended.splice(ended.end(), workers, it);
                        break;
                    }
                }
            }
            finished.clear();
            for (auto& t : workers) t.detach();
            workers.clear();
        }
        for (auto& t : ended) t.join();
    }
};

GlobalQueue::Pool& GlobalQueue::pool() {
    static Pool* instance = new Pool();  // never destroyed: see stopAndJoin
    return *instance;
}

bool GlobalQueue::isShuttingDown() { return exitWatch().exiting.load(std::memory_order_acquire); }

namespace {
void shutDownAtExit() {
    auto& watch = exitWatch();
    if (watch.done.exchange(true)) return;
    watch.exiting.store(true, std::memory_order_release);
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    GlobalQueue::stopForExit(deadline);
    std::unique_lock lock(watch.mutex);
    // The thread that exits may itself be running an item of a serial queue.
    watch.ended.wait_until(lock, deadline, [&] { return watch.busySerialWorkers <= (currentIsSerialWorker ? 1u : 0u); });
}
}  // namespace

void GlobalQueue::stopForExit(std::chrono::steady_clock::time_point deadline) { pool().stopAndJoin(deadline); }

void GlobalQueue::async(std::function<void()> work) {
    armExitGuard();
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
