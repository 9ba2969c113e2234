#include "prelix10/setting/FirmwareUpdateLog.hpp"

#include <algorithm>
#include <utility>

#include "prelix10/core/HostFacts.hpp"

namespace Prelix10 {

HostInfo::HostInfo(std::string appInfo, std::string model, std::string os, std::string language,
                   std::string timeZone)
    : appInfo(std::move(appInfo)),
      model(std::move(model)),
      os(std::move(os)),
      language(std::move(language)),
      timeZone(std::move(timeZone)) {}

HostInfo HostInfo::current() {
    return HostInfo(HostFacts::applicationDisplayName(), HostFacts::deviceModel(),
                    HostFacts::operatingSystem(), HostFacts::preferredLanguage(),
                    HostFacts::timeZoneIdentifier());
}

LogDictionary HostInfo::toDictionary() const {
    LogDictionary dictionary;
    dictionary.append("appInfo", appInfo);
    dictionary.append("model", model);
    dictionary.append("os", os);
    dictionary.append("language", language);
    dictionary.append("timeZone", timeZone);
    return dictionary;
}

PrinterInfo::PrinterInfo(std::string model, std::optional<int> connectedInterface, std::string currentVersion,
                         std::string updateVersion, std::string productSerialNumber)
    : model(std::move(model)),
      connectedInterface(connectedInterface),
      currentVersion(std::move(currentVersion)),
      updateVersion(std::move(updateVersion)),
      productSerialNumber(std::move(productSerialNumber)) {
    std::erase(this->productSerialNumber, '\0');
}

LogDictionary PrinterInfo::toDictionary() const {
    LogDictionary dictionary;
    dictionary.append("model", model);
    if (connectedInterface) dictionary.append("connectedInterface", *connectedInterface);
    dictionary.append("currentVersion", currentVersion);
    dictionary.append("updateVersion", updateVersion);
    dictionary.append("productSerialNumber", productSerialNumber);
    return dictionary;
}

FirmwareUpdateLog::FirmwareUpdateLog(PrinterInfo printerInfo)
    : FirmwareUpdateLog(HostInfo::current(), std::move(printerInfo)) {}

FirmwareUpdateLog::FirmwareUpdateLog(HostInfo hostInfo, PrinterInfo printerInfo)
    : hostInfo(std::move(hostInfo)), printerInfo(std::move(printerInfo)) {}

}  // namespace Prelix10
