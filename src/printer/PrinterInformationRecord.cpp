#include "printer/PrinterInformationRecord.hpp"

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
#define PRELIX10_FIELD(name) f.set(#name, reserved(n.name))
    PRELIX10_FIELD(responseVersion);
    PRELIX10_FIELD(name);
    PRELIX10_FIELD(firmwareVersionMain);
    PRELIX10_FIELD(firmwareVersionBoot);
    PRELIX10_FIELD(pldRevision);
    PRELIX10_FIELD(ipVersion);
    PRELIX10_FIELD(macAddress);
    PRELIX10_FIELD(ipAddress);
    PRELIX10_FIELD(ipAddressProtocol);
    PRELIX10_FIELD(subnetMask);
    PRELIX10_FIELD(gateway);
    PRELIX10_FIELD(configPrint);
    PRELIX10_FIELD(configIPAddress);
    PRELIX10_FIELD(configSubnetMask);
    PRELIX10_FIELD(configGateway);
    PRELIX10_FIELD(dhcp);
    PRELIX10_FIELD(rarp);
    PRELIX10_FIELD(multiSession);
    PRELIX10_FIELD(deviceManufacturer);
    PRELIX10_FIELD(deviceCommandSet);
    PRELIX10_FIELD(deviceModel);
    PRELIX10_FIELD(deviceClass);
    PRELIX10_FIELD(hostName);
    PRELIX10_FIELD(usedPort);
    PRELIX10_FIELD(usedIPAddress);
    PRELIX10_FIELD(deviceStatus);
    PRELIX10_FIELD(nameDetail);
    PRELIX10_FIELD(productSerialNumber);
    PRELIX10_FIELD(uniqueId);
#undef PRELIX10_FIELD
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
