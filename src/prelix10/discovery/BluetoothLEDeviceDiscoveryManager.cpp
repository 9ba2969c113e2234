#include "prelix10/discovery/BluetoothLEDeviceDiscoveryManager.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <regex>
#include <thread>
#include <utility>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/platform/Semaphore.hpp"
#include "prelix10/protocol/OrvoAdvertisePacketParser.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"

namespace Prelix10 {

namespace {

constexpr auto kTokenPoll = std::chrono::milliseconds(10);
// Far enough for any lookup, near enough that a deadline never overflows.
constexpr std::int64_t kLongestWait = 1LL << 40;

}  // namespace

struct BluetoothLEDeviceDiscoveryManager::Scan {
    std::shared_ptr<CancellationToken> token;
    OnDiscover onDiscover;
    std::function<void()> onComplete;
    // Every delivery of this scan, in order: off the stack's thread and outside every lock of the scan.
    SerialQueue queue{"Prelix10.BluetoothLEScan"};
    std::atomic<bool> ended{false};

    // Withdraws the scan and queues its end once; finds still queued are dropped.
    static void finish(const std::shared_ptr<Scan>& scan) {
        if (scan->ended.exchange(true)) return;
        CentralManagerControl::shared().stopScan(scan.get());
        scan->queue.async([scan] {
            auto onComplete = std::move(scan->onComplete);
            scan->onDiscover = nullptr;  // lets go of what the caller's closures hold
            try {
                if (onComplete) onComplete();
            } catch (...) {
            }
        });
    }
};

BluetoothLEDeviceDiscoveryManager::BluetoothLEDeviceDiscoveryManager() = default;

BluetoothLEDeviceDiscoveryManager::~BluetoothLEDeviceDiscoveryManager() {
    std::shared_ptr<Scan> scan;
    {
        std::lock_guard lock(mutex_);
        scan = std::move(current_);
    }
    if (scan) Scan::finish(scan);
}

void BluetoothLEDeviceDiscoveryManager::checkAvailability() {
    const auto state = CentralManagerControl::shared().waitForState(kAvailabilityWait);
    if (state != BleManagerState::poweredOn) {
        raiseError(Log(nullptr, "BluetoothLEDeviceDiscoveryManager", "checkAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::bluetoothUnavailable,
                                 Prelix10ErrorCode::bluetoothUnavailable));
    }
}

std::string BluetoothLEDeviceDiscoveryManager::normalizedIdentifier(const std::string& identifier) {
    static const std::regex kAddress("^([0-9A-Fa-f]{2}[:-]?){5}[0-9A-Fa-f]{2}$");
    if (identifier.size() > 17 || !std::regex_match(identifier, kAddress)) return identifier;
    std::string out;
    for (char c : identifier) {
        if (c == ':' || c == '-') continue;
        out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return out;
}

std::shared_ptr<BluetoothLEInformation> BluetoothLEDeviceDiscoveryManager::information(
    const std::shared_ptr<BlePeripheral>& peripheral, const BleAdvertisementData& advertisementData, int rssi) {
    if (!peripheral || !advertisementData.manufacturerData) return nullptr;
    OrvoAdvertisePacketParser parser;
    if (parser.parse(*advertisementData.manufacturerData).state != CommandParserState::complete) return nullptr;
    if (!parser.modelName || !parser.address) return nullptr;
    auto information = std::make_shared<BluetoothLEInformation>();
    information->peripheral = peripheral;
    information->rssi = rssi;
    information->deviceName = peripheral->name();
    information->modelName = std::move(parser.modelName);
    information->address = std::move(parser.address);
    information->capPrintService = parser.capPrintService;
    information->capWLanSettingService = parser.capWLanSettingService;
    information->wLanSettingServiceStatus = parser.wLanSettingServiceStatus;
    return information;
}

void BluetoothLEDeviceDiscoveryManager::scan(std::shared_ptr<CancellationToken> token, OnDiscover onDiscover,
                                             std::function<void()> onComplete) {
    auto scan = std::make_shared<Scan>();
    scan->token = token ? std::move(token) : std::make_shared<CancellationToken>();
    scan->onDiscover = std::move(onDiscover);
    scan->onComplete = std::move(onComplete);
    std::shared_ptr<Scan> replaced;
    {
        std::lock_guard lock(mutex_);
        replaced = std::exchange(current_, scan);
    }
    if (replaced) Scan::finish(replaced);

    std::weak_ptr<Scan> weakScan = scan;
    // The replay of a running scan comes through here on this thread; it is queued like every other find, so
    // it reaches the caller after this call (and the caller's own locks) have been left.
    CentralManagerControl::shared().startScan(
        scan.get(), [weakScan](const std::shared_ptr<BlePeripheral>& peripheral, const BleAdvertisementData& data, int rssi) {
            auto scan = weakScan.lock();
            if (!scan || scan->ended.load()) return;
            auto information = BluetoothLEDeviceDiscoveryManager::information(peripheral, data, rssi);
            if (!information) return;
            scan->queue.async([weakScan, information] {
                auto scan = weakScan.lock();
                if (!scan || scan->ended.load() || !scan->onDiscover) return;
                try {
                    scan->onDiscover(information);
                } catch (...) {
                }
            });
        });

    GlobalQueue::async([scan] {
        while (!scan->token->isCancelled() && !scan->ended.load()) std::this_thread::sleep_for(kTokenPoll);
        Scan::finish(scan);
    });
}

void BluetoothLEDeviceDiscoveryManager::findDevice(const std::string& identifier, std::int64_t timeout,
                                                   FindCompletion completion) {
    auto token = std::make_shared<CancellationToken>();
    token->cancel(std::clamp<std::int64_t>(timeout, 0, kLongestWait));
    const std::string wanted = normalizedIdentifier(identifier);
    const bool anyDevice = wanted == OrvoConnectionSettings::FIRST_FOUND_DEVICE();
    auto answered = std::make_shared<std::atomic<bool>>(false);
    auto shared = std::make_shared<FindCompletion>(std::move(completion));
    scan(
        token,
        [token, wanted, anyDevice, answered, shared](const std::shared_ptr<BluetoothLEInformation>& information) {
            if (answered->load() || !information->address) return;
            if (!anyDevice && normalizedIdentifier(*information->address) != wanted) return;
            if (answered->exchange(true)) return;
            token->cancel();
            (*shared)(information, std::nullopt);
        },
        [answered, shared] {
            if (answered->exchange(true)) return;
            Prelix10Error error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
            if (Prelix10Logger::shared().isLogging()) {
                Log(nullptr, "BluetoothLEDeviceDiscoveryManager", "findDevice(identifier:timeout:completion:)", __LINE__)
                    .write("Error - " + Util::describe(error));
            }
            (*shared)(nullptr, error);
        });
}

std::shared_ptr<BluetoothLEInformation> BluetoothLEDeviceDiscoveryManager::findDevice(
    const std::string& identifier, std::int64_t timeout, const std::function<bool()>& isAbandoned) {
    struct Answer {
        Semaphore done;
        std::shared_ptr<BluetoothLEInformation> information;
        std::optional<Prelix10Error> error;
    };
    auto answer = std::make_shared<Answer>();
    findDevice(identifier, timeout, [answer](std::shared_ptr<BluetoothLEInformation> information, std::optional<Prelix10Error> error) {
        answer->information = std::move(information);
        answer->error = std::move(error);
        answer->done.signal();
    });
    if (isAbandoned) {
        while (!answer->done.waitFor(kTokenPoll)) {
            if (!isAbandoned()) continue;
            std::shared_ptr<Scan> scan;
            {
                std::lock_guard lock(mutex_);
                scan = current_;
            }
            if (scan) scan->token->cancel();
        }
    } else {
        answer->done.wait();
    }
    if (answer->error) throw *answer->error;
    if (!answer->information) raiseUnexpectedState(Log(this, "findDevice(identifier:timeout:)", __LINE__), __LINE__);
    return answer->information;
}

}  // namespace Prelix10
