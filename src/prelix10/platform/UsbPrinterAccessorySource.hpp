#pragma once

// USB printer-class devices (the usblp driver's /dev/usb/lp* nodes), found in sysfs under class/usbmisc.
// Each one's IEEE 1284 device ID gives its manufacturer, model and serial number; the USB serial number
// from sysfs stands in when the ID has none. The sysfs and device roots and the ID reader are settable,
// so that tests run on a fake tree.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/platform/DeviceAccessoryManager.hpp"

namespace Prelix10 {

struct UsbPrinterOptions {
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path deviceRoot = "/dev";
    // Reads the device ID reply (length prefix included) of the device node, or none when it cannot.
    // None here uses the LPIOC_GET_DEVICE_ID request.
    std::function<std::optional<std::vector<std::uint8_t>>(const std::string& devicePath)> deviceIdReader;
};

class UsbPrinterAccessorySource final : public DeviceAccessorySource {
public:
    explicit UsbPrinterAccessorySource(UsbPrinterOptions options = {});

    std::vector<DeviceAccessoryRecord> scan() override;
    int open(const DeviceAccessoryRecord& record) override;

    // The device ID request of the usblp driver on a node; none when the node does not open or answer.
    static std::optional<std::vector<std::uint8_t>> readDeviceIdByIoctl(const std::string& devicePath);

private:
    DeviceAccessoryRecord describe(const std::filesystem::path& entry, const std::string& key,
                                   const std::string& devicePath);

    const UsbPrinterOptions options_;
    std::mutex mutex_;
    // Devices already described, by key: the ID is read once per connection, since the driver lets only
    // one process hold the node open and a session may hold it.
    std::map<std::string, DeviceAccessoryRecord> known_;
};

}  // namespace Prelix10
