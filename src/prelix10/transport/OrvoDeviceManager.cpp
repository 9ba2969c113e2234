#include "prelix10/transport/OrvoDeviceManager.hpp"

#include <algorithm>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

std::mutex& OrvoDeviceManager::lock() {
    // The registry is never destroyed: a printer released on a worker thread at exit still finds it.
    static std::mutex* mutex = new std::mutex();
    return *mutex;
}

std::vector<std::shared_ptr<RawPort>>& OrvoDeviceManager::ports() {
    static auto* registered = new std::vector<std::shared_ptr<RawPort>>();
    return *registered;
}

void OrvoDeviceManager::registerPort(const std::shared_ptr<RawPort>& port, std::int64_t timeout) {
    const Log log(nullptr, "OrvoDeviceManager", "exclusiveOpenPort(interfaceType:identifier:timeout:subIdentifiers:targetType:)",
                  __LINE__);
    try {
        port->findDevice(timeout);
    } catch (const Prelix10Error& error) {
        raiseError(log, error);
    }
    std::lock_guard guard(lock());
    for (const auto& registered : ports()) {
        if (registered->isSameDevice(*port)) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherProcess));
        }
    }
    ports().push_back(port);
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
