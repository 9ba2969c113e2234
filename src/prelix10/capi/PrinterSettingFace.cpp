// The C face of the printer-setting object and its firmware object.

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>
#include <string>

#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/OrvoPrinterSetting.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

using FirmwareHandle = prelix10_printer_setting_firmware;

// The app's table of update events behind the native delegate. The table is fixed when made, so an event
// that runs while the app replaces or clears it reads a whole table; once retired, no event of it starts,
// and retire() returns only when those under way (on other threads) have returned.
class FirmwareDelegateTable final : public FirmwareUpdateDelegate {
  public:
    FirmwareDelegateTable(const prelix10_firmware_update_delegate& table, void* context)
        : table_(table), context_(context) {}

    void retire() {
        std::unique_lock lock(mutex_);
        retired_ = true;
        const auto self = std::this_thread::get_id();
        idle_.wait(lock, [&] {
            return std::all_of(active_.begin(), active_.end(), [&](std::thread::id id) { return id == self; });
        });
    }

    void firmwareUpdateProgress(OrvoPrinterSettingFirmware& firmware, FirmwareUpdateStep step) override {
        if (table_.firmware_update_progress == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        callOutUnlessRetired([&] { table_.firmware_update_progress(context_, lent.get(), static_cast<int>(step)); });
    }
    void firmwareUpdateTransmitComplete(OrvoPrinterSettingFirmware& firmware) override {
        if (table_.firmware_update_transmit_complete == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        callOutUnlessRetired([&] { table_.firmware_update_transmit_complete(context_, lent.get()); });
    }
    void firmwareUpdate(OrvoPrinterSettingFirmware& firmware, const Prelix10Error& errorDidOccur) override {
        if (table_.firmware_update_error_did_occur == nullptr) return;
        LentHandle<FirmwareHandle> lent(firmware.shared_from_this());
        const BorrowedError borrowed(errorDidOccur);
        callOutUnlessRetired([&] { table_.firmware_update_error_did_occur(context_, lent.get(), borrowed.get()); });
    }

  private:
    template <typename Call>
    void callOutUnlessRetired(Call&& call) noexcept {
        const auto self = std::this_thread::get_id();
        {
            std::lock_guard lock(mutex_);
            if (retired_) return;
            try {
                active_.push_back(self);
            } catch (...) {
                return;
            }
        }
        callOut(call);
        {
            std::lock_guard lock(mutex_);
            active_.erase(std::find(active_.begin(), active_.end(), self));
        }
        idle_.notify_all();
    }

    const prelix10_firmware_update_delegate table_;
    void* const context_;
    std::mutex mutex_;
    std::condition_variable idle_;
    bool retired_ = false;
    std::vector<std::thread::id> active_;
};

// Retires the table a handle set, if any: no event of it runs once this returns.
void retire(const std::shared_ptr<FirmwareUpdateDelegate>& table) {
    if (auto* own = dynamic_cast<FirmwareDelegateTable*>(table.get())) own->retire();
}

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
    const auto object = lookup(firmware);
    if (!object || object->borrowed) return;
    std::shared_ptr<FirmwareUpdateDelegate> previous;
    {
        std::lock_guard guard(object->delegateMutex);
        previous = std::exchange(object->delegate, nullptr);
    }
    retire(previous);
    releaseHandle(firmware);
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
        // An event of the previous table that is under way on another thread is waited for.
        retire(previous);
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

int prelix10_firmware_cloud_set_service_url(const char* url, prelix10_error** error) {
    return guarded(error, [&] {
        const std::string text = url == nullptr ? std::string() : std::string(url);
        if (!text.empty() && (text.rfind("https://", 0) != 0 || text.size() == 8 || text.back() == '/'))
            throw argumentError("Invalid argument: url.");
        auto configuration = CloudFirmwareFunction::configuration();
        configuration.baseUrl = text;
        CloudFirmwareFunction::setConfiguration(std::move(configuration));
    });
}

int prelix10_firmware_cloud_get_service_url(char** url, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(url, "url");
        out = nullptr;
        out = ownedText(CloudFirmwareFunction::configuration().baseUrl);
    });
}

int prelix10_firmware_cloud_set_ca_file(const char* path, prelix10_error** error) {
    return guarded(error, [&] {
        auto configuration = CloudFirmwareFunction::configuration();
        configuration.https.caFile = path == nullptr ? std::string() : std::string(path);
        CloudFirmwareFunction::setConfiguration(std::move(configuration));
    });
}

int prelix10_firmware_cloud_set_diagnostic_upload(int enabled, prelix10_error** error) {
    return guarded(error, [&] {
        if (enabled != 0 && enabled != 1) throw argumentError("Invalid argument: enabled.");
        Prelix10DiagInfoUpload::shared().setIsEnabled(enabled == 1);
    });
}

int prelix10_firmware_cloud_get_diagnostic_upload(int* enabled, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(enabled, "enabled");
        out = Prelix10DiagInfoUpload::shared().isEnabled() ? 1 : 0;
    });
}

}  // extern "C"
