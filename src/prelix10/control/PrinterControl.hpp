#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/protocol/OrvoConfigCommand.hpp"
#include "prelix10/protocol/SpoolJobTypes.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// What the printer object asks of a printer control: print a compiled job under one time budget, and the
// spooler and configuration requests. Timeouts are milliseconds.
class PrinterControl {
public:
    virtual ~PrinterControl() = default;
    virtual void printLegacy(const ByteBlock& data, std::int64_t timeout) = 0;
    virtual std::int64_t printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& orvoSpoolJobSettings,
                                    const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo, std::int64_t timeout) = 0;
    virtual OrvoSpoolJobStatus getSpoolJobStatus(std::int64_t jobId, std::int64_t timeout) = 0;
    virtual std::vector<OrvoSpoolJobStatus> getSpoolJobStatusList(std::int64_t size, std::int64_t timeout) = 0;
    virtual OrvoConfigurationSetResult setOrvoConfig(const std::string& orvoConfig, std::int64_t timeout) = 0;
    virtual std::string getOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                                      std::int64_t timeout) = 0;
};

// The begin and end checks an emulation wraps around each job.
class BasePrinterControlProtocol {
public:
    virtual ~BasePrinterControlProtocol() = default;
    virtual void beginCheck(PrinterPort& port, std::int64_t timeout) = 0;
    virtual void endCheck(PrinterPort& port, std::int64_t timeout) = 0;
};

// The print job frame and the base versions of the requests, which only check availability.
class BasePrinterControl : public PrinterControl {
public:
    BasePrinterControl(std::shared_ptr<PrinterPort> port, bool isSpoolPrintSupported, bool isOrvoConfigSupported,
                       bool isGetCommandAvailableSupported)
        : port_(std::move(port)),
          isSpoolPrintSupported_(isSpoolPrintSupported),
          isOrvoConfigSupported_(isOrvoConfigSupported),
          isGetCommandAvailableSupported_(isGetCommandAvailableSupported) {}

    // Begin check, write, end check, all from one budget. A write that fails once the budget is spent is
    // "Print timed out." (1002).
    void printLegacy(const ByteBlock& data, std::int64_t timeout) final;

    std::int64_t printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& orvoSpoolJobSettings,
                            const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo, std::int64_t timeout) override;
    OrvoSpoolJobStatus getSpoolJobStatus(std::int64_t jobId, std::int64_t timeout) override;
    std::vector<OrvoSpoolJobStatus> getSpoolJobStatusList(std::int64_t size, std::int64_t timeout) override;
    OrvoConfigurationSetResult setOrvoConfig(const std::string& orvoConfig, std::int64_t timeout) override;
    std::string getOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                              std::int64_t timeout) override;
    virtual void checkAvailableSpoolPrint();
    virtual void checkAvailableOrvoConfig();

    PrinterPort& port() const { return *port_; }
    bool isSpoolPrintSupported() const { return isSpoolPrintSupported_; }
    bool isOrvoConfigSupported() const { return isOrvoConfigSupported_; }
    bool isGetCommandAvailableSupported() const { return isGetCommandAvailableSupported_; }

private:
    const std::shared_ptr<PrinterPort> port_;
    const bool isSpoolPrintSupported_;
    const bool isOrvoConfigSupported_;
    const bool isGetCommandAvailableSupported_;
};

}  // namespace Prelix10
