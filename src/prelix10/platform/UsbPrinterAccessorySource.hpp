#pragma once

// USB printer-class devices (the usblp driver's /dev/usb/lp* nodes), found in sysfs under class/usbmisc.
// Each one's IEEE 1284 device ID gives its manufacturer, model and serial number; the USB serial number
// from sysfs stands in when the ID has none. The ID is read from the interface's ieee1284_id attribute,
// which anyone may read even while a process holds the node, else by the driver's request on the node; a
// device whose ID could not be read is listed without one and read again on the next scan. A session holds
// the node exclusively (the driver's own single open, and a lock for nodes that open more than once), so
// that a second process learns at once that the device is in use. The sysfs and device roots, the ID
// reader and the calls on the node are settable, so that tests run on a fake tree and a stand-in driver.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/platform/DescriptorCalls.hpp"
#include "prelix10/platform/DeviceAccessoryManager.hpp"

namespace Prelix10 {

struct UsbPrinterOptions {
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path deviceRoot = "/dev";
    // Reads the device ID reply (length prefix included) of the device node, or none when it cannot. Used
    // when the ieee1284_id attribute gives nothing; none here uses the LPIOC_GET_DEVICE_ID request.
    std::function<std::optional<std::vector<std::uint8_t>>(const std::string& devicePath)> deviceIdReader;
    // The calls made on the device node; none for the system's own.
    std::shared_ptr<DescriptorCalls> nodeCalls;
};

class UsbPrinterAccessorySource final : public DeviceAccessorySource {
public:
    explicit UsbPrinterAccessorySource(UsbPrinterOptions options = {});

    std::vector<DeviceAccessoryRecord> scan() override;
    int open(const DeviceAccessoryRecord& record) override;
    std::shared_ptr<DescriptorCalls> descriptorCalls() const override { return calls_; }

    // The device ID request of the usblp driver on a node; none when the node does not open or answer.
    static std::optional<std::vector<std::uint8_t>> readDeviceIdByIoctl(const std::string& devicePath);
    static std::optional<std::vector<std::uint8_t>> readDeviceIdByIoctl(DescriptorCalls& calls,
                                                                        const std::string& devicePath);

private:
    // The record, and whether the device's ID was read.
    std::pair<DeviceAccessoryRecord, bool> describe(const std::filesystem::path& entry, const std::string& key,
                                                    const std::string& devicePath);

    const UsbPrinterOptions options_;
    const std::shared_ptr<DescriptorCalls> calls_;
    std::mutex mutex_;
    // Devices already described, by key: the ID is read once per connection. A failed read is not kept.
    std::map<std::string, DeviceAccessoryRecord> known_;
    // Held while the scan has a node open for the ID request, which the driver's single open would turn
    // into a refusal of a session's open in this very process.
    std::mutex nodeMutex_;
};

}  // namespace Prelix10
