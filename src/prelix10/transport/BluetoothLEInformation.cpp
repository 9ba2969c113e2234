#include "prelix10/transport/BluetoothLEInformation.hpp"

namespace Prelix10 {

namespace {
std::string optionalText(const std::optional<std::string>& text) { return text ? "\"" + *text + "\"" : "nil"; }
const char* flag(bool value) { return value ? "true" : "false"; }
}  // namespace

std::string BluetoothLEInformation::description() const {
    std::string out = "[peripheral : ";
    out += peripheral ? peripheral->identifier() : std::string("nil");
    out += ", rssi : " + std::to_string(rssi);
    out += ", deviceName : " + optionalText(deviceName);
    out += ", modelName : " + optionalText(modelName);
    out += ", address : " + optionalText(address);
    out += std::string(", capPrintService : ") + flag(capPrintService);
    out += std::string(", capWLanSettingService : ") + flag(capWLanSettingService);
    out += ", wLanSettingServiceStatus : ";
    if (wLanSettingServiceStatus) {
        out += std::string("[isInfrastructureMode : ") + flag(wLanSettingServiceStatus->isInfrastructureMode) +
               ", isConnectedWiredLan : " + flag(wLanSettingServiceStatus->isConnectedWiredLan) +
               ", isWlanDisabled : " + flag(wLanSettingServiceStatus->isWlanDisabled) +
               ", isAPConnectionSucceeded : " + flag(wLanSettingServiceStatus->isAPConnectionSucceeded) + "]";
    } else {
        out += "nil";
    }
    return out + "]";
}

}  // namespace Prelix10
