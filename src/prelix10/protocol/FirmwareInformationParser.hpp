#pragma once

// The firmware-information request of the maker's emulations and its reply parsers. The reply is
// ESC # * , followed by an ASCII text that names the model and the firmware version, then LF NUL.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "prelix10/core/ModelDetectionInformation.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class FirmwareInformationCommand {
public:
    class Orvo {
    public:
        // ESC # * LF NUL.
        static ByteBlock request() { return {0x1B, 0x23, 0x2A, 0x0A, 0x00}; }
    };
    // No firmware-information request is defined for the mobile ESC/POS emulation.
    class EscPosMobile {};
};

// What a firmware parser supplies so that the base parser can find and decode a reply.
class FirmwareInformationParserProtocol {
public:
    virtual ~FirmwareInformationParserProtocol() = default;
    virtual ByteBlock firmwareInformationRequest() const = 0;
    virtual const std::shared_ptr<const ModelDetectionInformation>& internalInformation() const = 0;
    virtual const std::optional<std::string>& internalVersion() const = 0;
    // Decodes the text of one reply frame; false when it names no known model or has no readable version.
    // Nothing is stored unless it returns true.
    virtual bool decode(const std::string& text) = 0;
};

// The frame search of the firmware replies. An object of this class alone sends nothing and answers
// every parse with `invalid`; a parser that also supplies FirmwareInformationParserProtocol does the work.
class FirmwareInformationParser : public CommandParser {
public:
    ByteBlock requestCommands() const override;
    // A complete frame covers the whole reply, LF NUL included, so that taking it out of a receive buffer
    // leaves nothing of it behind.
    CommandParserResult parse(ByteView data) override;
};

// The firmware reply of the maker's emulations. The model comes from the whole text through the detector
// (the printer-model table's firmware-name detection); the version is what follows the one "Ver" of the
// text, or, for the dalix399, the text after its first two characters and after a following "J1", "T1"
// or "KR".
class OrvoFirmwareInformationParser final : public FirmwareInformationParser, public FirmwareInformationParserProtocol {
public:
    using ModelDetector = std::function<std::shared_ptr<ModelDetectionInformation>(const std::string& firmwareText)>;

    explicit OrvoFirmwareInformationParser(ModelDetector detector) : detector_(std::move(detector)) {}

    ByteBlock firmwareInformationRequest() const override { return FirmwareInformationCommand::Orvo::request(); }
    const std::shared_ptr<const ModelDetectionInformation>& internalInformation() const override {
        return internalInformation_;
    }
    const std::optional<std::string>& internalVersion() const override { return internalVersion_; }
    bool decode(const std::string& text) override;

private:
    ModelDetector detector_;
    std::shared_ptr<const ModelDetectionInformation> internalInformation_;
    std::optional<std::string> internalVersion_;
};

}  // namespace Prelix10
