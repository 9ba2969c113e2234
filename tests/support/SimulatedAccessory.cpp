#include "support/SimulatedAccessory.hpp"

#include <algorithm>
#include <cstring>

#include "prelix10/transport/EAAccessoryPortSettings.hpp"

namespace Prelix10::Testing {

namespace {
std::atomic<std::uint64_t> nextConnectionID{1};
}  // namespace

// The device's end of one session: what it has to send, its printer session, and the host's stream state.
struct SimulatedAccessorySessionState {
    std::weak_ptr<SimulatedAccessory> accessory;
    std::weak_ptr<SimulatedAccessoryLink> link;
    bool hasInput = false;
    bool hasOutput = false;

    std::mutex mutex;
    std::unique_ptr<PrinterSession> printer;
    Bytes inbound;
    std::size_t inboundOffset = 0;
    bool inputClosed = false;
    bool outputClosed = false;
    bool ended = false;
    AccessoryStreamEventHandler inputHandler;
    AccessoryStreamEventHandler outputHandler;

    bool isOpenLocked() const { return !ended && ((hasInput && !inputClosed) || (hasOutput && !outputClosed)); }
    void appendLocked(const Bytes& bytes) {
        if (ended || bytes.empty()) return;
        if (inboundOffset == inbound.size()) {
            inbound.clear();
            inboundOffset = 0;
        }
        inbound.insert(inbound.end(), bytes.begin(), bytes.end());
    }
};

// The link thread: ticks every session (the printer's unsolicited output, its print delay) and delivers
// stream events, one at a time, with no lock held.
class SimulatedAccessoryLink {
public:
    SimulatedAccessoryLink() : thread_([this] { run(); }) {}
    ~SimulatedAccessoryLink() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        condition_.notify_all();
        thread_.join();
    }

    void add(const std::shared_ptr<SimulatedAccessorySessionState>& session) {
        std::lock_guard lock(mutex_);
        sessions_.push_back(session);
    }
    void post(AccessoryStreamEventHandler handler, AccessoryStreamEvent event) {
        if (!handler) return;
        post([handler = std::move(handler), event] { handler(event); });
    }
    void post(std::function<void()> item) {
        {
            std::lock_guard lock(mutex_);
            items_.push_back(std::move(item));
        }
        condition_.notify_all();
    }

private:
    void run() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            condition_.wait_for(lock, std::chrono::milliseconds(2), [this] { return stop_ || !items_.empty(); });
            if (stop_) break;
            std::vector<std::shared_ptr<SimulatedAccessorySessionState>> alive;
            std::erase_if(sessions_, [&](const auto& weak) {
                auto session = weak.lock();
                if (session) alive.push_back(std::move(session));
                return !session;
            });
            lock.unlock();
            for (const auto& session : alive) tick(*session);
            lock.lock();
            std::deque<std::function<void()>> items;
            items.swap(items_);
            lock.unlock();
            for (auto& item : items) item();
            lock.lock();
        }
    }

    void tick(SimulatedAccessorySessionState& session) {
        AccessoryStreamEventHandler handler;
        {
            std::lock_guard lock(session.mutex);
            if (!session.isOpenLocked() || !session.printer) return;
            const Bytes out = session.printer->poll();
            if (out.empty()) return;
            session.appendLocked(out);
            handler = session.inputHandler;
        }
        post(std::move(handler), AccessoryStreamEvent::hasBytesAvailable);
    }

    std::mutex mutex_;
    std::condition_variable condition_;
    bool stop_ = false;
    std::vector<std::weak_ptr<SimulatedAccessorySessionState>> sessions_;
    std::deque<std::function<void()>> items_;
    std::thread thread_;
};

class SimulatedAccessoryInput final : public AccessoryInputStream {
public:
    explicit SimulatedAccessoryInput(std::shared_ptr<SimulatedAccessorySessionState> state) : state_(std::move(state)) {}

    void open() override {
        AccessoryStreamEventHandler handler;
        {
            std::lock_guard lock(state_->mutex);
            handler = state_->inputHandler;
        }
        if (auto link = state_->link.lock()) link->post(std::move(handler), AccessoryStreamEvent::openCompleted);
    }
    void close() override {
        std::lock_guard lock(state_->mutex);
        state_->inputClosed = true;
        state_->inputHandler = nullptr;
    }
    bool hasBytesAvailable() const override {
        if (auto accessory = state_->accessory.lock(); accessory && accessory->faults().failingReads > 0) return true;
        std::lock_guard lock(state_->mutex);
        return state_->inboundOffset < state_->inbound.size();
    }
    long read(std::uint8_t* buffer, std::size_t maxLength) override {
        if (auto accessory = state_->accessory.lock(); accessory && accessory->takeFailingRead()) return -1;
        std::lock_guard lock(state_->mutex);
        if (state_->inputClosed) return -1;
        const std::size_t available = state_->inbound.size() - state_->inboundOffset;
        const std::size_t n = std::min(available, maxLength);
        if (n > 0) std::memcpy(buffer, state_->inbound.data() + state_->inboundOffset, n);
        state_->inboundOffset += n;
        return static_cast<long>(n);
    }
    void setEventHandler(AccessoryStreamEventHandler handler) override {
        std::lock_guard lock(state_->mutex);
        state_->inputHandler = std::move(handler);
    }

private:
    std::shared_ptr<SimulatedAccessorySessionState> state_;
};

class SimulatedAccessoryOutput final : public AccessoryOutputStream {
public:
    explicit SimulatedAccessoryOutput(std::shared_ptr<SimulatedAccessorySessionState> state) : state_(std::move(state)) {}

    void open() override {
        AccessoryStreamEventHandler handler;
        {
            std::lock_guard lock(state_->mutex);
            handler = state_->outputHandler;
        }
        if (auto link = state_->link.lock()) {
            link->post(handler, AccessoryStreamEvent::openCompleted);
            link->post(std::move(handler), AccessoryStreamEvent::hasSpaceAvailable);
        }
    }
    void close() override {
        std::lock_guard lock(state_->mutex);
        state_->outputClosed = true;
        state_->outputHandler = nullptr;
    }
    bool hasSpaceAvailable() const override {
        auto accessory = state_->accessory.lock();
        if (!accessory || accessory->faults().noSpace) return false;
        std::lock_guard lock(state_->mutex);
        return !state_->ended && !state_->outputClosed;
    }
    long write(const std::uint8_t* bytes, std::size_t length) override {
        auto accessory = state_->accessory.lock();
        if (!accessory) return -1;
        const SimulatedAccessoryFaults faults = accessory->faults();
        if (faults.noSpace) return 0;
        const std::size_t n = std::min(length, std::max<std::size_t>(faults.outputChunk, 1));
        const std::span<const std::uint8_t> taken(bytes, n);
        AccessoryStreamEventHandler input;
        AccessoryStreamEventHandler output;
        bool replied = false;
        {
            std::lock_guard lock(state_->mutex);
            if (state_->ended || state_->outputClosed) return -1;
            accessory->recordWrite(taken);
            if (state_->printer) {
                const Bytes reply = state_->printer->receive(taken);
                replied = !reply.empty();
                if (replied) state_->appendLocked(faults.replyPrefix);
                state_->appendLocked(reply);
            }
            input = state_->inputHandler;
            output = state_->outputHandler;
        }
        if (auto link = state_->link.lock()) {
            if (replied) link->post(std::move(input), AccessoryStreamEvent::hasBytesAvailable);
            link->post(std::move(output), AccessoryStreamEvent::hasSpaceAvailable);
        }
        return static_cast<long>(n);
    }
    void setEventHandler(AccessoryStreamEventHandler handler) override {
        std::lock_guard lock(state_->mutex);
        state_->outputHandler = std::move(handler);
    }

private:
    std::shared_ptr<SimulatedAccessorySessionState> state_;
};

namespace {

class SimulatedSession final : public AccessorySession {
public:
    SimulatedSession(std::shared_ptr<Accessory> accessory, std::string protocolString,
                     std::shared_ptr<AccessoryInputStream> input, std::shared_ptr<AccessoryOutputStream> output)
        : accessory_(std::move(accessory)),
          protocolString_(std::move(protocolString)),
          input_(std::move(input)),
          output_(std::move(output)) {}
    std::shared_ptr<Accessory> accessory() const override { return accessory_; }
    std::string protocolString() const override { return protocolString_; }
    std::shared_ptr<AccessoryInputStream> inputStream() const override { return input_; }
    std::shared_ptr<AccessoryOutputStream> outputStream() const override { return output_; }

private:
    std::shared_ptr<Accessory> accessory_;
    std::string protocolString_;
    std::shared_ptr<AccessoryInputStream> input_;
    std::shared_ptr<AccessoryOutputStream> output_;
};

}  // namespace

std::shared_ptr<SimulatedAccessory> SimulatedAccessory::make(SimulatedAccessoryConfig config,
                                                             std::shared_ptr<VirtualPrinterEngine> engine) {
    if (engine && config.connectedInterface) {
        engine->update([code = *config.connectedInterface](PrinterState& state) { state.connectedInterface = code; });
    }
    return std::shared_ptr<SimulatedAccessory>(new SimulatedAccessory(std::move(config), std::move(engine)));
}

SimulatedAccessory::SimulatedAccessory(SimulatedAccessoryConfig config, std::shared_ptr<VirtualPrinterEngine> engine)
    : config_(std::move(config)), engine_(std::move(engine)), connectionID_(nextConnectionID++) {}

SimulatedAccessory::~SimulatedAccessory() = default;

std::uint64_t SimulatedAccessory::connectionID() const {
    std::lock_guard lock(mutex_);
    return connectionID_;
}

bool SimulatedAccessory::isConnected() const {
    std::lock_guard lock(mutex_);
    return connected_;
}

std::vector<std::string> SimulatedAccessory::protocolStrings() const {
    if (config_.protocolStrings) return *config_.protocolStrings;
    return {EAAccessoryPortSettings::kProtocolString};
}

void SimulatedAccessory::setFaults(const SimulatedAccessoryFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

SimulatedAccessoryFaults SimulatedAccessory::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

bool SimulatedAccessory::takeFailingRead() {
    std::lock_guard lock(mutex_);
    if (faults_.failingReads <= 0) return false;
    --faults_.failingReads;
    return true;
}

void SimulatedAccessory::recordWrite(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    writes_.push_back({std::chrono::steady_clock::now(), Bytes(bytes.begin(), bytes.end())});
    received_.insert(received_.end(), bytes.begin(), bytes.end());
}

std::shared_ptr<AccessorySession> SimulatedAccessory::openSession(const std::string& protocolString,
                                                                  const std::shared_ptr<SimulatedAccessoryLink>& link) {
    SimulatedAccessoryFaults faults;
    {
        std::lock_guard lock(mutex_);
        ++sessionRequests_;
        if (!connected_) return nullptr;
        if (faults_.refuseAlways) return nullptr;
        if (faults_.refuseSessions > 0) {
            --faults_.refuseSessions;
            return nullptr;
        }
        faults = faults_;
    }
    const auto protocols = protocolStrings();
    if (std::find(protocols.begin(), protocols.end(), protocolString) == protocols.end()) return nullptr;

    auto state = std::make_shared<SimulatedAccessorySessionState>();
    state->accessory = weak_from_this();
    state->link = link;
    state->hasInput = !faults.missingInputStream;
    state->hasOutput = !faults.missingOutputStream;
    if (engine_) state->printer = engine_->openSession(PrinterChannel::data);
    {
        std::lock_guard lock(mutex_);
        ++sessionsGiven_;
        std::erase_if(sessions_, [](const auto& weak) { return weak.expired(); });
        sessions_.push_back(state);
    }
    link->add(state);
    std::shared_ptr<AccessoryInputStream> input;
    std::shared_ptr<AccessoryOutputStream> output;
    if (state->hasInput) input = std::make_shared<SimulatedAccessoryInput>(state);
    if (state->hasOutput) output = std::make_shared<SimulatedAccessoryOutput>(state);
    return std::make_shared<SimulatedSession>(shared_from_this(), protocolString, std::move(input), std::move(output));
}

void SimulatedAccessory::disconnect() {
    std::vector<std::shared_ptr<SimulatedAccessorySessionState>> sessions;
    {
        std::lock_guard lock(mutex_);
        connected_ = false;
        for (const auto& weak : sessions_) {
            if (auto session = weak.lock()) sessions.push_back(std::move(session));
        }
    }
    for (const auto& session : sessions) {
        AccessoryStreamEventHandler input;
        AccessoryStreamEventHandler output;
        {
            std::lock_guard lock(session->mutex);
            if (session->ended) continue;
            session->ended = true;
            input = session->inputHandler;
            output = session->outputHandler;
        }
        if (auto link = session->link.lock()) {
            link->post(std::move(input), AccessoryStreamEvent::endEncountered);
            link->post(std::move(output), AccessoryStreamEvent::endEncountered);
        }
    }
}

void SimulatedAccessory::reconnect() {
    std::lock_guard lock(mutex_);
    connected_ = true;
    connectionID_ = nextConnectionID++;
}

void SimulatedAccessory::deviceSend(std::span<const std::uint8_t> bytes) {
    std::vector<std::shared_ptr<SimulatedAccessorySessionState>> sessions;
    {
        std::lock_guard lock(mutex_);
        for (const auto& weak : sessions_) {
            if (auto session = weak.lock()) sessions.push_back(std::move(session));
        }
    }
    for (const auto& session : sessions) {
        AccessoryStreamEventHandler input;
        {
            std::lock_guard lock(session->mutex);
            if (!session->isOpenLocked()) continue;
            session->appendLocked(Bytes(bytes.begin(), bytes.end()));
            input = session->inputHandler;
        }
        if (auto link = session->link.lock()) link->post(std::move(input), AccessoryStreamEvent::hasBytesAvailable);
    }
}

std::vector<SimulatedAccessoryWrite> SimulatedAccessory::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

Bytes SimulatedAccessory::receivedBytes() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::size_t SimulatedAccessory::sessionRequests() const {
    std::lock_guard lock(mutex_);
    return sessionRequests_;
}

std::size_t SimulatedAccessory::sessionsGiven() const {
    std::lock_guard lock(mutex_);
    return sessionsGiven_;
}

std::size_t SimulatedAccessory::openSessions() const {
    std::vector<std::shared_ptr<SimulatedAccessorySessionState>> sessions;
    {
        std::lock_guard lock(mutex_);
        for (const auto& weak : sessions_) {
            if (auto session = weak.lock()) sessions.push_back(std::move(session));
        }
    }
    std::size_t open = 0;
    for (const auto& session : sessions) {
        std::lock_guard lock(session->mutex);
        if (session->isOpenLocked()) ++open;
    }
    return open;
}

SimulatedAccessoryManager::SimulatedAccessoryManager() : link_(std::make_shared<SimulatedAccessoryLink>()) {}

SimulatedAccessoryManager::~SimulatedAccessoryManager() = default;

void SimulatedAccessoryManager::addAccessory(const std::shared_ptr<SimulatedAccessory>& accessory) {
    std::shared_ptr<AccessoryManagerObserver> observer;
    {
        std::lock_guard lock(mutex_);
        accessories_.push_back(accessory);
        observer = observer_.lock();
    }
    if (observer) link_->post([observer, accessory] { observer->accessoryDidConnect(accessory); });
}

void SimulatedAccessoryManager::removeAccessory(const std::shared_ptr<SimulatedAccessory>& accessory) {
    accessory->disconnect();
    std::shared_ptr<AccessoryManagerObserver> observer;
    {
        std::lock_guard lock(mutex_);
        std::erase(accessories_, accessory);
        observer = observer_.lock();
    }
    if (observer) link_->post([observer, accessory] { observer->accessoryDidDisconnect(accessory); });
}

void SimulatedAccessoryManager::reconnectAccessory(const std::shared_ptr<SimulatedAccessory>& accessory) {
    accessory->disconnect();
    accessory->reconnect();
    std::shared_ptr<AccessoryManagerObserver> observer;
    {
        std::lock_guard lock(mutex_);
        if (std::find(accessories_.begin(), accessories_.end(), accessory) == accessories_.end()) {
            accessories_.push_back(accessory);
        }
        observer = observer_.lock();
    }
    if (observer) link_->post([observer, accessory] { observer->accessoryDidConnect(accessory); });
}

std::vector<std::shared_ptr<Accessory>> SimulatedAccessoryManager::connectedAccessories() const {
    std::lock_guard lock(mutex_);
    std::vector<std::shared_ptr<Accessory>> list;
    for (const auto& accessory : accessories_) {
        if (accessory->isConnected()) list.push_back(accessory);
    }
    return list;
}

std::shared_ptr<AccessorySession> SimulatedAccessoryManager::openSession(const std::shared_ptr<Accessory>& accessory,
                                                                         const std::string& protocolString) {
    std::shared_ptr<SimulatedAccessory> simulated;
    {
        std::lock_guard lock(mutex_);
        for (const auto& known : accessories_) {
            if (known == accessory) simulated = known;
        }
    }
    if (!simulated) return nullptr;
    return simulated->openSession(protocolString, link_);
}

void SimulatedAccessoryManager::setObserver(std::weak_ptr<AccessoryManagerObserver> observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

}  // namespace Prelix10::Testing
