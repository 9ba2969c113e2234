#pragma once

#include "prelix10/core/Export.hpp"

#include "prelix10/discovery/EAAccessoryOrvoDeviceDiscoveryManager.hpp"

namespace Prelix10 {

// Finds the maker's USB printers among the connected accessories.
class PRELIX10_EXPORT USBOrvoDeviceDiscoveryManager final : public EAAccessoryOrvoDeviceDiscoveryManager {
public:
    EAAccessoryType accessoryType() const override { return EAAccessoryType::usb; }

protected:
    void checkTransportAvailability() override {}
};

}  // namespace Prelix10
