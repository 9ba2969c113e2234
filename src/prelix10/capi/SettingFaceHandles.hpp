#pragma once

// The handles of the setting faces: printer setting and firmware, setting devices and their discovery,
// wireless LAN setting. Each holds its object; a handle marked borrowed is one the library lends to an event
// and takes back when the event returns, so that the caller's release of it does nothing.

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/discovery/OrvoSettingDeviceDiscoveryManager.hpp"
#include "prelix10/setting/OrvoPrinterSetting.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"
#include "prelix10/wlan/OrvoWLanSetting.hpp"

struct prelix10_printer_setting {
    explicit prelix10_printer_setting(std::shared_ptr<Prelix10::OrvoPrinterSetting> object)
        : setting(std::move(object)) {}
    std::shared_ptr<Prelix10::OrvoPrinterSetting> setting;
};

struct prelix10_printer_setting_firmware {
    explicit prelix10_printer_setting_firmware(std::shared_ptr<Prelix10::OrvoPrinterSettingFirmware> object,
                                               bool isBorrowed = false)
        : firmware(std::move(object)), borrowed(isBorrowed) {}
    std::shared_ptr<Prelix10::OrvoPrinterSettingFirmware> firmware;
    const bool borrowed;
    // The firmware object holds its delegate weakly; the handle it was set through keeps it.
    std::mutex delegateMutex;
    std::shared_ptr<Prelix10::FirmwareUpdateDelegate> delegate;
};

struct prelix10_setting_device {
    explicit prelix10_setting_device(std::shared_ptr<Prelix10::OrvoSettingDevice> object)
        : device(std::move(object)) {}
    std::shared_ptr<Prelix10::OrvoSettingDevice> device;
};

struct prelix10_wlan_setting {
    explicit prelix10_wlan_setting(std::shared_ptr<Prelix10::OrvoWLanSetting> object)
        : setting(std::move(object)) {}
    std::shared_ptr<Prelix10::OrvoWLanSetting> setting;
};

struct prelix10_setting_device_discovery_manager {
    explicit prelix10_setting_device_discovery_manager(
        std::shared_ptr<Prelix10::OrvoSettingDeviceDiscoveryManager> object, bool isBorrowed = false)
        : manager(std::move(object)), borrowed(isBorrowed) {}
    std::shared_ptr<Prelix10::OrvoSettingDeviceDiscoveryManager> manager;
    const bool borrowed;
    std::mutex delegateMutex;
    std::shared_ptr<Prelix10::OrvoSettingDeviceDiscoveryManagerDelegate> delegate;
};

namespace Prelix10::CApi {

// A handle lent to one event: made before the call, taken back after it. get() is NULL when memory ran out.
template <typename Handle>
class LentHandle {
  public:
    template <typename Object>
    explicit LentHandle(std::shared_ptr<Object> object) noexcept {
        try {
            handle_ = newHandle<Handle>(std::move(object), true);
        } catch (...) {
            handle_ = nullptr;
        }
    }
    ~LentHandle() { releaseHandle(handle_); }
    LentHandle(const LentHandle&) = delete;
    LentHandle& operator=(const LentHandle&) = delete;
    Handle* get() const noexcept { return handle_; }

  private:
    Handle* handle_ = nullptr;
};

// Releases a handle the caller owns; a lent one, or anything that is not a live handle, is left alone.
template <typename Handle>
void releaseOwnedHandle(Handle* handle) noexcept {
    const auto object = lookup(handle);
    if (!object || object->borrowed) return;
    releaseHandle(handle);
}

// The connection settings a C caller describes; a NULL identifier is an argument error.
OrvoConnectionSettings connectionSettingsFrom(int interfaceType, const char* identifier,
                                              int autoSwitchInterface);

}  // namespace Prelix10::CApi
