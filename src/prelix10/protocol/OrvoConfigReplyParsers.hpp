#pragma once

// The replies to the configuration-set and configuration-get requests and to an internal-file transfer.
// They report no frame range (-1, -1) in any state; the exchange acts on the state alone.

#include <cstdint>
#include <string>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/protocol/OrvoConfigCommand.hpp"

namespace Prelix10 {

// ESC GS ) # L(u32 LE) "0" result detail ...
class SetOrvoConfigParser final : public CommandParser {
  public:
    explicit SetOrvoConfigParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    bool isSuccess() const { return isSuccess_; }
    std::uint8_t detail() const { return detail_; }

  private:
    ByteBlock requestCommands_;
    bool isSuccess_ = false;
    std::uint8_t detail_ = 0xFF;
};

// ESC GS ) area L(u32 LE) "1" document. Only a reply for the area asked for is recognised; one with no
// function byte (L = 0) or with a document that is not UTF-8 is invalid.
class GetOrvoConfigParser final : public CommandParser {
  public:
    GetOrvoConfigParser(ByteBlock requestCommands, OrvoConfigArea area)
        : requestCommands_(std::move(requestCommands)), area_(area) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    const std::string& orvoConfig() const { return orvoConfig_; }
    OrvoConfigArea area() const { return area_; }

  private:
    ByteBlock requestCommands_;
    std::string orvoConfig_;
    OrvoConfigArea area_;
};

// ESC GS ] F "1", six bytes, then the receiving state (00 or 01).
class ControlInternalFileCommandParser final : public CommandParser {
  public:
    explicit ControlInternalFileCommandParser(ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)) {}
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;

    bool isReceivingData() const { return isReceivingData_; }
    void setReceivingData(bool receiving) { isReceivingData_ = receiving; }

  private:
    ByteBlock requestCommands_;
    bool isReceivingData_ = true;
};

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above U+10FFFF).
bool isValidUtf8(ByteView bytes);

}  // namespace Prelix10
