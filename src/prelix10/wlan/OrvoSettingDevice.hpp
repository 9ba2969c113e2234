#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/OrvoPrinterInformation.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/printer/PrinterInformationRecord.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class Log;
class RawPort;
class SerialQueue;
class SettingDevicePort;

// A printer or interface module opened for setting rather than printing, over its Bluetooth LE setting
// service. Every operation runs later on the object's own serial queue ("Prelix10.OrvoSettingDevice") under its
// operation lock and reports through a completion, called exactly once on that queue while the lock is held.
// Destroying an open object closes it and releases the device, also when the last reference goes inside one of
// its own completions. Completions must not wait for another operation of the same object.
class PRELIX10_EXPORT OrvoSettingDevice : public std::enable_shared_from_this<OrvoSettingDevice> {
public:
    using Completion = std::function<void(std::optional<Prelix10Error>)>;
    using ReadCompletion = std::function<void(std::optional<ByteBlock>, std::optional<Prelix10Error>)>;

    static constexpr int kDefaultOpenTimeout = 10000;
    static constexpr int kDefaultCommunicationTimeout = 10000;
    // bleRssi without an advertisement record.
    static constexpr int kNoRssi = -127;

    static std::shared_ptr<OrvoSettingDevice> create(OrvoConnectionSettings connectionSettings);
    // The common initialiser: discovery hands over what it found.
    static std::shared_ptr<OrvoSettingDevice> create(std::optional<PrinterInformationRecord> information,
                                                     OrvoConnectionSettings connectionSettings);
    virtual ~OrvoSettingDevice();
    OrvoSettingDevice(const OrvoSettingDevice&) = delete;
    OrvoSettingDevice& operator=(const OrvoSettingDevice&) = delete;

    std::optional<OrvoPrinterInformation> information() const;
    std::optional<PrinterInformationRecord> informationRecord() const;
    OrvoConnectionSettings connectionSettings() const;
    int openTimeout() const;
    void setOpenTimeout(int milliseconds);
    int communicationTimeout() const;
    void setCommunicationTimeout(int milliseconds);
    // The RSSI of the advertisement that discovery saw; -127 without one.
    int bleRssi() const;
    bool isOpened() const;

    void open(Completion completion);
    void close(std::function<void()> completion);
    void write(ByteBlock data, int timeout, Completion completion);
    void read(int size, ReadCompletion completion);

    // Awaitable forms: the future holds the result, or the error as its exception.
    std::future<void> open();
    std::future<void> close();
    std::future<void> write(ByteBlock data, int timeout);
    std::future<ByteBlock> read(int size);

    std::string description() const;

protected:
    OrvoSettingDevice(std::optional<PrinterInformationRecord> information, OrvoConnectionSettings connectionSettings);

    // Queues body on the object's queue; it runs under the operation lock, given the state error ("Not
    // opened.") when requireOpen is set and the object is closed.
    void enqueue(const char* name, bool requireOpen,
                 std::function<void(OrvoSettingDevice& self, std::optional<Prelix10Error> stateError, const Log& log)> body);

    // Opens the device: exclusive registration, the raw port, model identification, the setting port.
    virtual void internalOpen(std::int64_t timeout);
    virtual PrinterInformationRecord getPrinterSpec(const std::shared_ptr<RawPort>& port, std::int64_t timeout);
    virtual ByteBlock internalRead(std::int64_t size);
    virtual void internalWrite(const ByteBlock& data, std::int64_t timeout);

    // Touched only on the queue under the operation lock (and by the destructor).
    std::shared_ptr<SettingDevicePort> port() const { return port_; }
    void setInformation(std::optional<PrinterInformationRecord> information);

private:
    void internalClose();

    mutable std::mutex fieldsMutex_;
    std::optional<PrinterInformationRecord> information_;
    const OrvoConnectionSettings connectionSettings_;
    int openTimeout_ = kDefaultOpenTimeout;
    int communicationTimeout_ = kDefaultCommunicationTimeout;
    bool isOpened_ = false;

    std::shared_ptr<SettingDevicePort> port_;
    std::mutex lock_;
    std::unique_ptr<SerialQueue> processQueue_;
};

namespace Internal PRELIX10_EXPORT {
// The current error inside a catch block, as the library's error.
Prelix10Error currentSettingError();
}  // namespace Internal

}  // namespace Prelix10
