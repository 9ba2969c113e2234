#pragma once

#include "prelix10/control/PrinterControl.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// The printer control of the maker's four emulations: the begin check waits until the printer is ready
// with its end-of-job counter at 0, the end check until the printer has counted the job's marker.
class OrvoPrinterControl : public BasePrinterControl, public BasePrinterControlProtocol {
public:
    using BasePrinterControl::BasePrinterControl;

    void beginCheck(PrinterPort& port, std::int64_t timeout) override;
    void endCheck(PrinterPort& port, std::int64_t timeout) override;
    static void disableAutomaticStatus(PrinterPort& port, std::int64_t timeout);

    // Preamble: ESC * r B, ESC GS ETX 4, ESC RS E 0 (counter to 0), ESC ACK SOH (status request).
    static ByteBlock beginPreamble();
    // ETB, then ESC GS ETX 4.
    static ByteBlock endOfJobMarker();
    static ByteBlock readyCommand() { return {0x1B, 0x1D, 0x03, 0x03, 0x00, 0x00}; }
    static bool isReadyForJob(const OrvoPrinterStatus& status);

    // The spooler and configuration requests: one request written once, the reply read 1024 bytes at a
    // time until its parser recognises it, within one time budget.
    std::int64_t printSpool(const ByteBlock& data, const OrvoSpoolJobSettings& orvoSpoolJobSettings,
                            const OrvoSpoolJobSettingsAdditionalInfo& additionalInfo, std::int64_t timeout) override;
    OrvoSpoolJobStatus getSpoolJobStatus(std::int64_t jobId, std::int64_t timeout) override;
    std::vector<OrvoSpoolJobStatus> getSpoolJobStatusList(std::int64_t size, std::int64_t timeout) override;
    OrvoConfigurationSetResult setOrvoConfig(const std::string& orvoConfig, std::int64_t timeout) override;
    std::string getOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                              std::int64_t timeout) override;

    // The count of user-perceived characters of UTF-8 text.
    static std::size_t characterCount(const std::string& text);

private:
    void exchange(const Log& log, CommandParser& parser, std::int64_t timeout);
};

}  // namespace Prelix10
