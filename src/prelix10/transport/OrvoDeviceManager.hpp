#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/transport/RawPort.hpp"
#include "prelix10/transport/RawPortFactory.hpp"

namespace Prelix10 {

// The process-wide list of raw ports opened exclusively: a device is open through at most one port.
class OrvoDeviceManager {
public:
    // Makes the port for the interface and identifier, looks its device up and registers it (as
    // registerPort, on a worker thread while the caller waits), then opens it with what is left of timeout
    // milliseconds. A failed open takes the port out of the registry again and passes its error on.
    static std::shared_ptr<RawPort> exclusiveOpenPort(InterfaceType interfaceType, const std::string& identifier,
                                                      std::int64_t timeout,
                                                      std::optional<std::vector<std::string>> subIdentifiers = std::nullopt,
                                                      RawPortTargetType targetType = RawPortTargetType::printer);
    // Looks the port's device up within timeout milliseconds and registers the port; "The device is in use by
    // another process." (inUse) when a registered port reaches the same device, and, for a Bluetooth LE
    // device the lookup did not find, when a registered port was made for the same identifier (MAC
    // addresses compared normalised). Does not open the port.
    static void registerPort(const std::shared_ptr<RawPort>& port, std::int64_t timeout);
    // Whether a registered port, asked in registration order, reaches the same device as the port.
    static bool isAlreadyOpened(const RawPort& port);
    // Removes this very port object; nothing when it is not registered.
    static void releasePort(const RawPort* port);
    static std::size_t registeredCount();

private:
    static std::recursive_mutex& lock();
    static std::vector<std::shared_ptr<RawPort>>& ports();
};

}  // namespace Prelix10
