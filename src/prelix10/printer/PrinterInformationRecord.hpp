#pragma once

#include "prelix10/core/Export.hpp"
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterInformation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/platform/AccessoryManager.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"
#include "prelix10/transport/BluetoothLEInformation.hpp"

namespace Prelix10 {

// The identifiers of one device on each of its interfaces ("Unavailable_DefinedByOrvo" where the printer
// did not report one).
struct PRELIX10_EXPORT PrinterConnectionIdentifier {
    std::optional<std::string> specifiedIdentifier;
    std::optional<std::string> macAddress;
    std::optional<std::string> wlanMacAddress;
    std::optional<std::string> bluetoothAddress;
    std::optional<std::string> bluetoothLeAddress;
    std::optional<std::string> usbSerialNumber;
};

// What the printer object knows of one printer: its model and emulation, how the model was found, its
// identifiers and, for a printer found on the LAN, its decoded network-card record.
class PRELIX10_EXPORT PrinterInformationRecord {
public:
    OrvoPrinterModel model = OrvoPrinterModel::unknown;
    OrvoPrinterEmulation emulation = OrvoPrinterEmulation::unknown;
    std::shared_ptr<ModelDetectionInformation> modelDetectionInformation;
    PrinterConnectionIdentifier connectionIdentifier;
    std::optional<OrvoNICInformation> nicInformation;
    // For a printer found over Bluetooth LE: its advertisement.
    std::shared_ptr<BluetoothLEInformation> bluetoothLEInformation;
    // For a printer found as a connected accessory (Bluetooth or USB): that accessory, and its connection ID
    // when it was found (the accessory reports a new one once it has reconnected).
    std::shared_ptr<Accessory> eaAccessory;
    std::optional<std::uint64_t> eaAccessoryConnectionID;

    // The shared printer information: the same values, the network-card record by field name.
    OrvoPrinterInformation toOrvoPrinterInformation() const;

    // The reserved "isModelEstimated" entry.
    bool isModelEstimated() const { return modelDetectionInformation && modelDetectionInformation->isEstimated(); }
    std::string description() const {
        return "model : " + PrinterModels::description(model) +
               ", emulation : " + std::to_string(static_cast<int>(emulation)) + ", modelDetectionInformation : " +
               (modelDetectionInformation ? modelDetectionInformation->description() : "nil") +
               ", macAddress : " + connectionIdentifier.macAddress.value_or("nil") +
               ", nicInformation : " + (nicInformation ? nicInformation->description() : "nil");
    }
};

}  // namespace Prelix10
