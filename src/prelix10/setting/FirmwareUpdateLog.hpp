#pragma once

#include <optional>
#include <string>

#include "prelix10/core/JSONBuilder.hpp"
#include "prelix10/core/OrderedDictionary.hpp"

namespace Prelix10 {

using LogDictionary = OrderedDictionary<std::string, JsonValue>;

// Which app on which machine asks for a firmware update.
struct HostInfo {
    std::string appInfo;
    std::string model;
    std::string os;
    std::string language;
    std::string timeZone;

    HostInfo(std::string appInfo, std::string model, std::string os, std::string language,
             std::string timeZone);
    // The facts of this host as the application has set them or the system reports them.
    static HostInfo current();
    // "appInfo", "model", "os", "language", "timeZone", in this order.
    LogDictionary toDictionary() const;
};

// Which printer is being updated, from what version to what.
struct PrinterInfo {
    std::string model;
    std::optional<int> connectedInterface;
    std::string currentVersion;
    std::string updateVersion;
    std::string productSerialNumber;

    // NUL characters, which printers pad their serial numbers with, are dropped from the serial number.
    PrinterInfo(std::string model, std::optional<int> connectedInterface, std::string currentVersion,
                std::string updateVersion, std::string productSerialNumber);
    // "model", "connectedInterface" (only when known), "currentVersion", "updateVersion",
    // "productSerialNumber", in this order.
    LogDictionary toDictionary() const;
};

// The record sent to the firmware service before an update.
struct FirmwareUpdateLog {
    std::string title = "OrvoFirmwareUpdateLog";
    std::string version = "1.0.0";
    HostInfo hostInfo;
    PrinterInfo printerInfo;

    // Takes the host part from this host now.
    explicit FirmwareUpdateLog(PrinterInfo printerInfo);
    FirmwareUpdateLog(HostInfo hostInfo, PrinterInfo printerInfo);
};

}  // namespace Prelix10
