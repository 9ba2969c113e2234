#include "prelix10/transport/OrvoDeviceManager.hpp"

#include <algorithm>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/platform/Semaphore.hpp"

namespace Prelix10 {

namespace {

const char* const kExclusiveOpen = "exclusiveOpenPort(interfaceType:identifier:timeout:subIdentifiers:targetType:)";

Prelix10Error inUse() {
    return Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess);
}

}  // namespace

std::recursive_mutex& OrvoDeviceManager::lock() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::vector<std::shared_ptr<RawPort>>& OrvoDeviceManager::ports() {
    static std::vector<std::shared_ptr<RawPort>> registered;
    return registered;
}

std::shared_ptr<RawPort> OrvoDeviceManager::exclusiveOpenPort(InterfaceType interfaceType, const std::string& identifier,
                                                              std::int64_t timeout,
                                                              std::optional<std::vector<std::string>> subIdentifiers,
                                                              RawPortTargetType targetType) {
    Stopwatch watch;
    watch.start();
    const auto elapsed = [&] { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); };
    auto port = RawPortFactory::create(interfaceType, identifier, targetType, std::move(subIdentifiers));

    struct Outcome {
        std::optional<Prelix10Error> error;
    };
    auto outcome = std::make_shared<Outcome>();
    auto done = std::make_shared<Semaphore>(0);
    const std::int64_t lookupBudget = timeout - elapsed();
    GlobalQueue::async([port, outcome, done, lookupBudget] {
        try {
            registerPort(port, lookupBudget);
        } catch (const Prelix10Error& error) {
            outcome->error = error;
        } catch (...) {
            outcome->error = Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
        }
        done->signal();
    });
    done->wait();
    if (outcome->error) throw *outcome->error;

    try {
        port->open(timeout - elapsed());
    } catch (...) {
        releasePort(port.get());
        throw;
    }
    return port;
}

void OrvoDeviceManager::registerPort(const std::shared_ptr<RawPort>& port, std::int64_t timeout) {
    const Log log(nullptr, "OrvoDeviceManager", kExclusiveOpen, __LINE__);
    try {
        port->findDevice(timeout);
    } catch (const Prelix10Error& error) {
        if (error.kind() == Prelix10ErrorKind::notFound && port->interfaceType() == InterfaceType::bluetoothLE) {
            // A device held open by another port no longer advertises; a port made for its identifier means
            // it is in use rather than absent.
            const std::string wanted = FormatConverter::normalizeMacAddress(port->identifier());
            std::lock_guard guard(lock());
            for (const auto& registered : ports()) {
                if (FormatConverter::normalizeMacAddress(registered->identifier()) == wanted) raiseError(log, inUse());
            }
        }
        raiseError(log, error);
    }
    std::lock_guard guard(lock());
    if (isAlreadyOpened(*port)) raiseError(log, inUse());
    ports().push_back(port);
}

bool OrvoDeviceManager::isAlreadyOpened(const RawPort& port) {
    std::lock_guard guard(lock());
    return std::any_of(ports().begin(), ports().end(),
                       [&](const auto& registered) { return registered->isSameDevice(port); });
}

void OrvoDeviceManager::releasePort(const RawPort* port) {
    std::lock_guard guard(lock());
    auto& list = ports();
    auto it = std::find_if(list.begin(), list.end(), [port](const auto& p) { return p.get() == port; });
    if (it != list.end()) list.erase(it);
}

std::size_t OrvoDeviceManager::registeredCount() {
    std::lock_guard guard(lock());
    return ports().size();
}

}  // namespace Prelix10
