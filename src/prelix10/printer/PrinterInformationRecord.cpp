#include "prelix10/printer/PrinterInformationRecord.hpp"

namespace Prelix10 {

namespace {

template <typename T>
ReservedValue reserved(const std::optional<T>& value) {
    if (!value) return std::monostate{};
    if constexpr (std::is_same_v<T, std::string>) return *value;
    else if constexpr (std::is_same_v<T, bool>) return *value;
    else if constexpr (std::is_same_v<T, int>) return static_cast<std::int64_t>(*value);
    else return std::any(*value);
}

PrinterRecordFields fieldsOf(const OrvoNICInformation& n) {
    PrinterRecordFields f;
    n.forEachField([&](const char* name, const auto& field) { f.set(name, reserved(field)); });
    return f;
}

}  // namespace

OrvoPrinterInformation PrinterInformationRecord::toOrvoPrinterInformation() const {
    OrvoPrinterInformation out;
    out.model = model;
    out.emulation = emulation;
    auto& id = *out.connectionIdentifier;
    id.specifiedIdentifier = connectionIdentifier.specifiedIdentifier;
    id.macAddress = connectionIdentifier.macAddress;
    id.wlanMacAddress = connectionIdentifier.wlanMacAddress;
    id.bluetoothAddress = connectionIdentifier.bluetoothAddress;
    id.bluetoothLeAddress = connectionIdentifier.bluetoothLeAddress;
    id.usbSerialNumber = connectionIdentifier.usbSerialNumber;
    if (nicInformation) out.nicInformation = fieldsOf(*nicInformation);
    if (modelDetectionInformation) {
        out.modelDetectionInformation =
            ModelDetectionFlags{modelDetectionInformation->isEstimated(), modelDetectionInformation->isFallback()};
    }
    return out;
}

}  // namespace Prelix10
