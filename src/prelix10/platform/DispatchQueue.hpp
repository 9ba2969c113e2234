#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace Prelix10 {

// A FIFO queue served by one worker thread. Work items never throw past the worker: an exception
// escaping an item is swallowed. The destructor runs the items already queued, then joins the worker,
// unless it runs on the worker itself (the last reference can go inside an item), in which case the
// worker ends on its own after the queued items; process exit waits for it (bounded, see GlobalQueue).
class SerialQueue {
public:
    explicit SerialQueue(std::string label);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& label() const { return label_; }
    void async(std::function<void()> work);
    // Runs the item on the queue and waits for it; runs it at once when called on the queue itself.
    void sync(const std::function<void()>& work);
    bool isCurrent() const;

private:
    struct State;
    std::string label_;
    std::shared_ptr<State> state_;
    std::thread worker_;
};

// The process-wide concurrent queue. It adds a thread whenever no worker is idle, so long blocking items
// never starve short ones; idle workers end after a few seconds.
//
// Process exit: when the main thread begins to exit (before any static object is destroyed), the library
// says so through isShuttingDown(), and waits at most half a second for the queue's workers and for serial
// workers that outlived their queue to end; long-running items (discovery loops) poll isShuttingDown() and
// end within a few milliseconds. Nothing at exit waits longer than that.
class GlobalQueue {
public:
    static void async(std::function<void()> work);
    // True once the process has begun to exit: long-running items end as if cancelled.
    static bool isShuttingDown();
    // Stops the pool for process exit: waits until the deadline for busy workers, joins those that ended.
    static void stopForExit(std::chrono::steady_clock::time_point deadline);
    // Number of worker threads alive now (for tests).
    static std::size_t threadCount();

private:
    struct Pool;
    static Pool& pool();
};

}  // namespace Prelix10
