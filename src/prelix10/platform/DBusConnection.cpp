#include "prelix10/platform/DBusConnection.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <list>
#include <map>
#include <mutex>
#include <optional>

namespace Prelix10 {

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

struct DBusConnection::Shared {
    struct Box {
        Shared* shared = nullptr;
        MessageHandler handler;
    };

    ~Shared() {
        if (wakeFd >= 0) ::close(wakeFd);
    }

    void wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
    }

    static int onMessage(sd_bus_message* message, void* userdata, sd_bus_error*) {
        auto* box = static_cast<Box*>(userdata);
        try {
            if (box->handler) box->handler(message);
        } catch (...) {
            // A handler must not end the event thread.
        }
        return 0;
    }

    static int onReply(sd_bus_message* message, void* userdata, sd_bus_error*) {
        auto* box = static_cast<Box*>(userdata);
        Shared* shared = box->shared;
        MessageHandler handler = std::move(box->handler);
        shared->calls.erase(box);
        try {
            if (handler) handler(message);
        } catch (...) {
            // A handler must not end the event thread.
        }
        return 0;
    }

    std::mutex mutex;
    std::deque<Work> work;
    std::multimap<Clock::time_point, Work> timed;
    bool stopping = false;
    int wakeFd = -1;
    std::thread::id worker;

    // Event thread only.
    sd_bus* bus = nullptr;
    bool open = false;
    std::list<std::unique_ptr<Box>> matches;
    std::map<Box*, std::unique_ptr<Box>> calls;
};

std::string DBusConnection::systemBusAddress() {
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (address && *address) return address;
    return "unix:path=/run/dbus/system_bus_socket";
}

DBusConnection::DBusConnection(std::string address, ClosedHandler closed, ReopenedHandler reopened)
    : shared_(std::make_shared<Shared>()) {
    shared_->wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    auto shared = shared_;
    std::lock_guard lock(shared->mutex);
    thread_ = std::thread([shared, address = std::move(address), closed = std::move(closed),
                           reopened = std::move(reopened)] { run(shared, address, closed, reopened); });
    shared->worker = thread_.get_id();
}

DBusConnection::~DBusConnection() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake();
    if (std::this_thread::get_id() == thread_.get_id()) {
        thread_.detach();
    } else if (thread_.joinable()) {
        thread_.join();
    }
}

void DBusConnection::post(Work work) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->stopping) return;
        shared_->work.push_back(std::move(work));
    }
    shared_->wake();
}

void DBusConnection::postAfter(std::chrono::milliseconds delay, Work work) {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->stopping) return;
        shared_->timed.emplace(Clock::now() + std::max(delay, std::chrono::milliseconds(0)), std::move(work));
    }
    shared_->wake();
}

bool DBusConnection::isEventThread() const {
    std::lock_guard lock(shared_->mutex);
    return std::this_thread::get_id() == shared_->worker;
}

bool DBusConnection::addMatch(const std::string& rule, MessageHandler handler) {
    if (!shared_->bus || !shared_->open) return false;
    auto box = std::make_unique<Shared::Box>();
    box->shared = shared_.get();
    box->handler = std::move(handler);
    if (sd_bus_add_match(shared_->bus, nullptr, rule.c_str(), &Shared::onMessage, box.get()) < 0) return false;
    shared_->matches.push_back(std::move(box));
    return true;
}

bool DBusConnection::callAsync(sd_bus_message* call, std::chrono::milliseconds timeout, MessageHandler reply) {
    if (!shared_->bus || !shared_->open || !call) return false;
    auto box = std::make_unique<Shared::Box>();
    box->shared = shared_.get();
    box->handler = std::move(reply);
    const auto usec = static_cast<std::uint64_t>(std::max<std::int64_t>(timeout.count(), 1)) * 1000u;
    if (sd_bus_call_async(shared_->bus, nullptr, call, &Shared::onReply, box.get(), usec) < 0) return false;
    auto* key = box.get();
    shared_->calls.emplace(key, std::move(box));
    return true;
}

std::pair<std::string, std::string> DBusConnection::errorOf(sd_bus_message* reply) {
    if (!reply || !sd_bus_message_is_method_error(reply, nullptr)) return {};
    const sd_bus_error* error = sd_bus_message_get_error(reply);
    if (!error || !error->name) return {"org.freedesktop.DBus.Error.Failed", ""};
    return {error->name, error->message ? error->message : ""};
}

namespace {

sd_bus* connect(const std::string& address, int& error) {
    sd_bus* bus = nullptr;
    int r = sd_bus_new(&bus);
    if (r >= 0) r = sd_bus_set_address(bus, address.c_str());
    if (r >= 0) r = sd_bus_set_bus_client(bus, 1);
    if (r >= 0) r = sd_bus_start(bus);
    if (r < 0) {
        if (bus) sd_bus_unref(bus);
        error = -r;
        return nullptr;
    }
    return bus;
}

int pollTimeout(sd_bus* bus, std::optional<Clock::time_point> due) {
    std::int64_t ms = -1;
    std::uint64_t usec = 0;
    if (bus && sd_bus_get_timeout(bus, &usec) >= 0 && usec != UINT64_MAX) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const std::uint64_t nowUsec = static_cast<std::uint64_t>(now.tv_sec) * 1000000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000u;
        ms = usec > nowUsec ? static_cast<std::int64_t>((usec - nowUsec + 999) / 1000) : 0;
    }
    if (due) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()).count();
        const std::int64_t wait = std::max<std::int64_t>(left, 0);
        ms = ms < 0 ? wait : std::min(ms, wait);
    }
    return static_cast<int>(std::min<std::int64_t>(ms, 60000));
}

}  // namespace

void DBusConnection::run(const std::shared_ptr<Shared>& shared, const std::string& address,
                         const ClosedHandler& closed, const ReopenedHandler& reopened) {
    auto report = [&](int error) {
        if (!closed) return;
        try {
            closed(error);
        } catch (...) {
            // A handler must not end the event thread.
        }
    };
    std::chrono::milliseconds backoff = kFirstRetry;
    std::optional<Clock::time_point> retryAt;
    auto attempt = [&](bool again) {
        int error = 0;
        shared->bus = connect(address, error);
        shared->open = shared->bus != nullptr;
        if (!shared->open) {
            retryAt = Clock::now() + backoff;
            backoff = std::min(backoff * 2, kLongestRetry);
            report(error ? error : ECONNREFUSED);
            return;
        }
        backoff = kFirstRetry;
        retryAt.reset();
        if (!again || !reopened) return;
        try {
            reopened(shared->bus);
        } catch (...) {
            // A handler must not end the event thread.
        }
    };
    // The bus went away: its matches go with it, and every call still waiting hears of it at once.
    auto lose = [&](int error) {
        sd_bus_close(shared->bus);
        sd_bus_unref(shared->bus);
        shared->bus = nullptr;
        shared->open = false;
        shared->matches.clear();
        auto waiting = std::move(shared->calls);
        shared->calls.clear();
        for (auto& [key, box] : waiting) {
            try {
                if (box->handler) box->handler(nullptr);
            } catch (...) {
                // A handler must not end the event thread.
            }
        }
        retryAt = Clock::now() + backoff;
        backoff = std::min(backoff * 2, kLongestRetry);
        report(error);
    };
    attempt(false);

    for (;;) {
        std::deque<DBusConnection::Work> work;
        std::optional<Clock::time_point> due;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->stopping) break;
            work.swap(shared->work);
            const auto now = Clock::now();
            while (!shared->timed.empty() && shared->timed.begin()->first <= now) {
                work.push_back(std::move(shared->timed.begin()->second));
                shared->timed.erase(shared->timed.begin());
            }
            if (!shared->timed.empty()) due = shared->timed.begin()->first;
        }
        bool stop = false;
        for (auto& item : work) {
            try {
                item(shared->open ? shared->bus : nullptr);
            } catch (...) {
                // Work must not end the event thread.
            }
            item = nullptr;
            std::lock_guard lock(shared->mutex);
            if (shared->stopping) {
                stop = true;
                break;
            }
        }
        if (stop) break;
        if (!work.empty()) continue;

        if (!shared->open && retryAt && Clock::now() >= *retryAt) {
            attempt(true);
            continue;
        }
        if (!shared->open && retryAt) due = due ? std::min(*due, *retryAt) : *retryAt;

        if (shared->open) {
            const int r = sd_bus_process(shared->bus, nullptr);
            {
                std::lock_guard lock(shared->mutex);
                if (shared->stopping) break;
            }
            if (r < 0) {
                lose(-r);
                continue;
            }
            if (r > 0) continue;
        }

        pollfd fds[2]{};
        fds[0].fd = shared->wakeFd;
        fds[0].events = POLLIN;
        nfds_t count = 1;
        if (shared->open) {
            const int events = sd_bus_get_events(shared->bus);
            fds[1].fd = sd_bus_get_fd(shared->bus);
            fds[1].events = static_cast<short>(events > 0 ? events : POLLIN);
            count = 2;
        }
        ::poll(fds, count, pollTimeout(shared->open ? shared->bus : nullptr, due));
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            [[maybe_unused]] const auto got = ::read(shared->wakeFd, &value, sizeof value);
        }
    }

    // Pending replies and matches are dropped with the bus; their handlers go with the shared state.
    if (shared->bus) {
        sd_bus_close(shared->bus);
        sd_bus_unref(shared->bus);
        shared->bus = nullptr;
    }
    shared->open = false;
    std::lock_guard lock(shared->mutex);
    shared->work.clear();
    shared->timed.clear();
}

}  // namespace Prelix10
