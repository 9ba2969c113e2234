#pragma once

#include <functional>
#include <optional>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

// The hooks a transport supplies. Each completion runs exactly once, on any thread, possibly before the
// hook returns; the hook alone keeps the time limit.
class BaseRawPortProtocol {
public:
    using Completion = std::function<void(std::optional<Prelix10Error>)>;
    using ReadCompletion = std::function<void(std::optional<ByteBlock>, std::optional<Prelix10Error>)>;

    virtual ~BaseRawPortProtocol() = default;
    virtual bool internalIsConnected() const = 0;
    virtual InterfaceType internalInterfaceType() const = 0;
    virtual std::vector<std::string> internalIdentifiers() const = 0;
    virtual void internalCheckAvailability() = 0;
    virtual void internalFindDevice(std::int64_t timeout, Completion completion) = 0;
    virtual void internalOpen(std::int64_t timeout, Completion completion) = 0;
    virtual void internalClose() = 0;
    virtual void internalReadOnce(std::int64_t size, ReadCompletion completion) = 0;
    virtual void internalReadOnce(ByteRange range, ReadCompletion completion) = 0;
    virtual void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) = 0;
    virtual void internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) = 0;
};

// The raw port protocol implemented once over the hooks: each hook's completion is awaited on a semaphore
// and its result returned or raised. Concrete transports derive from this and from BaseRawPortProtocol.
class BaseRawPort : public RawPort {
public:
    InterfaceType interfaceType() const override;
    std::vector<std::string> identifiers() const override;
    bool isConnected() const override;
    std::string identifier() const override { return identifier_; }
    std::string actualIdentifier() const override { return actualIdentifier_; }

    void findDevice(std::int64_t timeout) override;
    void open(std::int64_t timeout) override;
    void close() override;
    ByteBlock readOnce(std::int64_t size) override;
    ByteBlock readOnce(ByteRange range) override;
    ByteBlock readOnceUnconsumed(std::int64_t size) override;
    ByteBlock readUntilSize(std::int64_t size, std::int64_t timeout) override;
    void clearReadBuffer() override;
    void write(const ByteBlock& data, std::int64_t timeout) override;
    bool isSameDevice(const RawPort& port) const override;
    virtual void checkAvailability();

protected:
    BaseRawPort(std::string identifier, std::string actualIdentifier)
        : identifier_(std::move(identifier)), actualIdentifier_(std::move(actualIdentifier)) {}

    BaseRawPortProtocol* hooks() { return dynamic_cast<BaseRawPortProtocol*>(this); }
    const BaseRawPortProtocol* hooks() const { return dynamic_cast<const BaseRawPortProtocol*>(this); }

private:
    void awaitCompletion(const std::function<void(BaseRawPortProtocol::Completion)>& start);
    ByteBlock awaitRead(const char* method, const std::function<void(BaseRawPortProtocol::ReadCompletion)>& start);

    std::string identifier_;
    std::string actualIdentifier_;
};

}  // namespace Prelix10
