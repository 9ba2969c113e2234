#pragma once

#include "prelix10/core/Export.hpp"

#include "prelix10/discovery/EAAccessoryOrvoDeviceDiscoveryManager.hpp"

namespace Prelix10 {

// Finds the maker's Bluetooth (classic) printers among the connected accessories.
class PRELIX10_EXPORT BluetoothOrvoDeviceDiscoveryManager final : public EAAccessoryOrvoDeviceDiscoveryManager {
public:
    EAAccessoryType accessoryType() const override { return EAAccessoryType::bluetooth; }

protected:
    // "Bluetooth unavailable." (illegal device state, 2000) unless the radio is on within 2000 ms.
    void checkTransportAvailability() override;
};

}  // namespace Prelix10
