#pragma once

#include <memory>
#include <optional>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/GenericCache.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

// The printer port of the ESC/POS emulation over TCP. Print data goes over the print connection; each status
// read opens a short connection to the status port. The end-of-job counter replies that the printer control
// asks for on the print connection are picked out of what that connection receives.
class EscPosLANPrinterPort final : public BasePrinterPort, public BasePrinterPortProtocol {
public:
    static constexpr int kCacheCapacity = 65535;
    // The longest prefix of a counter reply that can stay incomplete at the end of the received bytes.
    static constexpr int kLongestPartialReply = 7;

    explicit EscPosLANPrinterPort(std::shared_ptr<TCPPort> tcpPort);

    // GS a 0, written when the port is initialised.
    static ByteBlock initializeCommand() { return {0x1D, 0x61, 0x00}; }

    void internalInitialize(std::int64_t timeout) override;
    void internalClose() override;
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatusWithCheckETBCounter(std::int64_t timeout) override;
    std::shared_ptr<const OrvoPrinterStatus> internalGetStatus(std::int64_t timeout) override;
    ByteBlock internalReadOnce(std::int64_t size) override { return forwardReadOnce(size); }
    ByteBlock internalReadOnce(ByteRange range) override { return forwardReadOnce(range); }
    ByteBlock internalReadOnceUnconsumed(std::int64_t size) override { return forwardReadOnceUnconsumed(size); }

    // Takes the first complete counter reply out of the bytes received so far (and every byte before it);
    // without one, keeps only the tail that could still start a reply.
    static std::optional<std::int64_t> takeETBCounter(GenericCache<std::uint8_t>& cache, const Log& log);

    // Bytes taken from the print connection that hold no complete counter reply yet.
    int pendingResponseCount() const { return responseCache_.unreadCount(); }

private:
    GenericCache<std::uint8_t> responseCache_{kCacheCapacity};
    std::shared_ptr<TCPPort> tcpPort_;
};

}  // namespace Prelix10
