#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/OrvoPrinterInformation.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/printer/DelegateManager.hpp"
#include "prelix10/printer/PrinterInformationRecord.hpp"
#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/protocol/OrvoConfigCommand.hpp"
#include "prelix10/protocol/SpoolJobTypes.hpp"

namespace Prelix10 {

class PrinterPort;
class RawPort;
class PrinterControl;
class SerialQueue;
class PollingMonitor;
class OrvoPrinterSetting;

// One printer. Every operation runs later on the object's own serial queue ("Prelix10.OrvoPrinter") under
// its operation lock and reports through a completion, called exactly once on that queue while the lock is
// held; each also has an awaitable form. Completions must not wait for another operation of the same object.
class PRELIX10_EXPORT OrvoPrinter : public std::enable_shared_from_this<OrvoPrinter> {
public:
    using Completion = std::function<void(std::optional<Prelix10Error>)>;
    using ReadCompletion = std::function<void(std::optional<ByteBlock>, std::optional<Prelix10Error>)>;
    using StatusCompletion =
        std::function<void(std::shared_ptr<const OrvoPrinterStatus>, std::optional<Prelix10Error>)>;
    // The job id, or -1 with the error.
    using SpoolPrintCompletion = std::function<void(std::int64_t, std::optional<Prelix10Error>)>;
    using SpoolJobStatusCompletion =
        std::function<void(std::optional<OrvoSpoolJobStatus>, std::optional<Prelix10Error>)>;
    using SpoolJobStatusListCompletion =
        std::function<void(std::optional<std::vector<OrvoSpoolJobStatus>>, std::optional<Prelix10Error>)>;
    // The printer's answer, or applied with the error.
    using ConfigurationSetCompletion = std::function<void(OrvoConfigurationSetResult, std::optional<Prelix10Error>)>;
    using ConfigurationCompletion = std::function<void(std::optional<std::string>, std::optional<Prelix10Error>)>;

    static constexpr int kDefaultOpenTimeout = 10000;
    static constexpr int kDefaultGetStatusTimeout = 5000;
    static constexpr int kDefaultPrintTimeout = 30000;
    static constexpr int kDefaultOrvoConfigurationTimeout = 90000;

    static std::shared_ptr<OrvoPrinter> create(OrvoConnectionSettings connectionSettings);
    // The common initialiser: discovery hands over what it found.
    static std::shared_ptr<OrvoPrinter> create(OrvoConnectionSettings connectionSettings,
                                               std::optional<PrinterInformationRecord> information);
    // Closes an open connection (the device is released for other objects) without waiting for the queue.
    ~OrvoPrinter();
    OrvoPrinter(const OrvoPrinter&) = delete;
    OrvoPrinter& operator=(const OrvoPrinter&) = delete;

    // What is known of the printer (model, emulation, identifiers, network-card record), in the shared form.
    std::optional<OrvoPrinterInformation> information() const;

    // Plain properties, guarded so that the app's thread and the queue never race.
    std::optional<PrinterInformationRecord> informationRecord() const;
    void setInformation(std::optional<PrinterInformationRecord> information);
    OrvoConnectionSettings connectionSettings() const;
    void setConnectionSettings(OrvoConnectionSettings settings);
    int openTimeout() const;
    void setOpenTimeout(int milliseconds);
    int getStatusTimeout() const;
    void setGetStatusTimeout(int milliseconds);
    int printTimeout() const;
    void setPrintTimeout(int milliseconds);
    int orvoConfigurationTimeout() const;
    void setOrvoConfigurationTimeout(int milliseconds);
    std::optional<std::string> printTemplate() const;
    void setPrintTemplate(std::optional<std::string> templateDocument);
    Prelix10ErrorDetail errorDetail() const;
    bool isOpened() const;
    // The setting object made by the last open (its firmware object included); nothing before the first.
    std::shared_ptr<OrvoPrinterSetting> setting() const;

    // The app's delegates, held weakly; safe to set from any thread. While the printer is open, a
    // background monitor raises their events on a thread of its own; a change takes effect at its next poll.
    std::weak_ptr<PrinterDelegate> printerDelegate() const;
    void setPrinterDelegate(std::weak_ptr<PrinterDelegate> delegate);
    std::weak_ptr<DrawerDelegate> drawerDelegate() const;
    void setDrawerDelegate(std::weak_ptr<DrawerDelegate> delegate);
    std::weak_ptr<InputDeviceDelegate> inputDeviceDelegate() const;
    void setInputDeviceDelegate(std::weak_ptr<InputDeviceDelegate> delegate);
    std::weak_ptr<DisplayDelegate> displayDelegate() const;
    void setDisplayDelegate(std::weak_ptr<DisplayDelegate> delegate);

    void open(Completion completion);
    void close(std::function<void()> completion);
    void write(ByteBlock data, int timeout, Completion completion);
    void read(int size, ReadCompletion completion);
    void print(ByteBlock raw, Completion completion);
    void print(std::string command, Completion completion);
    void getStatus(StatusCompletion completion);

    // Spooler and configuration store of the printers that have them; the printer control refuses the
    // others with "Not supported model.".
    void print(std::string command, OrvoSpoolJobSettings orvoSpoolJobSettings, SpoolPrintCompletion completion);
    void getSpoolJobStatus(std::int64_t jobId, SpoolJobStatusCompletion completion);
    void getSpoolJobStatusList(std::int64_t size, SpoolJobStatusListCompletion completion);
    void setOrvoConfiguration(std::string orvoConfiguration, ConfigurationSetCompletion completion);
    // The current configuration document; the password is never logged.
    void getOrvoConfiguration(std::optional<std::string> password, ConfigurationCompletion completion);
    // The default configuration document, read without a password.
    void getDefaultOrvoConfiguration(ConfigurationCompletion completion);

    // Awaitable forms: the future holds the result, or the error as its exception.
    std::future<void> open();
    std::future<void> close();
    std::future<void> write(ByteBlock data, int timeout);
    std::future<ByteBlock> read(int size);
    std::future<void> print(ByteBlock raw);
    std::future<void> print(std::string command);
    std::future<std::shared_ptr<const OrvoPrinterStatus>> getStatus();
    std::future<std::int64_t> print(std::string command, OrvoSpoolJobSettings orvoSpoolJobSettings);
    std::future<OrvoSpoolJobStatus> getSpoolJobStatus(std::int64_t jobId);
    std::future<std::vector<OrvoSpoolJobStatus>> getSpoolJobStatusList(std::int64_t size);
    std::future<OrvoConfigurationSetResult> setOrvoConfiguration(std::string orvoConfiguration);
    std::future<std::string> getOrvoConfiguration(std::optional<std::string> password);
    std::future<std::string> getDefaultOrvoConfiguration();

    std::string description() const;

private:
    friend class PollingMonitor;
    OrvoPrinter(OrvoConnectionSettings connectionSettings, std::optional<PrinterInformationRecord> information);

    struct Snapshot {
        int openTimeout, getStatusTimeout, printTimeout;
        std::optional<std::string> printTemplate;
        int orvoConfigurationTimeout = kDefaultOrvoConfigurationTimeout;
    };
    Snapshot snapshot() const;

    // The queued body of every operation: lock, fresh error detail (unless kept), state check, work,
    // completion under the lock.
    template <typename Body>
    void enqueue(const char* name, bool keepErrorDetail, bool requireOpen, Body body);

    void internalOpen(std::int64_t timeout);
    // Makes the setting object of an open printer; its operations run on this object's queue under its lock.
    std::shared_ptr<OrvoPrinterSetting> makeSetting(const std::shared_ptr<PrinterPort>& port,
                                                    const std::shared_ptr<PrinterControl>& control,
                                                    const PrinterInformationRecord& information);
    void internalClose();
    PrinterDelegates delegates() const;
    // The close asked for by a monitor after a failed poll: under the lock, and only while that monitor is
    // still the current one of an open printer.
    void closeFromMonitor(const PollingMonitor* monitor);
    void internalWrite(const ByteBlock& data, std::int64_t timeout);
    ByteBlock internalRead(std::int64_t size);
    void internalPrint(const ByteBlock& data, std::int64_t timeout);
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout);
    // The information to open with: the known model and emulation, else what the port's detector tells.
    PrinterInformationRecord getPrinterSpec(const std::shared_ptr<RawPort>& rawPort, std::int64_t timeout);
    std::int64_t internalSpoolPrint(const ByteBlock& data, const OrvoSpoolJobSettings& settings, std::int64_t timeout);
    OrvoSpoolJobStatus internalGetSpoolJobStatus(std::int64_t jobId, std::int64_t timeout);
    std::vector<OrvoSpoolJobStatus> internalGetSpoolJobStatusList(std::int64_t size, std::int64_t timeout);
    OrvoConfigurationSetResult internalSetOrvoConfig(const std::string& orvoConfig, std::int64_t timeout);
    std::string internalGetOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                                      std::int64_t timeout);
    // The host facts sent with every spool job.
    OrvoSpoolJobSettingsAdditionalInfo spoolAdditionalInfo() const;

    mutable std::mutex fieldsMutex_;
    std::optional<PrinterInformationRecord> information_;
    OrvoConnectionSettings connectionSettings_;
    int openTimeout_ = kDefaultOpenTimeout;
    int getStatusTimeout_ = kDefaultGetStatusTimeout;
    int printTimeout_ = kDefaultPrintTimeout;
    int orvoConfigurationTimeout_ = kDefaultOrvoConfigurationTimeout;
    std::optional<std::string> template_;
    Prelix10ErrorDetail errorDetail_;
    bool isOpened_ = false;
    PrinterDelegates delegates_;
    std::shared_ptr<OrvoPrinterSetting> setting_;

    // Touched only on the queue under lock_.
    std::shared_ptr<PrinterPort> port_;
    std::shared_ptr<PrinterControl> printerControl_;
    // Created by each open, stopped and dropped by close.
    std::shared_ptr<PollingMonitor> monitor_;

    std::mutex lock_;
    std::unique_ptr<SerialQueue> processQueue_;
};

}  // namespace Prelix10
