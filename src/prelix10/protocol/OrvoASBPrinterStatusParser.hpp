#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10 {

class BaseOrvoASBPrinterStatusParserProtocol {
public:
    virtual ~BaseOrvoASBPrinterStatusParserProtocol() = default;
    virtual bool isStrict() const = 0;
};

// The automatic status block of the maker's emulations: header 1 (frame test and block length n), header 2
// (extension flag and version), status bytes, and an optional extension carrying a ":B" item.
class BaseOrvoASBPrinterStatusParser : public CommandParser {
public:
    // The longest frame a port can ever hold: its receive buffers keep at most this many bytes. A header
    // that announces more is no frame, since waiting for the rest would hold up every frame behind it.
    static constexpr std::size_t kLargestFrame = 65535;

    explicit BaseOrvoASBPrinterStatusParser(OrvoPrinterEmulation emulation, ByteBlock requestCommands = {})
        : requestCommands_(std::move(requestCommands)), emulation_(emulation) {}

    ByteBlock requestCommands() const override { return requestCommands_; }
    void setRequestCommands(ByteBlock bytes) { requestCommands_ = std::move(bytes); }
    CommandParserResult parse(ByteView data) override;

    // Set by each complete parse.
    const std::shared_ptr<const OrvoPrinterStatus>& status() const { return status_; }
    // The ":B" item of the last frame decoded, empty when that frame carried none.
    const std::optional<ByteBlock>& extensionData() const { return extensionData_; }
    OrvoPrinterEmulation emulation() const { return emulation_; }

    // One frame test at the start of the view; on complete the range is relative to the view.
    CommandParserResult parseFrame(ByteView data);

private:
    ByteBlock requestCommands_;
    std::shared_ptr<const OrvoPrinterStatus> status_;
    std::optional<ByteBlock> extensionData_;
    OrvoPrinterEmulation emulation_;
};

class OrvoASBPrinterStatusStrictParser final : public BaseOrvoASBPrinterStatusParser,
                                                public BaseOrvoASBPrinterStatusParserProtocol {
public:
    using BaseOrvoASBPrinterStatusParser::BaseOrvoASBPrinterStatusParser;
    bool isStrict() const override { return true; }
};

class OrvoASBPrinterStatusNonStrictParser final : public BaseOrvoASBPrinterStatusParser,
                                                   public BaseOrvoASBPrinterStatusParserProtocol {
public:
    using BaseOrvoASBPrinterStatusParser::BaseOrvoASBPrinterStatusParser;
    bool isStrict() const override { return false; }
};

}  // namespace Prelix10
