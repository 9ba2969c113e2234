#include "prelix10/printer/AutoSwitchInterfaceSearch.hpp"

#include <algorithm>
#include <mutex>
#include <thread>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/platform/Semaphore.hpp"
#include "prelix10/printer/ConnectionIdentifierReader.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/RawPortFactory.hpp"

namespace Prelix10 {

namespace {

constexpr const char* kMethod =
    "openRawPortWithAutoSwitchInterface(baseInterfaceType:baseIdentifier:connectionIdentifier:timeout:)";

std::mutex& observerMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}
AutoSwitchInterfaceSearch::AttemptObserver& observerSlot() {
    static auto* slot = new AutoSwitchInterfaceSearch::AttemptObserver();
    return *slot;
}

void tellObserver(const AutoSwitchAttempt& attempt) {
    AutoSwitchInterfaceSearch::AttemptObserver observer;
    {
        std::lock_guard guard(observerMutex());
        observer = observerSlot();
    }
    if (observer) observer(attempt);
}

bool isKnown(const std::optional<std::string>& field) {
    return field && *field != OrvoConnectionIdentifier::UNAVAILABLE();
}

std::int64_t elapsed(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

// A candidate of one pass: how to make its port, and the slice it is given.
struct Candidate {
    AutoSwitchAttempt attempt;
    bool fromFactory = false;
};

std::shared_ptr<RawPort> makePort(const Candidate& candidate) {
    const auto& a = candidate.attempt;
    if (candidate.fromFactory) return RawPortFactory::create(a.interfaceType, a.identifier);
    switch (a.interfaceType) {
        case InterfaceType::usb:
            return std::make_shared<USBPort>(a.identifier);
        case InterfaceType::bluetooth:
            return std::make_shared<BluetoothPort>(a.identifier);
        default:
            return std::make_shared<TCPPort>(a.identifier, NetworkPortSettings::ports().data, a.subIdentifiers);
    }
}

// One try: make the port, look the device up and register the port on a worker while this thread waits,
// then open it with what is left of the slice. The open port, or the error of the try.
std::shared_ptr<RawPort> tryCandidate(const Candidate& candidate, std::optional<Prelix10Error>& failure) {
    Stopwatch watch;
    watch.start();
    const std::int64_t slice = candidate.attempt.slice;
    std::shared_ptr<RawPort> port;
    try {
        port = makePort(candidate);
    } catch (const Prelix10Error& error) {
        failure = error;
        return nullptr;
    }
    struct Outcome {
        std::optional<Prelix10Error> error;
        bool other = false;
    };
    auto outcome = std::make_shared<Outcome>();
    auto done = std::make_shared<Semaphore>(0);
    const std::int64_t lookup = slice - elapsed(watch);
    GlobalQueue::async([port, outcome, done, lookup] {
        try {
            OrvoDeviceManager::registerPort(port, lookup);
        } catch (const Prelix10Error& error) {
            outcome->error = error;
        } catch (...) {
            outcome->other = true;
        }
        done->signal();
    });
    done->wait();
    if (outcome->error || outcome->other) {
        failure = outcome->error;
        return nullptr;
    }
    try {
        port->open(slice - elapsed(watch));
    } catch (const Prelix10Error& error) {
        OrvoDeviceManager::releasePort(port.get());
        failure = error;
        return nullptr;
    } catch (...) {
        OrvoDeviceManager::releasePort(port.get());
        failure.reset();
        return nullptr;
    }
    return port;
}

}  // namespace

void AutoSwitchInterfaceSearch::setAttemptObserver(AttemptObserver observer) {
    std::lock_guard guard(observerMutex());
    observerSlot() = std::move(observer);
}

AutoSwitchInterfaceSearch::ErrorTable AutoSwitchInterfaceSearch::emptyErrorTable() {
    return {{1, std::nullopt}, {2, std::nullopt}, {3, std::nullopt}, {4, std::nullopt}};
}

std::optional<OrvoConnectionIdentifier> AutoSwitchInterfaceSearch::targetIdentifier(
    const std::optional<PrinterInformationRecord>& information, const OrvoConnectionSettings& settings) {
    if (information && ConnectionIdentifierReader::isComplete(information->connectionIdentifier)) {
        return ConnectionIdentifierReader::fromRecord(information->connectionIdentifier);
    }
    if (information) {
        const auto stored =
            OrvoConnectionIdentifierManager::find(ConnectionIdentifierReader::fromRecord(information->connectionIdentifier));
        if (stored && stored->hasAllIdentifiers()) return stored;
    }
    return OrvoConnectionIdentifierManager::find(
        OrvoConnectionIdentifier::probe(settings.interfaceType(), settings.identifier()));
}

std::shared_ptr<RawPort> AutoSwitchInterfaceSearch::open(InterfaceType base, const std::string& baseIdentifier,
                                                         const OrvoConnectionIdentifier& target, std::int64_t timeout,
                                                         ErrorTable& errors) {
    const Log log(nullptr, "OrvoPrinter", kMethod, __LINE__);
    if (!target.macAddress) raiseUnexpectedState(log, 674);
    if (!target.wlanMacAddress) raiseUnexpectedState(log, 679);
    if (!target.bluetoothAddress) raiseUnexpectedState(log, 684);
    if (!target.usbSerialNumber) raiseUnexpectedState(log, 689);

    Stopwatch watch;
    watch.start();
    errors = emptyErrorTable();
    const auto left = [&] { return Deadline::remaining(timeout, elapsed(watch)); };
    const bool knownUsb = isKnown(target.usbSerialNumber);
    const bool knownBluetooth = isKnown(target.bluetoothAddress);
    const bool knownMac = isKnown(target.macAddress);
    const bool knownWlan = isKnown(target.wlanMacAddress);
    const std::string normalizedBase = FormatConverter::normalizeMacAddress(baseIdentifier);

    for (std::int64_t k = 0; left() > 0; k = Deadline::addMilliseconds(k, 1000)) {
        const std::int64_t usbSlice = Deadline::addMilliseconds(k, 2000);
        const std::int64_t lanSlice = Deadline::addMilliseconds(k, 1000);
        std::int64_t rest = timeout;
        if (knownUsb) rest -= usbSlice;
        if (knownMac || knownWlan) rest -= lanSlice;
        const std::int64_t bleSlice = rest < 3500    ? Deadline::addMilliseconds(k, 3500)
                                      : rest < 15001 ? Deadline::addMilliseconds(rest, k)
                                                     : Deadline::addMilliseconds(k, 15000);

        std::vector<Candidate> candidates;
        {
            Candidate first;
            first.attempt.interfaceType = base;
            first.attempt.identifier = baseIdentifier;
            if (base == InterfaceType::lan) {
                for (const auto* field : {&target.macAddress, &target.wlanMacAddress}) {
                    if (isKnown(*field) && **field != normalizedBase) first.attempt.subIdentifiers.push_back(**field);
                }
                first.attempt.slice = lanSlice;
            } else {
                first.fromFactory = true;
                first.attempt.slice = base == InterfaceType::bluetoothLE ? bleSlice : usbSlice;
            }
            candidates.push_back(std::move(first));
        }
        if (base != InterfaceType::usb && knownUsb) {
            candidates.push_back({{InterfaceType::usb, *target.usbSerialNumber, {}, usbSlice}, false});
        }
        if (base != InterfaceType::bluetooth && knownBluetooth) {
            candidates.push_back({{InterfaceType::bluetooth, *target.bluetoothAddress, {}, usbSlice}, false});
        }
        if (base != InterfaceType::lan && (knownMac || knownWlan)) {
            Candidate lan{{InterfaceType::lan, kLanPlaceholderIdentifier, {}, lanSlice}, false};
            if (knownMac) lan.attempt.subIdentifiers.push_back(*target.macAddress);
            if (knownWlan) lan.attempt.subIdentifiers.push_back(*target.wlanMacAddress);
            candidates.push_back(std::move(lan));
        }

        const std::int64_t passStart = elapsed(watch);
        std::int64_t slicesGiven = 0;
        for (auto& candidate : candidates) {
            if (left() <= 0) break;
            // A slice never reaches past the deadline.
            if (Deadline::addMilliseconds(elapsed(watch), candidate.attempt.slice) >= timeout) {
                candidate.attempt.slice = left();
            }
            slicesGiven = Deadline::addMilliseconds(slicesGiven, candidate.attempt.slice);
            tellObserver(candidate.attempt);
            std::optional<Prelix10Error> failure;
            if (auto port = tryCandidate(candidate, failure)) return port;
            if (failure) errors[static_cast<int>(candidate.attempt.interfaceType)] = failure;
        }
        // Every try failed before its time was used (nothing there to wait for): pause before the next pass.
        if (left() > 0 && elapsed(watch) - passStart < slicesGiven) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(kPassPause.count(), left())));
        }
    }
    raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed));
}

}  // namespace Prelix10
