#include "prelix10/discovery/EAAccessoryOrvoDeviceDiscoveryManager.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <cctype>
#include <thread>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/discovery/BluetoothOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/USBOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/ConnectionIdentifierReader.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/EAAccessoryPortSettings.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/OrvoEAAccessoryPrinterPort.hpp"

namespace Prelix10 {

namespace {

constexpr const char* kClassName = "EAAccessoryOrvoDeviceDiscoveryManager";
constexpr auto kStep = std::chrono::milliseconds(10);

std::int64_t timeLeft(std::int64_t timeout, const Stopwatch& watch) {
    return timeout - static_cast<std::int64_t>(watch.elapsedMilliseconds());
}

// What was found for one connection of an accessory, kept for the process. Never destroyed: identification
// tasks may still run while the process exits.
struct CacheEntry {
    std::uint64_t connectionID = 0;
    EAAccessoryType type = EAAccessoryType::unknown;
    std::optional<OrvoConnectionIdentifier> identifier;
};

class IdentificationCache {
public:
    static IdentificationCache& shared() {
        static auto* cache = new IdentificationCache();
        return *cache;
    }
    std::optional<EAAccessoryType> type(std::uint64_t connectionID) {
        std::lock_guard guard(mutex_);
        const auto* entry = find(connectionID);
        if (!entry || entry->type == EAAccessoryType::unknown) return std::nullopt;
        return entry->type;
    }
    void setType(std::uint64_t connectionID, EAAccessoryType type) {
        std::lock_guard guard(mutex_);
        entry(connectionID).type = type;
    }
    std::optional<OrvoConnectionIdentifier> identifier(std::uint64_t connectionID) {
        std::lock_guard guard(mutex_);
        const auto* entry = find(connectionID);
        return entry ? entry->identifier : std::nullopt;
    }
    void setIdentifier(std::uint64_t connectionID, const OrvoConnectionIdentifier& identifier) {
        std::lock_guard guard(mutex_);
        entry(connectionID).identifier = identifier;
    }
    void clear() {
        std::lock_guard guard(mutex_);
        entries_.clear();
    }

private:
    CacheEntry* find(std::uint64_t connectionID) {
        for (auto& entry : entries_)
            if (entry.connectionID == connectionID) return &entry;
        return nullptr;
    }
    CacheEntry& entry(std::uint64_t connectionID) {
        if (auto* found = find(connectionID)) return *found;
        if (entries_.size() >= EAAccessoryOrvoDeviceDiscoveryManager::kIdentificationCacheCapacity) entries_.pop_front();
        entries_.push_back(CacheEntry{connectionID, EAAccessoryType::unknown, std::nullopt});
        return entries_.back();
    }
    std::mutex mutex_;
    std::deque<CacheEntry> entries_;
};

// One identification at a time per accessory, across every manager and lookup.
std::shared_ptr<std::mutex> accessoryMonitor(const std::shared_ptr<Accessory>& accessory) {
    static auto* mutex = new std::mutex();
    static auto* monitors = new std::map<const Accessory*, std::pair<std::weak_ptr<Accessory>, std::shared_ptr<std::mutex>>>();
    std::lock_guard guard(*mutex);
    std::erase_if(*monitors, [](const auto& item) { return item.second.first.expired(); });
    auto& slot = (*monitors)[accessory.get()];
    if (!slot.second) slot = {accessory, std::make_shared<std::mutex>()};
    return slot.second;
}

InterfaceType interfaceTypeOf(EAAccessoryType type) {
    return type == EAAccessoryType::usb ? InterfaceType::usb : InterfaceType::bluetooth;
}

std::shared_ptr<EAAccessoryPort> makePort(EAAccessoryType type, const std::string& identifier) {
    if (type == EAAccessoryType::usb) return std::make_shared<USBPort>(identifier);
    return std::make_shared<BluetoothPort>(identifier);
}

// Whether a port of the process (the application's printer) holds the accessory open now.
bool isHeldOpen(const std::shared_ptr<Accessory>& accessory) {
    for (auto type : {EAAccessoryType::bluetooth, EAAccessoryType::usb}) {
        auto probe = makePort(type, accessory->name());
        probe->setAccessory(accessory);
        if (OrvoDeviceManager::isAlreadyOpened(*probe)) return true;
    }
    return false;
}

// The connection to one accessory that an identification opens when it must ask the printer; closed when
// the identification ends, however it ends.
class AccessoryProbe {
public:
    AccessoryProbe(EAAccessoryType type, std::string identifier, std::shared_ptr<Accessory> accessory)
        : type_(type), identifier_(std::move(identifier)), accessory_(std::move(accessory)) {}
    ~AccessoryProbe() { close(); }
    AccessoryProbe(const AccessoryProbe&) = delete;
    AccessoryProbe& operator=(const AccessoryProbe&) = delete;

    PrinterPort& open(std::int64_t timeout) {
        if (!port_) {
            if (isHeldOpen(accessory_)) {
                raiseError(Log(nullptr, kClassName, "identifyAccessoryType(printer:timeout:)", __LINE__),
                           Prelix10Error(Prelix10ErrorKind::inUse,
                                         Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess));
            }
            auto raw = makePort(type_, identifier_);
            raw->setAccessory(accessory_);
            port_ = std::make_shared<OrvoEAAccessoryPrinterPort>(raw);
        }
        if (!port_->isConnected()) port_->rawPort().open(timeout);
        return *port_;
    }
    void close() {
        if (port_) port_->close();
        port_.reset();
    }

private:
    EAAccessoryType type_;
    std::string identifier_;
    std::shared_ptr<Accessory> accessory_;
    std::shared_ptr<OrvoEAAccessoryPrinterPort> port_;
};

EAAccessoryType identifyAccessoryType(AccessoryProbe& probe, const std::optional<PrinterSpec>& spec,
                                      std::int64_t timeout) {
    Stopwatch watch;
    watch.start();
    PrinterPort& port = probe.open(timeLeft(timeout, watch));
    const auto status = port.getStatus(timeLeft(timeout, watch));
    std::optional<std::int64_t> code;
    if (status && status->detailInternal()) code = status->detailInternal()->connectedInterface();
    switch (EAAccessoryOrvoDeviceDiscoveryManager::interfaceTypeOfConnectedInterface(code)) {
        case InterfaceType::bluetooth:
            return EAAccessoryType::bluetooth;
        case InterfaceType::usb:
            return EAAccessoryType::usb;
        default:
            return spec ? spec->fallbackSupportedAccessoryType : EAAccessoryType::unknown;
    }
}

OrvoConnectionIdentifier readConnectionIdentifier(AccessoryProbe& probe, const PrinterInformationRecord& information,
                                                  std::int64_t timeout) {
    if (ConnectionIdentifierReader::isComplete(information.connectionIdentifier)) {
        return ConnectionIdentifierReader::fromRecord(information.connectionIdentifier);
    }
    Stopwatch watch;
    watch.start();
    PrinterPort& port = probe.open(timeLeft(timeout, watch));
    return ConnectionIdentifierReader::read(port, timeLeft(timeout, watch));
}

std::shared_ptr<OrvoPrinter> createPrinterFor(EAAccessoryType managerType, const std::shared_ptr<Accessory>& accessory) {
    auto detection = ModelDetection::detectModelFromAccessoryModelNumber(accessory->modelNumber());
    const auto spec = PrinterSpecTable::findSpec(detection->model());
    PrinterInformationRecord information;
    information.modelDetectionInformation = detection;
    information.model = detection->model();
    information.emulation = spec ? spec->emulation : OrvoPrinterEmulation::unknown;
    information.eaAccessory = accessory;
    const std::uint64_t connectionID = accessory->connectionID();
    information.eaAccessoryConnectionID = connectionID;
    const std::string serial = accessory->serialNumber();
    const std::string identifier = serial.empty() ? accessory->name() : serial;
    auto& cache = IdentificationCache::shared();

    AccessoryProbe probe(managerType, identifier, accessory);
    EAAccessoryType type = EAAccessoryType::bluetooth;
    if (spec && spec->supportedAccessoryTypes.size() == 1) {
        type = spec->supportedAccessoryTypes.front();
    } else if (spec && spec->supportedAccessoryTypes.size() > 1) {
        if (const auto cached = cache.type(connectionID)) {
            type = *cached;
        } else {
            type = identifyAccessoryType(probe, spec, EAAccessoryOrvoDeviceDiscoveryManager::kIdentificationTimeout);
            cache.setType(connectionID, type);
        }
    }
    if (type != managerType) return nullptr;
    if (spec && spec->supportAutoSwitchInterface) {
        auto identifierFound = cache.identifier(connectionID);
        if (!identifierFound) {
            identifierFound = readConnectionIdentifier(probe, information,
                                                       EAAccessoryOrvoDeviceDiscoveryManager::kIdentificationTimeout);
            cache.setIdentifier(connectionID, *identifierFound);
        }
        information.connectionIdentifier = ConnectionIdentifierReader::toRecord(*identifierFound);
    }
    probe.close();
    return OrvoPrinter::create(OrvoConnectionSettings(interfaceTypeOf(managerType), identifier, true),
                               std::move(information));
}

// Six hex pairs, each but the last optionally followed by ':' or '-', become twelve upper-case digits;
// anything else stays as it is.
std::string normalizedIdentifier(const std::string& identifier) {
    std::string digits;
    std::size_t i = 0;
    for (int pair = 0; pair < 6; ++pair) {
        for (int k = 0; k < 2; ++k, ++i) {
            if (i >= identifier.size() || !std::isxdigit(static_cast<unsigned char>(identifier[i]))) return identifier;
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(identifier[i])));
        }
        if (pair < 5 && i < identifier.size() && (identifier[i] == ':' || identifier[i] == '-')) ++i;
    }
    return i == identifier.size() ? digits : identifier;
}

}  // namespace

// What the run loop and the identification tasks of one run share.
struct EAAccessoryOrvoDeviceDiscoveryManager::Run {
    EAAccessoryType type = EAAccessoryType::unknown;
    bool oneTime = false;
    std::shared_ptr<CancellationToken> token;
    // True once nobody is left to receive the finds (the manager was dropped).
    std::function<bool()> abandoned;
    std::function<void(std::shared_ptr<OrvoPrinter>)> didFind;
    std::function<void()> didFinish;

    std::mutex lock;
    std::vector<std::uint64_t> handled;

    // The identification tasks still under way.
    std::mutex groupMutex;
    std::condition_variable groupChanged;
    std::size_t pendingTasks = 0;

    bool stopRequested() const {
        return token->isCancelled() || GlobalQueue::isShuttingDown() || (abandoned && abandoned());
    }
    void enter() {
        std::lock_guard guard(groupMutex);
        ++pendingTasks;
    }
    void leave() {
        {
            std::lock_guard guard(groupMutex);
            --pendingTasks;
        }
        groupChanged.notify_all();
    }
    // Waits for the identification tasks; process exit cuts the wait short.
    void waitForTasks() {
        std::unique_lock guard(groupMutex);
        while (pendingTasks > 0 && !GlobalQueue::isShuttingDown()) groupChanged.wait_for(guard, kStep);
    }
    void forget(std::uint64_t connectionID) {
        std::lock_guard guard(lock);
        std::erase(handled, connectionID);
    }
};

InterfaceType EAAccessoryOrvoDeviceDiscoveryManager::interfaceType() const { return interfaceTypeOf(accessoryType()); }

void EAAccessoryOrvoDeviceDiscoveryManager::internalCheckAvailability() { checkTransportAvailability(); }

std::vector<std::shared_ptr<Accessory>> EAAccessoryOrvoDeviceDiscoveryManager::listConnectedAccessories() {
    std::vector<std::shared_ptr<Accessory>> list;
    for (auto& accessory : AccessoryBackend::manager()->connectedAccessories()) {
        if (accessory && EAAccessoryPortSettings::isMakersAccessory(*accessory)) list.push_back(std::move(accessory));
    }
    return list;
}

std::shared_ptr<OrvoPrinter> EAAccessoryOrvoDeviceDiscoveryManager::createPrinter(
    const std::shared_ptr<Accessory>& accessory) const {
    return createPrinterFor(accessoryType(), accessory);
}

InterfaceType EAAccessoryOrvoDeviceDiscoveryManager::interfaceTypeOfConnectedInterface(std::optional<std::int64_t> code) {
    if (!code || *code < 0 || *code >= 32) return InterfaceType::unknown;
    if (*code == 2) return InterfaceType::bluetooth;
    if (*code == 3) return InterfaceType::bluetoothLE;
    if (*code < 16) return InterfaceType::usb;
    if (*code < 20) return InterfaceType::bluetooth;
    if (*code < 24) return InterfaceType::bluetoothLE;
    return InterfaceType::lan;
}

void EAAccessoryOrvoDeviceDiscoveryManager::clearIdentificationCache() { IdentificationCache::shared().clear(); }

void EAAccessoryOrvoDeviceDiscoveryManager::identify(const std::shared_ptr<Run>& run,
                                                     const std::shared_ptr<Accessory>& accessory) {
    // The run's wait for its tasks is released however this task ends.
    struct Leave {
        Run& run;
        ~Leave() { run.leave(); }
    } leave{*run};
    const std::uint64_t connectionID = accessory->connectionID();
    try {
        const auto monitor = accessoryMonitor(accessory);
        std::lock_guard guard(*monitor);
        if (run->stopRequested()) return;
        if (auto printer = createPrinterFor(run->type, accessory)) run->didFind(std::move(printer));
    } catch (...) {
        // Not reported: the next pass tries the accessory again.
        run->forget(connectionID);
    }
}

void EAAccessoryOrvoDeviceDiscoveryManager::startRun(std::shared_ptr<Run> run) {
    GlobalQueue::async([run] {
        try {
            for (;;) {
                for (const auto& accessory : listConnectedAccessories()) {
                    const std::uint64_t connectionID = accessory->connectionID();
                    {
                        std::lock_guard guard(run->lock);
                        if (std::find(run->handled.begin(), run->handled.end(), connectionID) != run->handled.end()) {
                            continue;
                        }
                        run->handled.push_back(connectionID);
                    }
                    run->enter();
                    try {
                        GlobalQueue::async([run, accessory] { identify(run, accessory); });
                    } catch (...) {
                        run->leave();
                        run->forget(connectionID);
                    }
                }
                if (run->stopRequested()) {
                    if (run->oneTime) run->waitForTasks();
                    break;
                }
                std::this_thread::sleep_for(kStep);
                if (run->oneTime) {
                    run->waitForTasks();
                    break;
                }
            }
        } catch (...) {
            // Nothing escapes the worker; the run ends and reports its end.
        }
        try {
            run->didFinish();
        } catch (...) {
        }
    });
}

void EAAccessoryOrvoDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                   std::function<void()> completion) {
    // The run holds the manager weakly: dropping the manager ends the run.
    std::weak_ptr<BaseOrvoDeviceDiscoveryManager> weak = shared_from_this();
    auto run = std::make_shared<Run>();
    run->type = accessoryType();
    run->oneTime = listConnectedAccessoriesOneTime();
    run->token = token;
    run->abandoned = [weak] { return weak.expired(); };
    run->didFind = [weak, token](std::shared_ptr<OrvoPrinter> printer) {
        if (auto manager = weak.lock()) manager->didFindPrinter(std::move(printer), token);
    };
    run->didFinish = std::move(completion);
    startRun(std::move(run));
}

void EAAccessoryOrvoDeviceDiscoveryManager::findDevice(const std::string& identifier, std::int64_t timeout,
                                                       FindCompletion completion) {
    auto token = std::make_shared<CancellationToken>();
    token->cancel(timeout);
    const std::string wanted = normalizedIdentifier(identifier);
    // Set by whichever answer comes first; every later one is dropped, so the completion runs once even when
    // two accessories match at the same moment or a match races the timeout.
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto shared = std::make_shared<FindCompletion>(std::move(completion));
    auto run = std::make_shared<Run>();
    run->type = accessoryType();
    run->oneTime = false;
    run->token = token;
    run->didFind = [done, token, wanted, shared](std::shared_ptr<OrvoPrinter> printer) {
        if (done->load()) return;
        const auto information = printer->informationRecord();
        if (!information || !information->eaAccessory) return;
        const auto& accessory = information->eaAccessory;
        const auto& ids = information->connectionIdentifier;
        const bool matches = wanted == OrvoConnectionSettings::FIRST_FOUND_DEVICE() || accessory->name() == wanted ||
                             normalizedIdentifier(accessory->serialNumber()) == wanted ||
                             (ids.bluetoothAddress && *ids.bluetoothAddress == wanted) ||
                             (ids.usbSerialNumber && *ids.usbSerialNumber == wanted);
        if (!matches || done->exchange(true)) return;
        token->cancel();
        (*shared)(std::move(printer), std::nullopt);
    };
    run->didFinish = [done, shared] {
        if (done->exchange(true)) return;
        const Prelix10Error error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
        Log(nullptr, kClassName, "findDevice(identifier:timeout:completion:)", __LINE__)
            .writeIfLogging("Error - " + error.description());
        (*shared)(nullptr, error);
    };
    startRun(std::move(run));
}

std::shared_ptr<OrvoPrinter> EAAccessoryOrvoDeviceDiscoveryManager::findDevice(const std::string& identifier,
                                                                               std::int64_t timeout) {
    // The answer is handed over as values and raised on this thread: the completion's thread keeps no
    // share of an exception object that this one reads.
    struct Answer {
        std::mutex mutex;
        std::condition_variable given;
        bool done = false;
        std::shared_ptr<OrvoPrinter> printer;
        std::optional<Prelix10Error> error;
    };
    auto answer = std::make_shared<Answer>();
    findDevice(identifier, timeout, [answer](std::shared_ptr<OrvoPrinter> printer, std::optional<Prelix10Error> error) {
        {
            std::lock_guard guard(answer->mutex);
            answer->printer = std::move(printer);
            answer->error = std::move(error);
            answer->done = true;
        }
        answer->given.notify_all();
    });
    std::shared_ptr<OrvoPrinter> printer;
    {
        std::unique_lock guard(answer->mutex);
        answer->given.wait(guard, [&] { return answer->done; });
        if (answer->error) throw Prelix10Error(*answer->error);
        printer = answer->printer;
    }
    if (!printer) raiseUnexpectedState(Log(nullptr, kClassName, "findDevice(identifier:timeout:)", __LINE__), 24);
    return printer;
}

void EAAccessoryOrvoDeviceDiscoveryManager::installAccessoryLookup() {
    static std::once_flag once;
    std::call_once(once, [] {
        EAAccessoryPortSettings::setAccessoryLookup(
            [](EAAccessoryType type, const std::string& identifier, std::int64_t timeout) {
                std::shared_ptr<EAAccessoryOrvoDeviceDiscoveryManager> manager;
                if (type == EAAccessoryType::usb) manager = std::make_shared<USBOrvoDeviceDiscoveryManager>();
                else manager = std::make_shared<BluetoothOrvoDeviceDiscoveryManager>();
                const auto printer = manager->findDevice(identifier, timeout);
                const auto information = printer->informationRecord();
                AccessoryMatch match;
                if (information) {
                    match.accessory = information->eaAccessory;
                    match.connectionIdentifier = ConnectionIdentifierReader::fromRecord(information->connectionIdentifier);
                }
                return match;
            });
    });
}

}  // namespace Prelix10
