// The C face of the printer-setting object and its firmware object.

#include <optional>
#include <string>

#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/setting/OrvoPrinterSetting.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

using FirmwareHandle = prelix10_printer_setting_firmware;

// The app's table of update events behind the native delegate. The table is fixed when made, so an event
// that runs while the app replaces or clears it reads a whole table.
class FirmwareDelegateTable final : public FirmwareUpdateDelegate {
  public:
    FirmwareDelegateTable(const prelix10_firmware_update_delegate& table, void* context)
        : table_(table), context_(context) {}

    void firmwareUpdateProgress(OrvoPrinterSettingFirmware& firmware, FirmwareUpdateStep step) override {
        if (table_.firmware_update_progress == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        callOut([&] { table_.firmware_update_progress(context_, lent.get(), static_cast<int>(step)); });
    }
    void firmwareUpdateTransmitComplete(OrvoPrinterSettingFirmware& firmware) override {
        if (table_.firmware_update_transmit_complete == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        callOut([&] { table_.firmware_update_transmit_complete(context_, lent.get()); });
    }
    void firmwareUpdate(OrvoPrinterSettingFirmware& firmware, const Prelix10Error& errorDidOccur) override {
        if (table_.firmware_update_error_did_occur == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        const BorrowedError borrowed(errorDidOccur);
        callOut([&] { table_.firmware_update_error_did_occur(context_, lent.get(), borrowed.get()); });
    }

  private:
    const prelix10_firmware_update_delegate table_;
    void* const context_;
};

OrvoPrinterSettingFirmware& firmwareOf(const FirmwareHandle* handle) {
    return *checked(handle, "firmware").firmware;
}

}  // namespace

extern "C" {

int prelix10_printer_get_setting(const struct prelix10_printer* printer, prelix10_printer_setting** setting,
                                 prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(setting, "setting");
        out = nullptr;
        auto object = printerOf(printer).setting();
        if (object) out = newHandle<prelix10_printer_setting>(std::move(object));
    });
}

void prelix10_printer_setting_release(prelix10_printer_setting* setting) {
    releaseHandle(setting);
}

int prelix10_printer_setting_get_firmware(const prelix10_printer_setting* setting,
                                          prelix10_printer_setting_firmware** firmware,
                                          prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(firmware, "firmware");
        out = nullptr;
        const auto& object = checked(setting, "setting").setting->firmware();
        if (object) out = newHandle<FirmwareHandle>(object);
    });
}

void prelix10_printer_setting_firmware_release(prelix10_printer_setting_firmware* firmware) {
    releaseOwnedHandle(firmware);
}

int prelix10_printer_setting_firmware_current_version(const prelix10_printer_setting_firmware* firmware,
                                                      char** version, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(version, "version");
        out = nullptr;
        out = ownedText(firmwareOf(firmware).currentVersion());
    });
}

int prelix10_printer_setting_firmware_set_current_version(prelix10_printer_setting_firmware* firmware,
                                                          const char* version, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = firmwareOf(firmware);
        if (version == nullptr) throw argumentError("Invalid argument: version.");
        object.setCurrentVersion(version);
    });
}

int prelix10_printer_setting_firmware_latest_version(const prelix10_printer_setting_firmware* firmware,
                                                     char** version, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(version, "version");
        out = nullptr;
        const auto latest = firmwareOf(firmware).latestVersion();
        if (latest) out = ownedText(*latest);
    });
}

int prelix10_printer_setting_firmware_set_latest_version(prelix10_printer_setting_firmware* firmware,
                                                         const char* version, prelix10_error** error) {
    return guarded(error, [&] {
        auto& object = firmwareOf(firmware);
        object.setLatestVersion(version == nullptr ? std::nullopt : std::optional<std::string>(version));
    });
}

int prelix10_printer_setting_firmware_is_updatable(const prelix10_printer_setting_firmware* firmware,
                                                   int* is_updatable, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(is_updatable, "is_updatable");
        out = firmwareOf(firmware).isUpdatable() ? 1 : 0;
    });
}

int prelix10_printer_setting_firmware_set_update_delegate(prelix10_printer_setting_firmware* firmware,
                                                          const prelix10_firmware_update_delegate* delegate,
                                                          void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& handle = checked(firmware, "firmware");
        std::shared_ptr<FirmwareUpdateDelegate> table;
        if (delegate != nullptr) table = std::make_shared<FirmwareDelegateTable>(*delegate, context);
        std::shared_ptr<FirmwareUpdateDelegate> previous;
        {
            std::lock_guard guard(handle.delegateMutex);
            handle.firmware->setUpdateDelegate(table);
            previous = std::exchange(handle.delegate, table);
        }
        // An event of the previous table that is under way holds it until it returns.
    });
}

int prelix10_printer_setting_firmware_get_current_version(prelix10_printer_setting_firmware* firmware,
                                                          prelix10_string_completion completion,
                                                          void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(firmware, "firmware").firmware;
        object->getCurrentVersion(
            [completion, context](std::optional<std::string> version, std::optional<Prelix10Error> failure) {
                if (completion == nullptr) return;
                if (!version && !failure)
                    failure = Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
                const BorrowedError borrowed(failure);
                const char* text = failure ? nullptr : version->c_str();
                callOut([&] { completion(context, text, borrowed.get()); });
            });
    });
}

int prelix10_printer_setting_firmware_check_versions(prelix10_printer_setting_firmware* firmware,
                                                     prelix10_completion completion, void* context,
                                                     prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(firmware, "firmware").firmware;
        object->checkVersions(errorCompletion(completion, context));
    });
}

int prelix10_printer_setting_firmware_update(prelix10_printer_setting_firmware* firmware,
                                             prelix10_completion completion, void* context,
                                             prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(firmware, "firmware").firmware;
        object->update(errorCompletion(completion, context));
    });
}

}  // extern "C"
