#pragma once

// The requests for the state of a customer display and an input device on the printer's peripheral
// ports, the input device's stored data, and their reply parsers. The parsers skip bytes that do not form
// a reply and never report `invalid`.

#include <optional>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class DisplayCommand {
public:
    class Kestrin {
    public:
        // ESC RS B A.
        static ByteBlock statusRequest() { return {0x1B, 0x1E, 0x42, 0x41}; }
    };
};

class InputDeviceCommand {
public:
    class Kestrin {
    public:
        // ESC RS B 1.
        static ByteBlock statusRequest() { return {0x1B, 0x1E, 0x42, 0x31}; }
        // ESC GS B 2.
        static ByteBlock storedDataRequest() { return {0x1B, 0x1D, 0x42, 0x32}; }
    };
};

// Document and raster commands of the emulation families; the job checks write the sequences they need
// themselves, so nothing is bound here yet.
class DocumentCommand {
public:
    class Orvo {};
    class EscPos {};
    class EscPosMobile {};
};

class RasterCommand {
public:
    class Orvo {};
};

// The reply to a status request of an accessory: the four request bytes, then a status byte whose bit 0
// tells that data is stored and bit 1 that the accessory is connected.
class AccessoryStatusParser : public CommandParser {
public:
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;
    const std::optional<bool>& existsStoredData() const { return existsStoredData_; }
    const std::optional<bool>& isConnected() const { return isConnected_; }

protected:
    explicit AccessoryStatusParser(ByteBlock requestCommands) : requestCommands_(std::move(requestCommands)) {}

private:
    ByteBlock requestCommands_;
    std::optional<bool> existsStoredData_;
    std::optional<bool> isConnected_;
};

class DisplayStatusParser final : public AccessoryStatusParser {
public:
    DisplayStatusParser() : AccessoryStatusParser(DisplayCommand::Kestrin::statusRequest()) {}
};

class InputDeviceStatusParser final : public AccessoryStatusParser {
public:
    InputDeviceStatusParser() : AccessoryStatusParser(InputDeviceCommand::Kestrin::statusRequest()) {}
};

// ESC GS B 2, a 16-bit big-endian length L (0 to 65535), then L data bytes.
class InputDeviceStoredDataParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;
    const std::optional<ByteBlock>& storedData() const { return storedData_; }

private:
    ByteBlock requestCommands_ = InputDeviceCommand::Kestrin::storedDataRequest();
    std::optional<ByteBlock> storedData_;
};

}  // namespace Prelix10
