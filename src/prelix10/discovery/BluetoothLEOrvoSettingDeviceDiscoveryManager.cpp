#include "prelix10/discovery/BluetoothLEOrvoSettingDeviceDiscoveryManager.hpp"

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"

namespace Prelix10 {

void BluetoothLEOrvoSettingDeviceDiscoveryManager::internalCheckAvailability() {
    BluetoothLEDeviceDiscoveryManager::checkAvailability();
}

void BluetoothLEOrvoSettingDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                          std::function<void()> completion) {
    std::weak_ptr<BaseOrvoSettingDeviceDiscoveryManager> weakSelf = shared_from_this();
    baseBleDiscoveryManager_.scan(
        token,
        [weakSelf](const std::shared_ptr<BluetoothLEInformation>& information) {
            auto self = weakSelf.lock();
            if (!self || !information->capWLanSettingService) return;
            if (auto device = createSettingDevice(information)) self->didFindSettingDevice(device, self->cancellationToken());
        },
        std::move(completion));
}

std::shared_ptr<OrvoSettingDevice> BluetoothLEOrvoSettingDeviceDiscoveryManager::createSettingDevice(
    const std::shared_ptr<BluetoothLEInformation>& information) {
    auto record = BluetoothLEOrvoDeviceDiscoveryManager::informationRecord(information);
    if (!record) return nullptr;
    OrvoConnectionSettings settings(InterfaceType::bluetoothLE, *information->address, true);
    return OrvoSettingDevice::create(std::move(*record), std::move(settings));
}

}  // namespace Prelix10
