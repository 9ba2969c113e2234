#include "prelix10/platform/SystemAccessoryBackend.hpp"

#include "prelix10/platform/BlueZPairedDevices.hpp"

namespace Prelix10 {

std::shared_ptr<AccessoryManager> makeSystemAccessoryManager(AccessoryBackendChoice choice,
                                                             SystemAccessoryOptions options) {
    std::vector<std::shared_ptr<DeviceAccessorySource>> sources;
    if (choice == AccessoryBackendChoice::usbPrinter || choice == AccessoryBackendChoice::system) {
        sources.push_back(std::make_shared<UsbPrinterAccessorySource>(options.usb));
    }
    if (choice == AccessoryBackendChoice::bluetoothSerial || choice == AccessoryBackendChoice::system) {
        if (!options.bluetooth.pairedDevices) {
            // One BlueZ connection for the source's life, made at the first scan.
            auto bluez = std::make_shared<BlueZPairedDevices>(options.bluetooth.blueZBusAddress);
            options.bluetooth.pairedDevices = [bluez] { return bluez->list(); };
        }
        sources.push_back(std::make_shared<BluetoothSerialAccessorySource>(options.bluetooth));
    }
    if (sources.empty()) return nullptr;
    return std::make_shared<DeviceAccessoryManager>(std::move(sources), options.rescanInterval);
}

std::optional<AccessoryBackendChoice> accessoryBackendChoiceNamed(std::string_view name) {
    if (name == "none") return AccessoryBackendChoice::none;
    if (name == "usb") return AccessoryBackendChoice::usbPrinter;
    if (name == "bluetooth") return AccessoryBackendChoice::bluetoothSerial;
    if (name == "system") return AccessoryBackendChoice::system;
    return std::nullopt;
}

}  // namespace Prelix10
