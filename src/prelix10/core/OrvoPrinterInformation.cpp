#include "prelix10/core/OrvoPrinterInformation.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

namespace {

std::optional<std::string> textField(const std::optional<PrinterRecordFields>& record, const std::string& key) {
    if (!record) return std::nullopt;
    const ReservedValue* value = record->find(key);
    if (!value) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(value)) return *text;
    return std::nullopt;
}

ReservedValue fromOptional(const std::optional<std::string>& value) {
    if (value) return *value;
    return std::monostate{};
}

void insertAll(std::map<std::string, ReservedValue>& out, const PrinterRecordFields& fields) {
    for (const auto& pair : fields) out[pair.key] = pair.value;
}

std::string optionalRecordText(const std::optional<std::string>& text) {
    return text ? "Optional(" + *text + ")" : "nil";
}

}  // namespace

std::string OrvoPrinterInformationLan::description() const {
    return PropertyDescription().add("macAddress", macAddress).add("ipAddress", ipAddress).add("uniqueId", uniqueId).text();
}

std::string OrvoPrinterInformationBluetooth::description() const {
    return PropertyDescription()
        .add("portName", portName)
        .add("serialNumber", serialNumber)
        .add("address", address)
        .text();
}

std::string OrvoPrinterInformationBluetoothLE::description() const {
    return PropertyDescription().add("address", address).add("deviceName", deviceName).text();
}

std::string OrvoPrinterInformationUSB::description() const {
    return PropertyDescription()
        .add("portName", portName)
        .add("productSerialNumber", productSerialNumber)
        .add("usbSerialNumber", usbSerialNumber)
        .text();
}

std::string OrvoPrinterInformationDetail::description() const {
    return PropertyDescription()
        .add("lan", lan)
        .add("bluetooth", bluetooth)
        .add("bluetoothLE", bluetoothLE)
        .add("usb", usb)
        .text();
}

OrvoPrinterInformationDetail OrvoPrinterInformation::detail() const {
    OrvoPrinterInformationDetail detail;
    detail.lan->ipAddress = textField(nicInformation, "ipAddress");
    detail.lan->macAddress = textField(nicInformation, "macAddress");
    detail.lan->uniqueId = textField(nicInformation, "uniqueId");
    if (eaAccessoryInformation) {
        detail.bluetooth->portName = eaAccessoryInformation->name;
        detail.bluetooth->serialNumber = eaAccessoryInformation->serialNumber;
        detail.usb->portName = eaAccessoryInformation->name;
        detail.usb->productSerialNumber = eaAccessoryInformation->serialNumber;
    }
    detail.bluetooth->address = connectionIdentifier ? connectionIdentifier->bluetoothAddress : std::nullopt;
    detail.bluetoothLE->address = textField(bluetoothLEInformation, "address");
    detail.bluetoothLE->deviceName = textField(bluetoothLEInformation, "deviceName");
    detail.usb->usbSerialNumber = connectionIdentifier ? connectionIdentifier->usbSerialNumber : std::nullopt;
    return detail;
}

std::map<std::string, ReservedValue> OrvoPrinterInformation::reserved() const {
    std::map<std::string, ReservedValue> out;
    const OrvoConnectionIdentifier identifier = connectionIdentifier ? *connectionIdentifier : OrvoConnectionIdentifier();
    out["specifiedIdentifier"] = fromOptional(identifier.specifiedIdentifier);
    out["macAddress"] = fromOptional(identifier.macAddress);
    out["wlanMacAddress"] = fromOptional(identifier.wlanMacAddress);
    out["bluetoothAddress"] = fromOptional(identifier.bluetoothAddress);
    out["bluetoothLeAddress"] = fromOptional(identifier.bluetoothLeAddress);
    out["usbSerialNumber"] = fromOptional(identifier.usbSerialNumber);
    if (nicInformation) insertAll(out, *nicInformation);
    if (eaAccessoryInformation) insertAll(out, eaAccessoryInformation->fields);
    if (bluetoothLEInformation) insertAll(out, *bluetoothLEInformation);
    if (modelDetectionInformation) {
        out["isModelEstimated"] = modelDetectionInformation->isEstimated;
        out["isFallbackModel"] = modelDetectionInformation->isFallback;
    }
    return out;
}

std::string OrvoPrinterInformation::description() const {
    PropertyDescription text;
    text.addText("model", PrinterModels::description(model));
    text.addText("emulation", PrinterEmulations::description(emulation));
    text.addText("connectionIdentifier", connectionIdentifier ? connectionIdentifier->description() : "nil");
    text.addText("nicInformation", nicInformation ? optionalRecordText(Util::describeRecordFields(*nicInformation)) : "nil");
    text.addText("eaAccessoryInformation",
                 eaAccessoryInformation ? optionalRecordText(Util::describeRecordFields(eaAccessoryInformation->fields))
                                        : "nil");
    text.addText("bluetoothLEInformation",
                 bluetoothLEInformation ? optionalRecordText(Util::describeRecordFields(*bluetoothLEInformation)) : "nil");
    text.addText("modelDetectionInformation",
                 modelDetectionInformation
                     ? optionalRecordText(PropertyDescription()
                                              .add("isEstimated", modelDetectionInformation->isEstimated)
                                              .add("isFallback", modelDetectionInformation->isFallback)
                                              .text())
                     : "nil");
    return text.text();
}

namespace Util {
std::string describeReservedValue(const ReservedValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return "nil";
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    if (const auto* number = std::get_if<std::int64_t>(&value)) return std::to_string(*number);
    const auto& object = std::get<std::any>(value);
    return object.has_value() ? "(object)" : "nil";
}

std::string describeRecordFields(const PrinterRecordFields& fields) {
    std::string out = "[";
    bool first = true;
    for (const auto& pair : fields) {
        if (!first) out += ", ";
        first = false;
        out += pair.key + " : " + describeReservedValue(pair.value);
    }
    return out + "]";
}
}  // namespace Util

}  // namespace Prelix10
