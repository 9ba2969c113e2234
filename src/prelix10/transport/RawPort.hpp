#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

// A closed range of byte offsets, counted from the read position.
struct ByteRange {
    std::int64_t lower = 0;
    std::int64_t upper = -1;
};

// Bytes to and from one device over one transport. Timeouts are milliseconds; sizes and offsets bytes.
class RawPort {
public:
    virtual ~RawPort() = default;

    virtual InterfaceType interfaceType() const = 0;
    virtual std::string identifier() const = 0;
    virtual std::string actualIdentifier() const = 0;
    virtual std::vector<std::string> identifiers() const = 0;
    virtual bool isConnected() const = 0;
    virtual void findDevice(std::int64_t timeout) = 0;
    virtual void open(std::int64_t timeout) = 0;
    virtual void close() = 0;
    // Takes up to size received bytes.
    virtual ByteBlock readOnce(std::int64_t size) = 0;
    // Takes the received bytes at the offsets of the range; the bytes behind them move up.
    virtual ByteBlock readOnce(ByteRange range) = 0;
    // Copies up to size received bytes without taking them.
    virtual ByteBlock readOnceUnconsumed(std::int64_t size) = 0;
    virtual ByteBlock readUntilSize(std::int64_t size, std::int64_t timeout) = 0;
    virtual void clearReadBuffer() = 0;
    virtual void write(const ByteBlock& data, std::int64_t timeout) = 0;
    virtual bool isSameDevice(const RawPort& port) const = 0;

    // The pause of a polling loop: waits up to maxWait, and returns early when the device sends bytes
    // (transports that cannot tell simply sleep).
    virtual void waitForIncomingBytes(std::chrono::milliseconds maxWait);
};

}  // namespace Prelix10
