// The C face of the setting device.

#include <optional>
#include <string>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

OrvoSettingDevice& deviceOf(const prelix10_setting_device* handle) {
    return *checked(handle, "device").device;
}

}  // namespace

namespace Prelix10::CApi {

// The connection settings a C caller describes; shared with the wireless LAN face.
OrvoConnectionSettings connectionSettingsFrom(int interfaceType, const char* identifier,
                                              int autoSwitchInterface) {
    // Any number is carried as it is: the open is what refuses an interface it cannot use.
    return OrvoConnectionSettings(static_cast<InterfaceType>(interfaceType), textFrom(identifier, "identifier"),
                                  autoSwitchInterface != 0);
}

}  // namespace Prelix10::CApi

extern "C" {

int prelix10_setting_device_create(int interface_type, const char* identifier, int auto_switch_interface,
                                   prelix10_setting_device** device, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(device, "device");
        out = nullptr;
        auto object = OrvoSettingDevice::create(
            connectionSettingsFrom(interface_type, identifier, auto_switch_interface));
        out = newHandle<prelix10_setting_device>(std::move(object));
    });
}

void prelix10_setting_device_release(prelix10_setting_device* device) {
    releaseHandle(device);
}

int prelix10_setting_device_connection_settings(const prelix10_setting_device* device, int* interface_type,
                                                char** identifier, int* auto_switch_interface,
                                                prelix10_error** error) {
    return guarded(error, [&] {
        if (identifier != nullptr) *identifier = nullptr;
        const auto settings = deviceOf(device).connectionSettings();
        if (identifier != nullptr) *identifier = ownedText(settings.identifier());
        if (interface_type != nullptr) *interface_type = static_cast<int>(settings.interfaceType());
        if (auto_switch_interface != nullptr) *auto_switch_interface = settings.autoSwitchInterface() ? 1 : 0;
    });
}

int prelix10_setting_device_open_timeout(const prelix10_setting_device* device, int* milliseconds,
                                         prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(milliseconds, "milliseconds");
        out = deviceOf(device).openTimeout();
    });
}

int prelix10_setting_device_set_open_timeout(prelix10_setting_device* device, int milliseconds,
                                             prelix10_error** error) {
    return guarded(error, [&] { deviceOf(device).setOpenTimeout(milliseconds); });
}

int prelix10_setting_device_communication_timeout(const prelix10_setting_device* device, int* milliseconds,
                                                  prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(milliseconds, "milliseconds");
        out = deviceOf(device).communicationTimeout();
    });
}

int prelix10_setting_device_set_communication_timeout(prelix10_setting_device* device, int milliseconds,
                                                      prelix10_error** error) {
    return guarded(error, [&] { deviceOf(device).setCommunicationTimeout(milliseconds); });
}

int prelix10_setting_device_ble_rssi(const prelix10_setting_device* device, int* rssi,
                                     prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(rssi, "rssi");
        out = deviceOf(device).bleRssi();
    });
}

int prelix10_setting_device_is_opened(const prelix10_setting_device* device, int* is_opened,
                                      prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(is_opened, "is_opened");
        out = deviceOf(device).isOpened() ? 1 : 0;
    });
}

int prelix10_setting_device_information(const prelix10_setting_device* device, int* has_information,
                                        int* model, int* emulation, char** ble_address,
                                        char** ble_device_name, prelix10_error** error) {
    // Owned texts made before a later failure are given back, so that a failed call hands out nothing.
    char* address = nullptr;
    char* name = nullptr;
    const int result = guarded(error, [&] {
        if (ble_address != nullptr) *ble_address = nullptr;
        if (ble_device_name != nullptr) *ble_device_name = nullptr;
        const auto record = deviceOf(device).informationRecord();
        std::optional<std::string> addressText;
        std::optional<std::string> nameText;
        if (record && record->bluetoothLEInformation) {
            addressText = record->bluetoothLEInformation->address;
            nameText = record->bluetoothLEInformation->deviceName;
        }
        if (record && !addressText) addressText = record->connectionIdentifier.bluetoothLeAddress;
        if (ble_address != nullptr && addressText) address = ownedText(*addressText);
        if (ble_device_name != nullptr && nameText) name = ownedText(*nameText);
        if (has_information != nullptr) *has_information = record ? 1 : 0;
        if (model != nullptr) *model = record ? static_cast<int>(record->model) : 0;
        if (emulation != nullptr) *emulation = record ? static_cast<int>(record->emulation) : 0;
    });
    if (result != PRELIX10_OK) {
        prelix10_string_release(address);
        prelix10_string_release(name);
        return result;
    }
    if (ble_address != nullptr) *ble_address = address;
    if (ble_device_name != nullptr) *ble_device_name = name;
    return result;
}

int prelix10_setting_device_description(const prelix10_setting_device* device, char** description,
                                        prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(description, "description");
        out = nullptr;
        out = ownedText(deviceOf(device).description());
    });
}

int prelix10_setting_device_open(prelix10_setting_device* device, prelix10_completion completion,
                                 void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(device, "device").device;
        object->open(errorCompletion(completion, context));
    });
}

int prelix10_setting_device_close(prelix10_setting_device* device, prelix10_void_completion completion,
                                  void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(device, "device").device;
        object->close([completion, context] {
            if (completion != nullptr) callOut([&] { completion(context); });
        });
    });
}

int prelix10_setting_device_write(prelix10_setting_device* device, const uint8_t* data, size_t size,
                                  int timeout, prelix10_completion completion, void* context,
                                  prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(device, "device").device;
        if (data == nullptr && size != 0) throw argumentError("Invalid argument: data.");
        ByteBlock bytes;
        if (size != 0) bytes.assign(data, data + size);
        object->write(std::move(bytes), timeout, errorCompletion(completion, context));
    });
}

int prelix10_setting_device_read(prelix10_setting_device* device, int size,
                                 prelix10_bytes_completion completion, void* context,
                                 prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(device, "device").device;
        object->read(size, [completion, context](std::optional<ByteBlock> bytes,
                                                 std::optional<Prelix10Error> failure) {
            if (completion == nullptr) return;
            if (!bytes && !failure)
                failure = Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
            const BorrowedError borrowed(failure);
            // An empty block is still a block: its pointer is not NULL.
            static const std::uint8_t kEmpty = 0;
            const std::uint8_t* pointer = nullptr;
            std::size_t length = 0;
            if (!failure) {
                pointer = bytes->empty() ? &kEmpty : bytes->data();
                length = bytes->size();
            }
            callOut([&] { completion(context, pointer, length, borrowed.get()); });
        });
    });
}

}  // extern "C"
