#pragma once

#include "prelix10/platform/BleCentral.hpp"

namespace Prelix10 {

// The two GATT services of the maker's devices.
enum class BLEService : int {
    atService = 0,
    printService = 1,
};

namespace BLEServices {
// The service's identifier, and those of its write and notify characteristics; made once, shared by all ports.
const BleUuid& serviceUuid(BLEService service);
const BleUuid& writeCharacteristicUuid(BLEService service);
const BleUuid& notifyCharacteristicUuid(BLEService service);
}  // namespace BLEServices

}  // namespace Prelix10
