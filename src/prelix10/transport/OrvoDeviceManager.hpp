#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// The process-wide list of raw ports opened exclusively: a device is open through at most one port.
class OrvoDeviceManager {
public:
    // Looks the port's device up within timeout milliseconds and registers the port; "The device is in use by
    // another process." (inUse) when a registered port reaches the same device. Does not open the port.
    static void registerPort(const std::shared_ptr<RawPort>& port, std::int64_t timeout);
    // Removes this very port object; nothing when it is not registered.
    static void releasePort(const RawPort* port);
    static std::size_t registeredCount();

private:
    static std::mutex& lock();
    static std::vector<std::shared_ptr<RawPort>>& ports();
};

}  // namespace Prelix10
