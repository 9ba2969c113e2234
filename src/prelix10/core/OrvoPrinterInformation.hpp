#pragma once

#include "prelix10/core/Export.hpp"
#include <any>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "prelix10/core/OrderedDictionary.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

namespace Prelix10 {

// One raw value of a record about the printer: absent, text, Boolean, integer, or any other object (a
// status record, a platform object) kept as it is.
using ReservedValue = std::variant<std::monostate, std::string, bool, std::int64_t, std::any>;

// A record that discovery, a port or model detection collected about the printer, as the core holds it:
// its stored fields by name, in declaration order. The layer that owns the record fills it.
using PrinterRecordFields = OrderedDictionary<std::string, ReservedValue>;

// The accessory record: the accessory's name and serial number, and the record's stored fields.
struct PRELIX10_EXPORT AccessoryRecord {
    std::optional<std::string> name;
    std::optional<std::string> serialNumber;
    PrinterRecordFields fields;
};

// How the model was found.
struct PRELIX10_EXPORT ModelDetectionFlags {
    bool isEstimated = false;
    bool isFallback = false;
};

class PRELIX10_EXPORT OrvoPrinterInformationLan {
public:
    std::optional<std::string> macAddress;
    std::optional<std::string> ipAddress;
    std::optional<std::string> uniqueId;
    std::string description() const;
};

class PRELIX10_EXPORT OrvoPrinterInformationBluetooth {
public:
    std::optional<std::string> portName;
    std::optional<std::string> serialNumber;
    std::optional<std::string> address;
    std::string description() const;
};

class PRELIX10_EXPORT OrvoPrinterInformationBluetoothLE {
public:
    std::optional<std::string> address;
    std::optional<std::string> deviceName;
    std::string description() const;
};

class PRELIX10_EXPORT OrvoPrinterInformationUSB {
public:
    std::optional<std::string> portName;
    std::optional<std::string> productSerialNumber;
    std::optional<std::string> usbSerialNumber;
    std::string description() const;
};

// One small record per interface, derived anew from the printer information at each read.
class PRELIX10_EXPORT OrvoPrinterInformationDetail {
public:
    std::shared_ptr<OrvoPrinterInformationLan> lan = std::make_shared<OrvoPrinterInformationLan>();
    std::shared_ptr<OrvoPrinterInformationBluetooth> bluetooth = std::make_shared<OrvoPrinterInformationBluetooth>();
    std::shared_ptr<OrvoPrinterInformationBluetoothLE> bluetoothLE = std::make_shared<OrvoPrinterInformationBluetoothLE>();
    std::shared_ptr<OrvoPrinterInformationUSB> usb = std::make_shared<OrvoPrinterInformationUSB>();
    std::string description() const;
};

// What is known of one printer: model, emulation, connection identifiers and the raw records collected
// about it, from which detail and reserved are derived at each read.
class PRELIX10_EXPORT OrvoPrinterInformation {
public:
    OrvoPrinterModel model = OrvoPrinterModel::unknown;
    OrvoPrinterEmulation emulation = OrvoPrinterEmulation::unknown;
    std::shared_ptr<OrvoConnectionIdentifier> connectionIdentifier = std::make_shared<OrvoConnectionIdentifier>();
    // The network card's discovery reply (fields such as "ipAddress", "macAddress", "uniqueId").
    std::optional<PrinterRecordFields> nicInformation;
    std::optional<AccessoryRecord> eaAccessoryInformation;
    // The Bluetooth LE advertisement (fields such as "address", "deviceName").
    std::optional<PrinterRecordFields> bluetoothLEInformation;
    std::optional<ModelDetectionFlags> modelDetectionInformation;

    // A new detail each time; changing it changes nothing here.
    OrvoPrinterInformationDetail detail() const;
    // Every raw value by name: the identifier's fields, then the network card's, the accessory's and the
    // Bluetooth LE record's (a later one replaces an earlier key), then "isModelEstimated" and
    // "isFallbackModel" when the model detection is known.
    std::map<std::string, ReservedValue> reserved() const;
    std::string description() const;
};

namespace Util PRELIX10_EXPORT {
// The text of a raw value in a description: "nil", the text, true/false, the number, or "(object)".
std::string describeReservedValue(const ReservedValue& value);
// "[key : value, ...]" in the record's order.
std::string describeRecordFields(const PrinterRecordFields& fields);
}  // namespace Util

}  // namespace Prelix10
