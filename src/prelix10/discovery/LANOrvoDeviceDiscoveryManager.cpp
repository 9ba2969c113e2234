#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <sstream>
#include <thread>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/NetworkInformation.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/PrinterSpecConstants.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/discovery/DiscoverySocket.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

namespace Prelix10 {

namespace {

constexpr const char* kClassName = "LANOrvoDeviceDiscoveryManager";
constexpr auto kStep = std::chrono::milliseconds(10);
constexpr double kPollingMilliseconds = 500;

// Never destroyed: discovery loops read them and may still run while the process exits.
std::mutex& overrideMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}
std::optional<std::string>& overrideSlot() {
    static auto* slot = new std::optional<std::string>();
    return *slot;
}

std::vector<int> parseOctets(const std::string& text) {
    std::vector<int> out;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, '.')) out.push_back(std::stoi(part));
    return out;
}

}  // namespace

// What the loops of one run share.
struct LANOrvoDeviceDiscoveryManager::Run {
    std::shared_ptr<CancellationToken> token;
    std::optional<std::string> targetIPAddress;
    DidFind didFind;
    std::atomic<std::size_t> endedLoops{0};
    bool stopRequested() const;
};

void LANOrvoDeviceDiscoveryManager::setBroadcastTargetOverride(std::optional<std::string> address) {
    std::lock_guard guard(overrideMutex());
    overrideSlot() = std::move(address);
}

std::optional<std::string> LANOrvoDeviceDiscoveryManager::broadcastTargetOverride() {
    std::lock_guard guard(overrideMutex());
    return overrideSlot();
}

void LANOrvoDeviceDiscoveryManager::useLoopback(const LanPortNumbers& ports) {
    NetworkInformation::setProvider([] {
        InterfaceAddressEntry entry;
        entry.name = "en-loopback";
        entry.isIPv4 = true;
        entry.isUp = true;
        entry.address = "127.0.0.1";
        entry.netmask = "255.0.0.0";
        return std::optional<std::vector<InterfaceAddressEntry>>({entry});
    });
    setBroadcastTargetOverride("127.0.0.1");
    NetworkPortSettings::setPorts(ports);
}

void LANOrvoDeviceDiscoveryManager::checkAvailability() {
    if (NetworkInformation::listIPv4Interfaces().empty()) {
        raiseError(Log(nullptr, kClassName, "checkAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::networkUnavailable,
                                 Prelix10ErrorCode::networkUnavailable));
    }
}

void LANOrvoDeviceDiscoveryManager::internalCheckAvailability() { checkAvailability(); }

void LANOrvoDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                           std::function<void()> completion) {
    // The run holds the manager weakly, so that dropping the manager ends the run (its destructor cancels
    // the token).
    std::weak_ptr<LANOrvoDeviceDiscoveryManager> weak =
        std::static_pointer_cast<LANOrvoDeviceDiscoveryManager>(shared_from_this());
    discover(
        token, std::nullopt,
        [weak, token](std::shared_ptr<OrvoPrinter> printer) {
            if (auto manager = weak.lock()) manager->didFindPrinter(std::move(printer), token);
        },
        std::move(completion));
}

std::string LANOrvoDeviceDiscoveryManager::getDirectedBroadcastAddress(const std::string& ipAddress,
                                                                       const std::string& subnetMask) {
    const Log log(nullptr, kClassName, "getDirectedBroadcastAddress(ipAddress:subnetMask:)", __LINE__);
    if (!FormatChecker::isIPv4Address(ipAddress) || !FormatChecker::isIPv4Address(subnetMask)) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::unknown, makeUnexpectedStateMessage(kClassName, 280)));
    }
    const auto address = parseOctets(ipAddress);
    const auto mask = parseOctets(subnetMask);
    std::string out;
    for (int i = 0; i < 4; ++i) {
        if (i) out += '.';
        out += std::to_string((address[i] | ~mask[i]) & 0xFF);
    }
    return out;
}

bool LANOrvoDeviceDiscoveryManager::isVersion(const std::optional<std::string>& version, const std::string& atLeast) {
    if (!version) return false;
    auto components = [](std::string text) {
        for (std::size_t at; (at = text.find("RS")) != std::string::npos;) text.erase(at, 2);
        std::vector<long long> out;
        std::stringstream stream(text);
        std::string part;
        while (std::getline(stream, part, '.')) {
            if (part.empty() || part.size() > 18) continue;
            bool digits = true;
            for (char c : part) digits = digits && c >= '0' && c <= '9';
            if (digits) out.push_back(std::stoll(part));
        }
        return out;
    };
    const auto v = components(*version);
    const auto r = components(atLeast);
    for (std::size_t i = 0; i < std::min(v.size(), r.size()); ++i) {
        if (v[i] != r[i]) return v[i] > r[i];
    }
    return true;
}

std::shared_ptr<OrvoPrinter> LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView reply) {
    DiscoveryParser parser;
    if (parser.parse(reply).state != CommandParserState::complete) return nullptr;
    const auto& record = parser.nicInformation();
    // A reply without the MAC address cannot name its printer; it is passed over like an incomplete one.
    if (!record || !record->macAddress || !record->deviceModel) return nullptr;
    auto detection = ModelDetection::detectModelFromDeviceModel(*record);
    auto spec = PrinterSpecTable::findSpec(detection->model());
    if (!isVersion(record->responseVersion, spec ? spec->minimumRsVersion : "1.0.0")) return nullptr;
    if (spec && spec->detectModelByExModelName) {
        if (!record->nameDetail) return nullptr;
        detection = ModelDetection::detectModelFromExModelName(*record);
        spec = PrinterSpecTable::findSpec(detection->model());
    }
    PrinterInformationRecord information;
    information.modelDetectionInformation = detection;
    information.model = detection->model();
    information.emulation = spec ? spec->emulation : OrvoPrinterEmulation::unknown;
    information.connectionIdentifier.macAddress = record->macAddress;
    information.nicInformation = *record;
    OrvoConnectionSettings settings(InterfaceType::lan, *record->macAddress, true);
    return OrvoPrinter::create(std::move(settings), std::move(information));
}

void LANOrvoDeviceDiscoveryManager::discover(std::shared_ptr<CancellationToken> token,
                                             std::optional<std::string> targetIPAddress, DidFind didFind,
                                             std::function<void()> didFinish) {
    auto run = std::make_shared<Run>();
    run->token = token;
    run->targetIPAddress = std::move(targetIPAddress);
    run->didFind = std::move(didFind);
    const auto networks = NetworkInformation::listIPv4Interfaces();
    for (const auto& network : networks) {
        std::string broadcast;
        try {
            broadcast = getDirectedBroadcastAddress(network.ipAddress(), network.subnetMask());
        } catch (...) {
            run->endedLoops.fetch_add(1);
            continue;
        }
        GlobalQueue::async([run, local = network.ipAddress(), mask = network.subnetMask(), broadcast] {
            runDiscoveryLoop(run, local, mask, broadcast);
        });
    }
    // The end is reported once every loop has closed its sockets, so that a restarted run never overlaps
    // loops of the one before. The loops look at the token every 10 ms.
    GlobalQueue::async([run, count = networks.size(), didFinish = std::move(didFinish)] {
        while (run->endedLoops.load() < count) std::this_thread::sleep_for(kStep);
        didFinish();
    });
}

bool LANOrvoDeviceDiscoveryManager::Run::stopRequested() const {
    // Process exit ends the loops as a cancel would.
    return token->isCancelled() || GlobalQueue::isShuttingDown();
}

void LANOrvoDeviceDiscoveryManager::runDiscoveryLoop(std::shared_ptr<Run> run, std::string localIPAddress,
                                                     std::string subnetMask, std::string broadcastAddress) {
    try {
        const ByteBlock version4 = DiscoveryCommand::makeRequest(true);
        const ByteBlock version1 = DiscoveryCommand::makeRequest(false);
        const std::uint16_t port = NetworkPortSettings::ports().discovery;
        const auto overridden = broadcastTargetOverride();
        const std::string broadcastTarget = overridden.value_or(broadcastAddress);
        const std::uint32_t local = DiscoverySocket::parseAddress(localIPAddress).value_or(0);
        const std::uint32_t mask = DiscoverySocket::parseAddress(subnetMask).value_or(0xFFFFFFFF);

        struct Target {
            std::string address;
            bool isBroadcast = false;
            DiscoverySocket socket;
        };
        std::vector<std::unique_ptr<Target>> targets;
        auto addTarget = [&](std::string address, bool isBroadcast) {
            auto target = std::make_unique<Target>();
            target->address = std::move(address);
            target->isBroadcast = isBroadcast;
            targets.push_back(std::move(target));
        };
        addTarget(broadcastTarget, !overridden);
        if (run->targetIPAddress) addTarget(*run->targetIPAddress, false);

        // Whether a datagram comes from where this socket's request went.
        auto fromRequested = [&](const Target& target, const ReceivedDatagram& datagram) {
            if (datagram.sourcePort != target.socket.targetPort()) return false;
            if (datagram.sourceAddress == target.socket.targetAddress()) return true;
            return target.isBroadcast && (datagram.sourceAddress & mask) == (local & mask);
        };

        while (!run->stopRequested()) {
            for (auto& target : targets) {
                if (!target->socket.isOpen() && target->socket.open(localIPAddress, target->address, port) != 0) continue;
                if (!target->socket.send(version4)) {
                    target->socket.close();
                    continue;
                }
                std::this_thread::sleep_for(kStep);
                if (!target->socket.send(version1)) target->socket.close();
            }
            Stopwatch stopwatch;
            stopwatch.start();
            while (!run->stopRequested() && stopwatch.elapsedMilliseconds() < kPollingMilliseconds) {
                bool found = false;
                for (auto& target : targets) {
                    auto datagram = target->socket.receive();
                    if (!datagram) continue;
                    if (!fromRequested(*target, *datagram)) continue;
                    if (auto printer = discoverOrvoPrinter(ByteView(datagram->bytes))) {
                        found = true;
                        run->didFind(std::move(printer));
                    }
                }
                if (!found) std::this_thread::sleep_for(kStep);
            }
            if (!run->stopRequested()) std::this_thread::sleep_for(kStep);
        }
    } catch (...) {
        // Nothing escapes a worker; the loop simply ends.
    }
    run->endedLoops.fetch_add(1);
}

void LANOrvoDeviceDiscoveryManager::findDevice(const std::vector<std::string>& identifiers, std::int64_t timeout,
                                               FindCompletion completion) {
    auto token = std::make_shared<CancellationToken>();
    token->cancel(timeout);
    std::optional<std::string> target;
    std::vector<std::string> normalized;
    for (const auto& id : identifiers) {
        if (!target && FormatChecker::isIPv4Address(id)) target = id;
        normalized.push_back(FormatConverter::normalizeMacAddress(id));
    }
    const bool firstFound =
        std::find(identifiers.begin(), identifiers.end(), OrvoConnectionSettings::FIRST_FOUND_DEVICE()) !=
        identifiers.end();
    auto done = std::make_shared<std::atomic<bool>>(false);
    auto shared = std::make_shared<FindCompletion>(std::move(completion));
    discover(
        token, target,
        [done, token, normalized, firstFound, shared](std::shared_ptr<OrvoPrinter> printer) {
            if (done->load()) return;
            const auto information = printer->informationRecord();
            if (!information || !information->nicInformation) return;
            const auto& mac = information->nicInformation->macAddress;
            const auto& ip = information->nicInformation->ipAddress;
            if (!mac || !ip) return;
            const bool matches = firstFound ||
                                 std::find(normalized.begin(), normalized.end(), *mac) != normalized.end() ||
                                 std::find(normalized.begin(), normalized.end(), *ip) != normalized.end();
            if (!matches || done->exchange(true)) return;
            token->cancel();
            (*shared)(std::move(printer), std::nullopt);
        },
        [done, shared, token] {
            if (done->exchange(true)) return;
            const Prelix10Error error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
            Log(nullptr, kClassName, "findDevice(identifiers:timeout:completion:)", __LINE__)
                .writeIfLogging("Error - " + error.description());
            (*shared)(nullptr, error);
        });
}

std::shared_ptr<OrvoPrinter> LANOrvoDeviceDiscoveryManager::findDevice(const std::vector<std::string>& identifiers,
                                                                       std::int64_t timeout) {
    auto promise = std::make_shared<std::promise<std::shared_ptr<OrvoPrinter>>>();
    auto future = promise->get_future();
    findDevice(identifiers, timeout, [promise](std::shared_ptr<OrvoPrinter> printer, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else promise->set_value(std::move(printer));
    });
    auto printer = future.get();
    if (!printer) raiseUnexpectedState(Log(nullptr, kClassName, "findDevice(identifiers:timeout:)", __LINE__), 27);
    return printer;
}

void LANOrvoDeviceDiscoveryManager::installNetworkCardLookup() {
    static std::once_flag once;
    std::call_once(once, [] {
        NetworkPortSettings::setNetworkCardLookup([](const std::vector<std::string>& identifiers, std::int64_t timeout) {
            auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
            const auto printer = manager->findDevice(identifiers, timeout);
            NetworkCardRecord record;
            const auto information = printer->informationRecord();
            if (information && information->nicInformation) {
                record.ipAddress = information->nicInformation->ipAddress;
                record.macAddress = information->nicInformation->macAddress;
                record.name = information->nicInformation->name;
                record.card = std::make_shared<const OrvoNICInformation>(*information->nicInformation);
            }
            return record;
        });
    });
}

}  // namespace Prelix10
