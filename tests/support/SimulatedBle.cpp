#include "support/SimulatedBle.hpp"

#include <cctype>
#include <algorithm>
#include <atomic>

namespace Prelix10::Testing {

namespace {
using Clock = std::chrono::steady_clock;

// Never destroyed: the simulated radio thread keeps advertising until the process is gone.
const BleUuid& kPrintService = *new BleUuid(normalizedBleUuid("49535343-FE7D-4AE5-8FA9-9FAFD205E455"));
const BleUuid& kPrintWrite = *new BleUuid(normalizedBleUuid("49535343-8841-43F4-A8D4-ECBE34729BB3"));
const BleUuid& kPrintNotify = *new BleUuid(normalizedBleUuid("49535343-1E4D-4BD9-BA61-23C647249616"));
const BleUuid& kAtService = *new BleUuid(normalizedBleUuid("01FF0100-BA5E-F4EE-5CA1-EB1E5E4B1CE1"));
const BleUuid& kAtWrite = *new BleUuid(normalizedBleUuid("01FF0101-BA5E-F4EE-5CA1-EB1E5E4B1CE1"));
const BleUuid& kAtNotify = *new BleUuid(normalizedBleUuid("01FF0102-BA5E-F4EE-5CA1-EB1E5E4B1CE1"));

bool wanted(const std::optional<std::vector<BleUuid>>& filter, const BleUuid& uuid) {
    if (!filter) return true;
    return std::any_of(filter->begin(), filter->end(), [&](const BleUuid& u) { return normalizedBleUuid(u) == uuid; });
}

constexpr std::chrono::milliseconds kDevicePollInterval{10};
}  // namespace

// ---- radio ----

struct SimulatedBleRadio::Shared {
    std::mutex mutex;
    std::condition_variable condition;
    std::map<std::pair<Clock::time_point, std::uint64_t>, std::function<void()>> items;
    std::uint64_t sequence = 0;
    bool stopping = false;
    std::thread::id worker;
};

SimulatedBleRadio::SimulatedBleRadio() : shared_(std::make_shared<Shared>()) {
    auto shared = shared_;
    std::lock_guard lock(shared->mutex);
    thread_ = std::thread([shared] {
        std::unique_lock lock(shared->mutex);
        for (;;) {
            if (shared->stopping) return;
            if (shared->items.empty()) {
                shared->condition.wait(lock);
                continue;
            }
            auto first = shared->items.begin();
            if (first->first.first > Clock::now()) {
                shared->condition.wait_until(lock, first->first.first);
                continue;
            }
            auto item = std::move(first->second);
            shared->items.erase(first);
            lock.unlock();
            try {
                item();
            } catch (...) {
                // A callback that throws must not end the radio.
            }
            item = nullptr;
            lock.lock();
        }
    });
    shared->worker = thread_.get_id();
}

SimulatedBleRadio::~SimulatedBleRadio() {
    std::map<std::pair<Clock::time_point, std::uint64_t>, std::function<void()>> dropped;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        dropped.swap(shared_->items);
        shared_->condition.notify_all();
    }
    if (std::this_thread::get_id() == thread_.get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void SimulatedBleRadio::post(std::chrono::milliseconds delay, std::function<void()> item) {
    std::lock_guard lock(shared_->mutex);
    if (shared_->stopping) return;
    shared_->items.emplace(std::make_pair(Clock::now() + delay, ++shared_->sequence), std::move(item));
    shared_->condition.notify_all();
}

bool SimulatedBleRadio::isCurrent() const { return std::this_thread::get_id() == shared_->worker; }

// ---- attributes ----

std::optional<BleBytes> SimulatedBleCharacteristic::value() const {
    std::lock_guard lock(mutex_);
    return value_;
}

void SimulatedBleCharacteristic::setValue(BleBytes value) {
    std::lock_guard lock(mutex_);
    value_ = std::move(value);
}

std::optional<std::vector<std::shared_ptr<BleCharacteristic>>> SimulatedBleService::characteristics() const {
    std::lock_guard lock(mutex_);
    return characteristics_;
}

void SimulatedBleService::setCharacteristics(std::vector<std::shared_ptr<BleCharacteristic>> list) {
    std::lock_guard lock(mutex_);
    characteristics_ = std::move(list);
}

// ---- peripheral ----

std::shared_ptr<SimulatedBlePeripheral> SimulatedBlePeripheral::make(SimulatedBlePeripheralConfig config,
                                                                     std::shared_ptr<VirtualPrinterEngine> engine,
                                                                     SettingHandler settingHandler) {
    return std::shared_ptr<SimulatedBlePeripheral>(
        new SimulatedBlePeripheral(std::move(config), std::move(engine), std::move(settingHandler)));
}

SimulatedBlePeripheral::SimulatedBlePeripheral(SimulatedBlePeripheralConfig config,
                                               std::shared_ptr<VirtualPrinterEngine> engine, SettingHandler handler)
    : config_(std::move(config)),
      engine_(std::move(engine)),
      settingHandler_(std::move(handler)),
      mtuWithResponse_(config_.mtuWithResponse),
      mtuWithoutResponse_(config_.mtuWithoutResponse),
      paired_(config_.paired),
      rssi_(config_.rssi) {}

void SimulatedBlePeripheral::attach(const std::shared_ptr<SimulatedBleRadio>& radio,
                                    const std::shared_ptr<SimulatedBleCentral>& central) {
    std::lock_guard lock(mutex_);
    radio_ = radio;
    central_ = central;
}

std::string SimulatedBlePeripheral::identifier() const { return config_.address; }
std::optional<std::string> SimulatedBlePeripheral::name() const { return config_.name; }

BlePeripheralState SimulatedBlePeripheral::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void SimulatedBlePeripheral::setDelegate(std::weak_ptr<BlePeripheralDelegate> delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = std::move(delegate);
}

void SimulatedBlePeripheral::post(std::chrono::milliseconds delay,
                                  std::function<void(BlePeripheralDelegate&)> callback) {
    auto radio = radio_.lock();
    if (!radio) return;
    std::weak_ptr<SimulatedBlePeripheral> weakSelf = weak_from_this();
    // As a stack does, the answer goes to the delegate the request was made for: one of a link closed since
    // never reaches the delegate of the next link.
    std::weak_ptr<BlePeripheralDelegate> requester;
    {
        std::lock_guard lock(mutex_);
        requester = delegate_;
    }
    radio->post(delay, [weakSelf, requester, callback = std::move(callback)] {
        auto self = weakSelf.lock();
        if (!self) return;
        if (auto delegate = requester.lock()) callback(*delegate);
    });
}

BleAdvertisementData SimulatedBlePeripheral::advertisementData() const {
    BleAdvertisementData data;
    data.localName = config_.localName;
    if (config_.printService) data.serviceUuids.push_back(kPrintService);
    if (config_.atService) data.serviceUuids.push_back(kAtService);
    data.manufacturerData = config_.manufacturerData;
    return data;
}

void SimulatedBlePeripheral::setRssi(int rssi) {
    std::lock_guard lock(mutex_);
    rssi_ = rssi;
}

int SimulatedBlePeripheral::rssi() const {
    std::lock_guard lock(mutex_);
    return rssi_;
}

std::size_t SimulatedBlePeripheral::advertisementCount() const {
    std::lock_guard lock(mutex_);
    return advertisements_;
}

namespace {
BleBytes advertisedHeader(const std::string& address) {
    BleBytes out{0x6C, 0x04};
    std::string hex;
    for (char c : address)
        if (std::isxdigit(static_cast<unsigned char>(c))) hex.push_back(c);
    for (std::size_t i = 0; i + 1 < hex.size() && out.size() < 8; i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    out.resize(8, 0);
    return out;
}
}  // namespace

BleBytes advertisedPrintOnly(const std::string& address, const std::string& model) {
    auto out = advertisedHeader(address);
    out.push_back(';');
    out.insert(out.end(), model.begin(), model.end());
    return out;
}

BleBytes advertisedWithSetting(const std::string& address, const std::string& model, std::uint8_t capabilities,
                               std::optional<std::uint8_t> statusByte) {
    auto out = advertisedHeader(address);
    out.push_back('L');
    out.insert(out.end(), model.begin(), model.end());
    out.push_back(';');
    out.push_back(capabilities);
    if (statusByte) out.push_back(*statusByte);
    return out;
}

SimulatedBlePeripheralConfig settingDeviceConfig(const std::string& address, const std::string& model,
                                                 bool printService, std::optional<std::uint8_t> statusByte) {
    SimulatedBlePeripheralConfig config;
    config.address = address;
    config.name = model;
    config.localName = model;
    config.printService = printService;
    config.atService = true;
    config.manufacturerData =
        advertisedWithSetting(address, model, static_cast<std::uint8_t>(printService ? 0x03 : 0x02), statusByte);
    return config;
}

std::optional<std::chrono::milliseconds> SimulatedBlePeripheral::beginConnect(std::uint64_t attempt) {
    std::lock_guard lock(mutex_);
    attempt_ = attempt;
    if (state_ == BlePeripheralState::disconnected) state_ = BlePeripheralState::connecting;
    if (faults_.neverConnect) return std::nullopt;
    return faults_.connectDelay;
}

bool SimulatedBlePeripheral::finishConnect(std::uint64_t attempt) {
    std::lock_guard lock(mutex_);
    if (attempt != attempt_ || state_ != BlePeripheralState::connecting) return false;
    state_ = BlePeripheralState::connected;
    ++connects_;
    ++link_;
    discovered_.reset();
    notifying_.clear();
    offered_.clear();
    if (config_.printService) {
        auto service = std::make_shared<SimulatedBleService>(kPrintService);
        offered_.push_back(service);
    }
    if (config_.atService) offered_.push_back(std::make_shared<SimulatedBleService>(kAtService));
    session_ = engine_ ? engine_->openSession(PrinterChannel::data) : nullptr;
    return true;
}

void SimulatedBlePeripheral::cancelConnection() {
    std::lock_guard lock(mutex_);
    ++attempt_;
    ++link_;
    state_ = BlePeripheralState::disconnected;
    notifying_.clear();
    session_.reset();
}

void SimulatedBlePeripheral::dropLink() {
    std::shared_ptr<SimulatedBleCentral> central;
    {
        std::lock_guard lock(mutex_);
        if (state_ == BlePeripheralState::disconnected) return;
        ++attempt_;
        ++link_;
        state_ = BlePeripheralState::disconnected;
        notifying_.clear();
        session_.reset();
        central = central_.lock();
    }
    if (central) central->reportDisconnect(shared_from_this());
}

void SimulatedBlePeripheral::discoverServices(const std::optional<std::vector<BleUuid>>& uuids) {
    std::chrono::milliseconds delay;
    {
        std::lock_guard lock(mutex_);
        if (state_ != BlePeripheralState::connected || faults_.neverDiscoverServices) return;
        std::vector<std::shared_ptr<BleService>> found;
        for (const auto& s : offered_) {
            if (wanted(uuids, s->uuid())) found.push_back(s);
        }
        discovered_ = std::move(found);
        delay = faults_.discoverDelay;
    }
    post(delay, [self = shared_from_this()](BlePeripheralDelegate& d) { d.didDiscoverServices(*self, std::nullopt); });
}

std::optional<std::vector<std::shared_ptr<BleService>>> SimulatedBlePeripheral::services() const {
    std::lock_guard lock(mutex_);
    return discovered_;
}

void SimulatedBlePeripheral::discoverCharacteristics(const std::optional<std::vector<BleUuid>>& uuids,
                                                     const std::shared_ptr<BleService>& service) {
    std::chrono::milliseconds delay;
    auto simulated = std::dynamic_pointer_cast<SimulatedBleService>(service);
    {
        std::lock_guard lock(mutex_);
        if (state_ != BlePeripheralState::connected || faults_.neverDiscoverCharacteristics || !simulated) return;
        const bool print = simulated->uuid() == kPrintService;
        std::vector<std::shared_ptr<BleCharacteristic>> list;
        const BleUuid write = print ? kPrintWrite : kAtWrite;
        const BleUuid notify = print ? kPrintNotify : kAtNotify;
        if (wanted(uuids, write)) list.push_back(std::make_shared<SimulatedBleCharacteristic>(write));
        if (!faults_.missingNotifyCharacteristic && wanted(uuids, notify)) {
            list.push_back(std::make_shared<SimulatedBleCharacteristic>(notify));
        }
        simulated->setCharacteristics(std::move(list));
        delay = faults_.discoverDelay;
    }
    post(delay, [self = shared_from_this(), service](BlePeripheralDelegate& d) {
        d.didDiscoverCharacteristicsFor(*self, service, std::nullopt);
    });
}

void SimulatedBlePeripheral::setNotifyValue(bool enabled, const std::shared_ptr<BleCharacteristic>& characteristic) {
    std::optional<BleError> error;
    std::chrono::milliseconds delay;
    std::uint64_t link;
    bool startPolling = false;
    {
        std::lock_guard lock(mutex_);
        if (state_ != BlePeripheralState::connected || faults_.neverAnswerNotify || !characteristic) return;
        if (!paired_) {
            error = BleError{BleError::Domain::att, BleError::kInsufficientEncryption, "Encryption is insufficient."};
        } else if (faults_.notifyAttError) {
            error = BleError{BleError::Domain::att, *faults_.notifyAttError, "The request was refused."};
        } else {
            const bool was = std::any_of(notifying_.begin(), notifying_.end(), [](const auto& e) { return e.second; });
            notifying_[characteristic->uuid()] = enabled;
            startPolling = enabled && !was;
        }
        delay = faults_.notifyDelay;
        link = link_;
    }
    post(delay, [self = shared_from_this(), characteristic, error](BlePeripheralDelegate& d) {
        d.didUpdateNotificationStateFor(*self, characteristic, error);
    });
    if (startPolling) schedulePoll(link);
}

void SimulatedBlePeripheral::schedulePoll(std::uint64_t link) {
    auto radio = radio_.lock();
    if (!radio) return;
    std::weak_ptr<SimulatedBlePeripheral> weakSelf = weak_from_this();
    radio->post(kDevicePollInterval, [weakSelf, link] {
        auto self = weakSelf.lock();
        if (!self) return;
        {
            std::lock_guard lock(self->mutex_);
            if (self->link_ != link || !self->session_) return;
            const Bytes out = self->session_->poll();
            if (!out.empty()) self->notifyLocked(out, link, kPrintService);
        }
        self->schedulePoll(link);
    });
}

std::shared_ptr<SimulatedBleCharacteristic> SimulatedBlePeripheral::notifyCharacteristicOf(const BleUuid& service) const {
    if (!discovered_) return nullptr;
    for (const auto& s : *discovered_) {
        if (s->uuid() != service) continue;
        const auto list = s->characteristics();
        if (!list) return nullptr;
        const BleUuid notify = service == kPrintService ? kPrintNotify : kAtNotify;
        for (const auto& c : *list) {
            if (c->uuid() == notify) return std::dynamic_pointer_cast<SimulatedBleCharacteristic>(c);
        }
    }
    return nullptr;
}

void SimulatedBlePeripheral::notifyLocked(std::span<const std::uint8_t> bytes, std::uint64_t link, const BleUuid& service) {
    auto characteristic = notifyCharacteristicOf(service);
    if (!characteristic) return;
    const auto it = notifying_.find(characteristic->uuid());
    if (it == notifying_.end() || !it->second) return;
    const std::size_t piece = static_cast<std::size_t>(std::max(config_.notifyLength, 1));
    for (std::size_t start = 0; start < bytes.size(); start += piece) {
        const std::size_t end = std::min(bytes.size(), start + piece);
        BleBytes value(bytes.begin() + static_cast<std::ptrdiff_t>(start), bytes.begin() + static_cast<std::ptrdiff_t>(end));
        std::weak_ptr<SimulatedBlePeripheral> weakSelf = weak_from_this();
        auto radio = radio_.lock();
        if (!radio) return;
        // The delegate is looked up when the notification is delivered; a link gone by then delivers nothing.
        radio->post(std::chrono::milliseconds(0), [weakSelf, characteristic, value = std::move(value), link] {
            auto self = weakSelf.lock();
            if (!self) return;
            std::shared_ptr<BlePeripheralDelegate> delegate;
            {
                std::lock_guard lock(self->mutex_);
                if (self->link_ != link) return;
                delegate = self->delegate_.lock();
            }
            characteristic->setValue(value);
            if (delegate) delegate->didUpdateValueFor(*self, characteristic, value, std::nullopt);
        });
    }
}

void SimulatedBlePeripheral::notify(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    notifyLocked(bytes, link_, config_.printService ? kPrintService : kAtService);
}

void SimulatedBlePeripheral::writeValue(const BleBytes& data, const std::shared_ptr<BleCharacteristic>& characteristic,
                                        BleWriteType type) {
    std::chrono::milliseconds delay;
    bool acknowledge;
    {
        std::lock_guard lock(mutex_);
        writes_.push_back({Clock::now(), data, type});
        if (state_ != BlePeripheralState::connected || !characteristic) return;
        received_.insert(received_.end(), data.begin(), data.end());
        const BleUuid uuid = characteristic->uuid();
        if (uuid == kPrintWrite && session_) {
            const Bytes reply = session_->receive(data);
            if (!reply.empty()) notifyLocked(reply, link_, kPrintService);
        } else if (uuid == kAtWrite && settingHandler_) {
            const Bytes reply = settingHandler_(data);
            if (!reply.empty()) notifyLocked(reply, link_, kAtService);
        }
        acknowledge = type == BleWriteType::withResponse && !faults_.neverAcknowledgeWrite;
        delay = faults_.writeAcknowledgeDelay;
    }
    if (acknowledge) {
        post(delay, [self = shared_from_this(), characteristic](BlePeripheralDelegate& d) {
            d.didWriteValueFor(*self, characteristic, std::nullopt);
        });
    }
}

bool SimulatedBlePeripheral::canSendWriteWithoutResponse() const {
    std::lock_guard lock(mutex_);
    roomPolls_.push_back(Clock::now());
    return !faults_.busy;
}

int SimulatedBlePeripheral::maximumWriteValueLength(BleWriteType type) const {
    std::lock_guard lock(mutex_);
    return type == BleWriteType::withResponse ? mtuWithResponse_ : mtuWithoutResponse_;
}

void SimulatedBlePeripheral::setFaults(const SimulatedBleFaults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

SimulatedBleFaults SimulatedBlePeripheral::faults() const {
    std::lock_guard lock(mutex_);
    return faults_;
}

void SimulatedBlePeripheral::setMtu(int withResponse, int withoutResponse) {
    std::lock_guard lock(mutex_);
    mtuWithResponse_ = withResponse;
    mtuWithoutResponse_ = withoutResponse;
}

void SimulatedBlePeripheral::setPaired(bool paired) {
    std::lock_guard lock(mutex_);
    paired_ = paired;
}

std::vector<SimulatedBleWrite> SimulatedBlePeripheral::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

std::vector<std::chrono::steady_clock::time_point> SimulatedBlePeripheral::writeRoomPolls() const {
    std::lock_guard lock(mutex_);
    return roomPolls_;
}

BleBytes SimulatedBlePeripheral::receivedBytes() const {
    std::lock_guard lock(mutex_);
    return received_;
}

std::size_t SimulatedBlePeripheral::connectCount() const {
    std::lock_guard lock(mutex_);
    return connects_;
}

bool SimulatedBlePeripheral::isNotifying() const {
    std::lock_guard lock(mutex_);
    return std::any_of(notifying_.begin(), notifying_.end(), [](const auto& e) { return e.second; });
}

// ---- central ----

std::shared_ptr<SimulatedBleCentral> SimulatedBleCentral::make(BleManagerState state) {
    return std::shared_ptr<SimulatedBleCentral>(new SimulatedBleCentral(state));
}

SimulatedBleCentral::SimulatedBleCentral(BleManagerState state)
    : radio_(std::make_shared<SimulatedBleRadio>()), state_(state) {}

SimulatedBleCentral::~SimulatedBleCentral() = default;

void SimulatedBleCentral::addPeripheral(const std::shared_ptr<SimulatedBlePeripheral>& peripheral) {
    peripheral->attach(radio_, shared_from_this());
    std::lock_guard lock(mutex_);
    peripherals_.push_back(peripheral);
}

std::shared_ptr<SimulatedBlePeripheral> SimulatedBleCentral::find(const std::shared_ptr<BlePeripheral>& peripheral) const {
    std::lock_guard lock(mutex_);
    for (const auto& p : peripherals_) {
        if (p.get() == peripheral.get()) return p;
    }
    return nullptr;
}

void SimulatedBleCentral::setState(BleManagerState state, std::chrono::milliseconds reportDelay) {
    {
        std::lock_guard lock(mutex_);
        state_ = state;
    }
    std::weak_ptr<SimulatedBleCentral> weakSelf = weak_from_this();
    radio_->post(reportDelay, [weakSelf, state] {
        auto self = weakSelf.lock();
        if (!self) return;
        std::shared_ptr<BleCentralDelegate> delegate;
        {
            std::lock_guard lock(self->mutex_);
            delegate = self->delegate_.lock();
        }
        if (delegate) delegate->didUpdateState(state);
    });
}

void SimulatedBleCentral::setAdvertisingInterval(std::chrono::milliseconds interval) {
    std::lock_guard lock(mutex_);
    advertisingInterval_ = interval;
}

std::size_t SimulatedBleCentral::scanStarts() const {
    std::lock_guard lock(mutex_);
    return scanStarts_;
}

BleManagerState SimulatedBleCentral::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void SimulatedBleCentral::setDelegate(std::weak_ptr<BleCentralDelegate> delegate) {
    std::lock_guard lock(mutex_);
    delegate_ = std::move(delegate);
}

bool SimulatedBleCentral::isScanning() const {
    std::lock_guard lock(mutex_);
    return scanning_;
}

void SimulatedBleCentral::scan(const std::optional<std::vector<BleUuid>>&, bool) {
    std::uint64_t scan;
    {
        std::lock_guard lock(mutex_);
        if (state_ != BleManagerState::poweredOn) return;
        scanning_ = true;
        scan = ++scan_;
        ++scanStarts_;
    }
    std::weak_ptr<SimulatedBleCentral> weakSelf = weak_from_this();
    radio_->post(std::chrono::milliseconds(0), [weakSelf, scan] {
        if (auto self = weakSelf.lock()) self->advertise(scan);
    });
}

void SimulatedBleCentral::advertise(std::uint64_t scan) {
    std::vector<std::shared_ptr<SimulatedBlePeripheral>> list;
    std::shared_ptr<BleCentralDelegate> delegate;
    std::chrono::milliseconds interval;
    {
        std::lock_guard lock(mutex_);
        if (!scanning_ || scan_ != scan) return;
        list = peripherals_;
        delegate = delegate_.lock();
        interval = advertisingInterval_;
    }
    for (const auto& p : list) {
        // A connected peripheral stops advertising.
        if (delegate && p->state() == BlePeripheralState::disconnected) {
            int rssi;
            {
                std::lock_guard lock(p->mutex_);
                rssi = p->rssi_;
                ++p->advertisements_;
            }
            delegate->didDiscover(p, p->advertisementData(), rssi);
        }
    }
    std::weak_ptr<SimulatedBleCentral> weakSelf = weak_from_this();
    radio_->post(interval, [weakSelf, scan] {
        if (auto self = weakSelf.lock()) self->advertise(scan);
    });
}

void SimulatedBleCentral::stopScan() {
    std::lock_guard lock(mutex_);
    scanning_ = false;
    ++scan_;
}

void SimulatedBleCentral::connect(const std::shared_ptr<BlePeripheral>& peripheral, const std::optional<BleConnectOptions>&) {
    auto simulated = find(peripheral);
    if (!simulated || state() != BleManagerState::poweredOn) return;
    static std::atomic<std::uint64_t> attempts{0};
    const std::uint64_t attempt = ++attempts;
    const auto delay = simulated->beginConnect(attempt);
    if (!delay) return;
    std::weak_ptr<SimulatedBleCentral> weakSelf = weak_from_this();
    radio_->post(*delay, [weakSelf, simulated, attempt] {
        auto self = weakSelf.lock();
        if (!self || !simulated->finishConnect(attempt)) return;
        std::shared_ptr<BleCentralDelegate> delegate;
        {
            std::lock_guard lock(self->mutex_);
            delegate = self->delegate_.lock();
        }
        if (delegate) delegate->didConnect(simulated);
    });
}

void SimulatedBleCentral::cancelConnection(const std::shared_ptr<BlePeripheral>& peripheral) {
    auto simulated = find(peripheral);
    if (!simulated) return;
    simulated->cancelConnection();
    reportDisconnect(simulated);
}

void SimulatedBleCentral::reportDisconnect(const std::shared_ptr<SimulatedBlePeripheral>& peripheral) {
    std::weak_ptr<SimulatedBleCentral> weakSelf = weak_from_this();
    radio_->post(std::chrono::milliseconds(0), [weakSelf, peripheral] {
        auto self = weakSelf.lock();
        if (!self) return;
        std::shared_ptr<BleCentralDelegate> delegate;
        {
            std::lock_guard lock(self->mutex_);
            delegate = self->delegate_.lock();
        }
        if (delegate) delegate->didDisconnect(peripheral, std::nullopt);
    });
}

}  // namespace Prelix10::Testing
