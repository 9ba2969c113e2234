#pragma once

#include <map>
#include <optional>
#include <string>

namespace Prelix10 {

// The items of the printer's information reply.
enum class PrinterInformationType {
    bluetoothAddress,
    macAddress,
    wlanMacAddress,
    usbSerialNumber,
    productSerialNumber,
    bluetoothLEAddress,
};

// The parsed information reply: an item without a value maps to nullopt.
using PrinterInformationDictionary = std::map<PrinterInformationType, std::optional<std::string>>;

}  // namespace Prelix10
