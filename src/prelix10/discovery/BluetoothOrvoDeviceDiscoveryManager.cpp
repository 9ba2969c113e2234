#include "prelix10/discovery/BluetoothOrvoDeviceDiscoveryManager.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"

namespace Prelix10 {

void BluetoothOrvoDeviceDiscoveryManager::checkTransportAvailability() {
    if (CentralManagerControl::shared().waitForState(2000) != BleManagerState::poweredOn) {
        raiseError(Log(this, "internalCheckAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::bluetoothUnavailable,
                                 Prelix10ErrorCode::bluetoothUnavailable));
    }
}

}  // namespace Prelix10
