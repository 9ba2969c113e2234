#include "prelix10/platform/FileDescriptorAccessoryLink.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

namespace Prelix10 {

namespace {

constexpr std::chrono::milliseconds kCloseDrainLimit{2000};
// A device whose reads fail this many times in a row, with nothing read between, is taken as gone.
constexpr int kReadErrorLimit = 5;

// What the link thread and both streams share. The thread holds it too, so that it outlives a link that
// is dropped on the thread itself.
struct LinkCore {
    int fd = -1;
    int wakeFd = -1;
    bool isSocket = false;
    // A character device that is neither a socket nor a terminal (a printer-class node): a read of nothing
    // means no bytes now, an EIO is the driver reporting one failed transfer, and a write may still be in
    // flight when the write call has returned.
    bool isCharacterDevice = false;
    // EIOs read in a row; a device that keeps failing is given up.
    int readErrorsInARow = 0;
    std::shared_ptr<DescriptorCalls> calls = DescriptorCalls::system();

    std::mutex mutex;
    bool inputOpen = false;
    bool outputOpen = false;
    bool inputClosed = false;
    bool outputClosed = false;
    bool ended = false;
    bool stop = false;
    // An event is reported once, then again only after the stream was used (read or written).
    bool readArmed = true;
    bool writeArmed = true;
    AccessoryStreamEventHandler inputHandler;
    AccessoryStreamEventHandler outputHandler;

    ~LinkCore() {
        if (fd >= 0) calls->close(fd);
        if (wakeFd >= 0) ::close(wakeFd);
    }

    void wake() const {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wakeFd, &one, sizeof(one));
    }
    // Marks both streams ended and hands back their handlers, to be called with no lock held.
    void endLocked(AccessoryStreamEventHandler& input, AccessoryStreamEventHandler& output) {
        if (ended) return;
        ended = true;
        if (!inputClosed) input = inputHandler;
        if (!outputClosed) output = outputHandler;
    }
};

void deliver(const AccessoryStreamEventHandler& handler, AccessoryStreamEvent event) {
    if (!handler) return;
    try {
        handler(event);
    } catch (...) {
        // A handler's failure stays with the handler.
    }
}

void endAndReport(LinkCore& core, AccessoryStreamEvent event) {
    AccessoryStreamEventHandler input;
    AccessoryStreamEventHandler output;
    {
        std::lock_guard lock(core.mutex);
        core.endLocked(input, output);
    }
    deliver(input, event);
    deliver(output, event);
}

// A printer-class driver takes a non-blocking write, returns, and cancels the transfer still under way when
// the node is closed: the tail of the last write (a drawer kick, the end of an image) would be lost. Before
// closing, wait a bounded time for the driver to report room to write again, which it does once the transfer
// is done. A device that has gone away is not waited for.
void drainBeforeClose(LinkCore& core) {
    {
        std::lock_guard lock(core.mutex);
        if (!core.isCharacterDevice || core.ended || core.fd < 0) return;
    }
    const auto deadline = std::chrono::steady_clock::now() + kCloseDrainLimit;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        pollfd p{core.fd, POLLOUT, 0};
        const int ready = core.calls->poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 100)));
        if (ready < 0 && errno != EINTR) return;
        if (ready > 0 && (p.revents & (POLLOUT | POLLERR | POLLHUP | POLLNVAL))) return;
    }
}

void runLink(const std::shared_ptr<LinkCore>& core) {
    for (;;) {
        short events = 0;
        bool watchDevice = false;
        {
            std::lock_guard lock(core->mutex);
            if (core->stop) break;
            watchDevice = !core->ended;
            if (watchDevice) {
                if (core->inputOpen && !core->inputClosed && core->readArmed) events |= POLLIN;
                if (core->outputOpen && !core->outputClosed && core->writeArmed) events |= POLLOUT;
            }
        }
        // With no event armed the device is still watched for a hang-up or an error (poll always reports
        // those); once the link has ended only the wake descriptor is.
        pollfd fds[2] = {{core->wakeFd, POLLIN, 0}, {watchDevice ? core->fd : -1, events, 0}};
        const int ready = core->calls->poll(fds, 2, 1000);
        if (ready < 0) {
            if (errno == EINTR) continue;
            endAndReport(*core, AccessoryStreamEvent::errorOccurred);
            break;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t value = 0;
            [[maybe_unused]] const auto n = ::read(core->wakeFd, &value, sizeof(value));
        }
        const short got = fds[1].revents;
        if (got & (POLLERR | POLLNVAL)) {
            endAndReport(*core, AccessoryStreamEvent::errorOccurred);
            continue;
        }
        AccessoryStreamEventHandler input;
        AccessoryStreamEventHandler output;
        {
            std::lock_guard lock(core->mutex);
            if (core->ended) continue;
            if ((got & POLLIN) && core->readArmed) {
                core->readArmed = false;
                input = core->inputHandler;
            }
            if ((got & POLLOUT) && core->writeArmed) {
                core->writeArmed = false;
                output = core->outputHandler;
            }
        }
        deliver(input, AccessoryStreamEvent::hasBytesAvailable);
        deliver(output, AccessoryStreamEvent::hasSpaceAvailable);
        // A hang-up with no bytes left to read is the end of the link. Bytes still waiting are read first.
        if ((got & POLLHUP) && !(got & POLLIN)) endAndReport(*core, AccessoryStreamEvent::endEncountered);
        if ((got & POLLHUP) && (got & POLLIN)) {
            // Leave time for the reader; without this the loop would spin on the hang-up.
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::lock_guard lock(core->mutex);
            core->readArmed = true;
        }
    }
    drainBeforeClose(*core);
    std::lock_guard lock(core->mutex);
    if (core->fd >= 0) {
        core->calls->close(core->fd);
        core->fd = -1;
    }
}

// Owns the thread; the streams and the session share it.
class Link {
public:
    explicit Link(std::shared_ptr<LinkCore> core) : core_(std::move(core)) {
        thread_ = std::thread([core = core_] { runLink(core); });
    }
    ~Link() { stop(); }

    void stop() {
        {
            std::lock_guard lock(core_->mutex);
            core_->stop = true;
        }
        core_->wake();
        // Joined outside the lock: a handler on the link thread may close a stream, and so stop, too.
        std::thread thread;
        {
            std::lock_guard lock(threadMutex_);
            if (!thread_.joinable()) return;
            if (thread_.get_id() == std::this_thread::get_id()) {
                // Dropped on its own thread: it ends by itself, holding what it needs.
                thread_.detach();
                return;
            }
            thread = std::move(thread_);
        }
        thread.join();
    }
    void stopIfBothClosed() {
        bool both;
        {
            std::lock_guard lock(core_->mutex);
            both = core_->inputClosed && core_->outputClosed;
        }
        if (both) stop();
    }
    LinkCore& core() { return *core_; }

private:
    std::shared_ptr<LinkCore> core_;
    std::mutex threadMutex_;
    std::thread thread_;
};

class FdInput final : public AccessoryInputStream {
public:
    explicit FdInput(std::shared_ptr<Link> link) : link_(std::move(link)) {}
    ~FdInput() override = default;

    void open() override {
        AccessoryStreamEventHandler handler;
        {
            std::lock_guard lock(core().mutex);
            if (core().inputClosed || core().inputOpen) return;
            core().inputOpen = true;
            core().readArmed = true;
            handler = core().inputHandler;
        }
        core().wake();
        deliver(handler, AccessoryStreamEvent::openCompleted);
    }
    void close() override {
        {
            std::lock_guard lock(core().mutex);
            core().inputClosed = true;
            core().inputHandler = nullptr;
        }
        link_->stopIfBothClosed();
    }
    bool hasBytesAvailable() const override {
        int fd;
        {
            std::lock_guard lock(core().mutex);
            if (core().inputClosed || !core().inputOpen || core().fd < 0) return false;
            fd = core().fd;
        }
        pollfd p{fd, POLLIN, 0};
        return core().calls->poll(&p, 1, 0) > 0 && (p.revents & POLLIN);
    }
    long read(std::uint8_t* buffer, std::size_t maxLength) override {
        std::unique_lock lock(core().mutex);
        if (core().inputClosed || !core().inputOpen || core().fd < 0) return -1;
        if (maxLength == 0) return 0;
        const ssize_t n = core().calls->read(core().fd, buffer, maxLength);
        const int error = errno;
        core().readArmed = true;
        if (n > 0) {
            core().readErrorsInARow = 0;
            lock.unlock();
            core().wake();
            return static_cast<long>(n);
        }
        // On a printer-class node a transfer that completed empty reads as 0, and one failed transfer reads
        // as EIO before the driver starts the next: neither ends the link. An unplug reads as ENODEV, and
        // the device list's re-scan sees it too.
        const bool transient =
            (n < 0 && (error == EAGAIN || error == EWOULDBLOCK || error == EINTR)) ||
            (core().isCharacterDevice &&
             (n == 0 || (n < 0 && error == EIO && ++core().readErrorsInARow < kReadErrorLimit)));
        if (transient) {
            lock.unlock();
            core().wake();
            return 0;
        }
        // End of file (the far end closed) or a device error: the link is over.
        AccessoryStreamEventHandler input;
        AccessoryStreamEventHandler output;
        core().endLocked(input, output);
        lock.unlock();
        core().wake();
        deliver(input, AccessoryStreamEvent::endEncountered);
        deliver(output, AccessoryStreamEvent::endEncountered);
        return -1;
    }
    void setEventHandler(AccessoryStreamEventHandler handler) override {
        std::lock_guard lock(core().mutex);
        if (!core().inputClosed) core().inputHandler = std::move(handler);
    }

private:
    LinkCore& core() const { return link_->core(); }
    std::shared_ptr<Link> link_;
};

class FdOutput final : public AccessoryOutputStream {
public:
    explicit FdOutput(std::shared_ptr<Link> link) : link_(std::move(link)) {}

    void open() override {
        AccessoryStreamEventHandler handler;
        {
            std::lock_guard lock(core().mutex);
            if (core().outputClosed || core().outputOpen) return;
            core().outputOpen = true;
            core().writeArmed = true;
            handler = core().outputHandler;
        }
        core().wake();
        deliver(handler, AccessoryStreamEvent::openCompleted);
    }
    void close() override {
        {
            std::lock_guard lock(core().mutex);
            core().outputClosed = true;
            core().outputHandler = nullptr;
        }
        link_->stopIfBothClosed();
    }
    bool hasSpaceAvailable() const override {
        int fd;
        {
            std::lock_guard lock(core().mutex);
            if (core().ended || core().outputClosed || !core().outputOpen || core().fd < 0) return false;
            fd = core().fd;
        }
        pollfd p{fd, POLLOUT, 0};
        return core().calls->poll(&p, 1, 0) > 0 && (p.revents & POLLOUT) &&
               !(p.revents & (POLLERR | POLLHUP | POLLNVAL));
    }
    long write(const std::uint8_t* bytes, std::size_t length) override {
        std::unique_lock lock(core().mutex);
        if (core().ended || core().outputClosed || !core().outputOpen || core().fd < 0) return -1;
        if (length == 0) return 0;
        // A socket whose peer went away must not raise SIGPIPE in the application.
        const ssize_t n = core().isSocket ? ::send(core().fd, bytes, length, MSG_NOSIGNAL)
                                          : core().calls->write(core().fd, bytes, length);
        core().writeArmed = true;
        if (n >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ENOTCONN) {
            lock.unlock();
            core().wake();
            return n > 0 ? static_cast<long>(n) : 0;
        }
        AccessoryStreamEventHandler input;
        AccessoryStreamEventHandler output;
        core().endLocked(input, output);
        lock.unlock();
        core().wake();
        deliver(input, AccessoryStreamEvent::errorOccurred);
        deliver(output, AccessoryStreamEvent::errorOccurred);
        return -1;
    }
    void setEventHandler(AccessoryStreamEventHandler handler) override {
        std::lock_guard lock(core().mutex);
        if (!core().outputClosed) core().outputHandler = std::move(handler);
    }

private:
    LinkCore& core() const { return link_->core(); }
    std::shared_ptr<Link> link_;
};

class FdSession final : public AccessorySession {
public:
    FdSession(std::shared_ptr<Link> link, std::shared_ptr<Accessory> accessory, std::string protocolString)
        : link_(link),
          accessory_(std::move(accessory)),
          protocolString_(std::move(protocolString)),
          input_(std::make_shared<FdInput>(link)),
          output_(std::make_shared<FdOutput>(link)) {}

    std::shared_ptr<Accessory> accessory() const override { return accessory_; }
    std::string protocolString() const override { return protocolString_; }
    std::shared_ptr<AccessoryInputStream> inputStream() const override { return input_; }
    std::shared_ptr<AccessoryOutputStream> outputStream() const override { return output_; }

    void end() {
        endAndReport(link_->core(), AccessoryStreamEvent::endEncountered);
        link_->core().wake();
    }
    bool isOpen() {
        std::lock_guard lock(link_->core().mutex);
        const auto& core = link_->core();
        return !core.ended && !(core.inputClosed && core.outputClosed);
    }

private:
    std::shared_ptr<Link> link_;
    std::shared_ptr<Accessory> accessory_;
    std::string protocolString_;
    std::shared_ptr<FdInput> input_;
    std::shared_ptr<FdOutput> output_;
};

}  // namespace

std::shared_ptr<AccessorySession> FileDescriptorAccessoryLink::makeSession(int fd, std::shared_ptr<Accessory> accessory,
                                                                           std::string protocolString,
                                                                           std::shared_ptr<DescriptorCalls> calls) {
    if (fd < 0) return nullptr;
    auto core = std::make_shared<LinkCore>();
    if (calls) core->calls = std::move(calls);
    core->fd = fd;
    core->wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (core->wakeFd < 0) return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return nullptr;
    struct stat info{};
    core->isSocket = ::fstat(fd, &info) == 0 && S_ISSOCK(info.st_mode);
    const bool terminal = ::isatty(fd);
    core->isCharacterDevice = !core->isSocket && !terminal;
    if (terminal) {
        termios mode{};
        if (::tcgetattr(fd, &mode) == 0) {
            ::cfmakeraw(&mode);
            mode.c_cflag |= CLOCAL | CREAD;
            ::tcsetattr(fd, TCSANOW, &mode);
        }
    }
    auto link = std::make_shared<Link>(std::move(core));
    return std::make_shared<FdSession>(std::move(link), std::move(accessory), std::move(protocolString));
}

void FileDescriptorAccessoryLink::endSession(const std::shared_ptr<AccessorySession>& session) {
    if (auto* fdSession = dynamic_cast<FdSession*>(session.get())) fdSession->end();
}

bool FileDescriptorAccessoryLink::isOpen(const std::shared_ptr<AccessorySession>& session) {
    auto* fdSession = dynamic_cast<FdSession*>(session.get());
    return fdSession && fdSession->isOpen();
}

}  // namespace Prelix10
