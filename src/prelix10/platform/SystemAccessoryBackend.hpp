#pragma once

#include "prelix10/core/Export.hpp"

// The machine's own accessory backends, chosen at run time: USB printer-class devices, paired Bluetooth
// serial-port devices, or both in one manager. Unless the application hands in its own paired-device list,
// the Bluetooth serial devices are those BlueZ lists as paired on the system bus.

#include <chrono>
#include <memory>
#include <optional>
#include <string_view>

#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/platform/BluetoothSerialAccessorySource.hpp"
#include "prelix10/platform/UsbPrinterAccessorySource.hpp"

namespace Prelix10 {

struct PRELIX10_EXPORT SystemAccessoryOptions {
    UsbPrinterOptions usb;
    BluetoothSerialOptions bluetooth;
    std::chrono::milliseconds rescanInterval{500};
};

// The manager for a choice; none for AccessoryBackendChoice::none.
PRELIX10_EXPORT std::shared_ptr<AccessoryManager> makeSystemAccessoryManager(AccessoryBackendChoice choice,
                                                             SystemAccessoryOptions options = {});

// "none", "usb", "bluetooth" or "system"; none for any other text.
PRELIX10_EXPORT std::optional<AccessoryBackendChoice> accessoryBackendChoiceNamed(std::string_view name);

}  // namespace Prelix10
