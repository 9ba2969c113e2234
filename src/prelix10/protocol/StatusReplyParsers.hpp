#pragma once

// The short status replies: the EOT byte of the maker's emulations, the ESC/POS automatic status, the three
// ESC/POS real-time status bytes, the mobile ESC/POS byte, and the ETB counter reply.

#include <memory>
#include <optional>

#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class OrvoEOTPrinterStatusParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override { return {0x04}; }
    CommandParserResult parse(ByteView data) override;
    const std::shared_ptr<const OrvoPrinterStatus>& status() const { return status_; }

private:
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

class BaseEscPosASBPrinterStatusParserProtocol {
public:
    virtual ~BaseEscPosASBPrinterStatusParserProtocol() = default;
    virtual bool isStrict() const = 0;
};

// The four-byte ESC/POS automatic status.
class BaseEscPosASBPrinterStatusParser : public CommandParser {
public:
    explicit BaseEscPosASBPrinterStatusParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    void setRequestCommands(ByteBlock bytes) { requestCommands_ = std::move(bytes); }
    CommandParserResult parse(ByteView data) override;
    const std::shared_ptr<const OrvoPrinterStatus>& status() const { return status_; }

    CommandParserResult parseFrame(ByteView data);

private:
    ByteBlock requestCommands_;
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

class EscPosASBPrinterStatusStrictParser final : public BaseEscPosASBPrinterStatusParser,
                                                  public BaseEscPosASBPrinterStatusParserProtocol {
public:
    using BaseEscPosASBPrinterStatusParser::BaseEscPosASBPrinterStatusParser;
    bool isStrict() const override { return true; }
};

class EscPosASBPrinterStatusNonStrictParser final : public BaseEscPosASBPrinterStatusParser,
                                                     public BaseEscPosASBPrinterStatusParserProtocol {
public:
    using BaseEscPosASBPrinterStatusParser::BaseEscPosASBPrinterStatusParser;
    bool isStrict() const override { return false; }
};

// The replies to DLE EOT 1, 2 and 4, one byte each, in request order.
class EscPosPrinterStatusParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    CommandParserResult parse(ByteView data) override;
    const std::shared_ptr<const OrvoPrinterStatus>& status() const { return status_; }

private:
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

// The one-byte reply of mobile ESC/POS printers to DLE EOT 4.
class EscPosMobilePrinterStatusParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override { return {0x10, 0x04, 0x04}; }
    CommandParserResult parse(ByteView data) override;
    const std::shared_ptr<const OrvoPrinterStatus>& status() const { return status_; }

private:
    std::shared_ptr<const OrvoPrinterStatus> status_;
};

// ESC GS ETX {00|01} NUL NUL counter NUL, found anywhere in the buffer.
class OrvoOriginalETBCounterParser final : public CommandParser {
public:
    explicit OrvoOriginalETBCounterParser(ByteBlock requestCommands = {0x1B, 0x1D, 0x03, 0x00, 0x00, 0x00})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;
    const std::optional<std::int64_t>& etbCounter() const { return etbCounter_; }

private:
    ByteBlock requestCommands_;
    std::optional<std::int64_t> etbCounter_;
};

}  // namespace Prelix10
