#pragma once

#include <memory>
#include <mutex>

#include "prelix10/core/GenericCache.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// The printer port of the maker's emulations over TCP. Status comes, fixed at construction, from the
// automatic status blocks the interface board sends by itself, from a status request on the print
// connection, or from a short connection to the status port per request. Callers read only the replies
// that the printer carries inside status block extensions.
class OrvoLANPrinterPort final : public BasePrinterPort, public BasePrinterPortProtocol {
public:
    static constexpr const char* kAutomaticStatusBoardName = "Ubrek-EF91/92";
    static constexpr int kCacheCapacity = 65535;

    OrvoLANPrinterPort(std::shared_ptr<TCPPort> tcpPort, bool isGetStatusViaTcp9100);

    bool isAutomaticStatus() const { return isAutomaticStatus_; }
    bool isGetStatusViaTcp9100() const { return isGetStatusViaTcp9100_; }
    std::shared_ptr<const OrvoPrinterStatus> automaticStatus() const;

    void internalInitialize(std::int64_t timeout) override;
    void internalClose() override;
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatusWithCheckETBCounter(std::int64_t timeout) override {
        return internalGetStatus(timeout);
    }
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout) override;
    ByteBlock internalReadOnce(std::int64_t size) override;
    ByteBlock internalReadOnce(ByteRange range) override;
    ByteBlock internalReadOnceUnconsumed(std::int64_t size) override;

private:
    // Moves what the print connection received into the scan buffer, takes every complete status block out
    // of it (keeping its status and its extension item) and drops bytes that can no longer start one.
    void storeReadBuffer();
    std::shared_ptr<const OrvoPrinterStatus> statusOverStatusPort(std::int64_t timeout);

    GenericCache<std::uint8_t> allResponsesCache_{kCacheCapacity};
    GenericCache<std::uint8_t> extensionDataCache_{kCacheCapacity};
    std::shared_ptr<TCPPort> tcpPort_;
    const bool isGetStatusViaTcp9100_;
    bool isAutomaticStatus_;
    mutable std::mutex statusMutex_;
    std::shared_ptr<const OrvoPrinterStatus> automaticStatus_;
};

}  // namespace Prelix10
