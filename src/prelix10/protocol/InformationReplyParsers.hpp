#pragma once

// The ESC GS ) I information requests of the maker's emulations and their reply parsers: printer
// information (identifier texts), mounted interfaces and command availability. None of the parsers reports
// `invalid`: bytes that are no reply are skipped, and an exchange that never completes ends through the
// caller's time budget.

#include <optional>
#include <string>

#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/core/PrinterInformationType.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class PrinterInformationCommand {
public:
    class Orvo {
    public:
        // ESC GS ) I 01 00 31.
        static ByteBlock request() { return {0x1B, 0x1D, 0x29, 0x49, 0x01, 0x00, 0x31}; }
    };
};

class MountedInterfaceInformationCommand {
public:
    class Orvo {
    public:
        // ESC GS ) I 03 00 33 00 00.
        static ByteBlock request() { return {0x1B, 0x1D, 0x29, 0x49, 0x03, 0x00, 0x33, 0x00, 0x00}; }
    };
};

// The reply: the request's seven bytes, a UTF-8 text of "key=value" items separated by ",", then LF NUL.
// Addresses are stored as twelve upper-case hexadecimal digits; an address that is not one is stored as
// an item without a value.
class PrinterInformationParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;
    const std::optional<PrinterInformationDictionary>& printerInformationDictionary() const {
        return printerInformationDictionary_;
    }

private:
    std::optional<PrinterInformationDictionary> printerInformationDictionary_;
    ByteBlock requestCommands_ = PrinterInformationCommand::Orvo::request();
};

// The reply: ESC GS ) I 03 00 33, two bytes not examined, the ASCII interface names separated by ",",
// then LF NUL.
class MountedInterfaceInformationParser final : public CommandParser {
public:
    ByteBlock requestCommands() const override { return requestCommands_; }
    CommandParserResult parse(ByteView data) override;
    const MountedInterfaces& mountedInterfaces() const { return mountedInterfaces_; }

private:
    MountedInterfaces mountedInterfaces_;
    ByteBlock requestCommands_ = MountedInterfaceInformationCommand::Orvo::request();
};

// Whether the printer supports one command: the request is ESC GS ) I pL pH 7F 00 00 and the command; the
// reply echoes the command after 7F and follows it with a result byte (00 or FF: not available).
class CommandAvailableInformationParser final : public CommandParser {
public:
    // The longest command whose parameter length still fits the request's 16-bit length field.
    static constexpr std::size_t kMaximumCommandLength = 0xFFFF - 3;

    // Raises an argument error for a command longer than kMaximumCommandLength.
    explicit CommandAvailableInformationParser(ByteBlock command);

    ByteBlock requestCommands() const override;
    // A complete frame covers the whole reply, up to the end its length field gives.
    CommandParserResult parse(ByteView data) override;
    const ByteBlock& command() const { return command_; }
    const std::optional<bool>& available() const { return available_; }

private:
    ByteBlock command_;
    std::optional<bool> available_;
};

}  // namespace Prelix10
