#pragma once

// The printer-setting object an open printer carries, and its firmware object: the firmware version the
// printer reports, the newest firmware the cloud service knows for the printer's exact variant, and the
// update that downloads it and hands it to the printer. Firmware operations run on the printer object's
// queue under its operation lock, so they never overlap printing or each other.

#include "prelix10/core/Export.hpp"
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "prelix10/core/OrvoPrinterInformation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class PrinterPort;
class PrinterControl;
class FirmwareUpdater;
struct FirmwareUpdateLog;

enum class FirmwareUpdateStep : int {
    download = 0,
    transmit = 1,
};
// "downloading", "transmitting".
std::string describeEnumeration(FirmwareUpdateStep step);

class OrvoPrinterSettingFirmware;

// Receives the steps of an update, on the printer's queue while its lock is held.
class PRELIX10_EXPORT FirmwareUpdateDelegate {
  public:
    virtual ~FirmwareUpdateDelegate() = default;
    // A step begins.
    virtual void firmwareUpdateProgress(OrvoPrinterSettingFirmware& firmware, FirmwareUpdateStep step) = 0;
    // The printer has the new firmware.
    virtual void firmwareUpdateTransmitComplete(OrvoPrinterSettingFirmware& firmware) = 0;
    // The update failed.
    virtual void firmwareUpdate(OrvoPrinterSettingFirmware& firmware, const Prelix10Error& errorDidOccur) = 0;
};

class PRELIX10_EXPORT OrvoPrinterSettingFirmware : public std::enable_shared_from_this<OrvoPrinterSettingFirmware> {
  public:
    using Completion = std::function<void(std::optional<Prelix10Error>)>;
    using VersionCompletion = std::function<void(std::optional<std::string>, std::optional<Prelix10Error>)>;
    // Runs a body on the printer object's queue under its operation lock; false when the printer object
    // is gone and nothing was queued.
    using OperationPoster = std::function<bool(std::function<void()> body)>;
    // True on the printer object's queue thread, where waiting on a future of this object never ends.
    using QueueCheck = std::function<bool()>;
    // Runs on the printer's queue under its lock when an operation finds the printer's link gone: the
    // printer closes, so that it and the firmware object agree that it is no longer open.
    using LinkLost = std::function<void()>;

    static constexpr std::int64_t kRetrieveInfoTimeout = 5000;

    // Made by the printer's open. Fails with an unsupported-model error for a model that takes no setting
    // object at all.
    static std::shared_ptr<OrvoPrinterSettingFirmware> create(std::shared_ptr<PrinterPort> port,
                                                              OrvoPrinterInformation information,
                                                              std::shared_ptr<PrinterControl> printerControl,
                                                              OperationPoster post,
                                                              QueueCheck isOnQueue = {},
                                                              LinkLost linkLost = {});
    ~OrvoPrinterSettingFirmware();
    OrvoPrinterSettingFirmware(const OrvoPrinterSettingFirmware&) = delete;
    OrvoPrinterSettingFirmware& operator=(const OrvoPrinterSettingFirmware&) = delete;

    // The version the printer last reported ("" before any read) and the newest the cloud service knows.
    std::string currentVersion() const;
    void setCurrentVersion(std::string version);
    std::optional<std::string> latestVersion() const;
    void setLatestVersion(std::optional<std::string> version);
    bool isUpdatable() const { return isUpdatable_; }
    std::weak_ptr<FirmwareUpdateDelegate> updateDelegate() const;
    void setUpdateDelegate(std::weak_ptr<FirmwareUpdateDelegate> delegate);
    // The exact variant found by the last version check.
    PrinterModelDetail detailModel() const;

    // Each call returns at once; the completion runs on the printer's queue.
    void getCurrentVersion(VersionCompletion completion);
    // On success currentVersion and latestVersion hold the two versions; they are not compared.
    void checkVersions(Completion completion);
    // Downloads the newest firmware and installs it; succeeds only once the printer reports that version.
    void update(Completion completion);

    // Awaitable forms: the future holds the result, or the error as its exception. Called on the printer's
    // own queue thread (from a completion or an update event), where its get() could never return, each
    // hands back a future already failed with "Invalid operation" and queues nothing.
    std::future<std::string> getCurrentVersion();
    std::future<void> checkVersions();
    std::future<void> update();

    // Ends a download in progress, and any later one, soon: the printer object calls it as it closes or
    // goes, so that a slow service never holds its queue.
    void cancelTransfers();

  private:
    OrvoPrinterSettingFirmware(std::shared_ptr<PrinterPort> port, OrvoPrinterInformation information,
                               std::shared_ptr<PrinterControl> printerControl, OperationPoster post,
                               QueueCheck isOnQueue, LinkLost linkLost);
    bool isOnOwnQueue() const { return isOnQueue_ && isOnQueue_(); }

    // Queues body on the printer's queue; when the printer is gone, the completion gets "Not opened.".
    void post(const char* name, std::function<void()> body, std::function<void(const Prelix10Error&)> refuse);
    // The checks before any traffic: "Not supported model.", "Network unavailable.", "Not opened.".
    std::optional<Prelix10Error> precheck(bool needsCloud) const;
    // Closes the printer when its port has lost the link.
    void closeIfLinkLost() const;

    void internalCheckVersions();
    std::string retrieveCurrentVersion();
    PrinterModelDetail retrieveDetailModel();
    FirmwareUpdateLog makeFirmwareUpdateLog();
    std::string fetchLatestFirmwareVersion();
    ByteBlock fetchFirmwareData();
    void internalUpdate();
    void firmwareUpdateProgress(FirmwareUpdateStep step);
    void firmwareUpdateTransmitComplete();
    void firmwareUpdateError(const Prelix10Error& error);

    const std::shared_ptr<PrinterPort> port_;
    const OrvoPrinterInformation information_;
    const std::shared_ptr<PrinterControl> printerControl_;
    const OperationPoster post_;
    const QueueCheck isOnQueue_;
    const LinkLost linkLost_;
    std::atomic<bool> cancelled_{false};
    bool isUpdatable_ = false;
    std::unique_ptr<FirmwareUpdater> firmwareUpdater_;

    // The app's thread may read and write these while the queue works.
    mutable std::mutex fieldsMutex_;
    std::string currentVersion_;
    std::optional<std::string> latestVersion_;
    std::weak_ptr<FirmwareUpdateDelegate> updateDelegate_;
    PrinterModelDetail detailModel_ = PrinterModelDetail::none;
    bool isCheckVersionsDone_ = false;
};

// What an open printer offers beyond printing; replaced at each open.
class PRELIX10_EXPORT OrvoPrinterSetting {
  public:
    explicit OrvoPrinterSetting(std::shared_ptr<OrvoPrinterSettingFirmware> firmware)
        : firmware_(std::move(firmware)) {}
    // Nothing for a model that has no firmware object.
    const std::shared_ptr<OrvoPrinterSettingFirmware>& firmware() const { return firmware_; }

  private:
    std::shared_ptr<OrvoPrinterSettingFirmware> firmware_;
};

}  // namespace Prelix10
