#include "prelix10/protocol/StatusReplyParsers.hpp"

#include "prelix10/protocol/PrinterStatusCommand.hpp"

namespace Prelix10 {

namespace {

bool bit(std::uint8_t byte, int index) { return (byte >> index) & 0x01; }

std::shared_ptr<const OrvoPrinterStatus> build(OrvoPrinterStatus::Builder& status,
                                               const OrvoPrinterStatusDetailInternal::Builder& detail) {
    status.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    return std::make_shared<const OrvoPrinterStatus>(status);
}

}  // namespace

CommandParserResult OrvoEOTPrinterStatusParser::parse(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    const std::uint8_t b = data[0];
    if ((b & 0x11) != 0x10) return CommandParserResult::invalid();
    OrvoPrinterStatus::Builder status;
    OrvoPrinterStatusDetailInternal::Builder detail;
    detail.paperSeparatorError = bit(b, 1);
    detail.paperJamError = bit(b, 6);
    status.paperNearEmpty = (b & 0x24) != 0;
    status.paperEmpty = bit(b, 3);
    status.drawerOpenCloseSignal = bit(b, 7);
    status.coverOpen = false;
    status.hasError = bit(b, 1) || bit(b, 3) || bit(b, 6);
    status_ = build(status, detail);
    return CommandParserResult::complete(0, 0);
}

CommandParserResult BaseEscPosASBPrinterStatusParser::parseFrame(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    if ((data[0] & 0x93) != 0x10) return CommandParserResult::invalid();
    if (data.size() < 4) return CommandParserResult::needMoreData();
    for (std::size_t i = 1; i < 4; ++i) {
        if ((data[i] & 0x90) != 0) return CommandParserResult::invalid();
    }
    OrvoPrinterStatus::Builder status;
    OrvoPrinterStatusDetailInternal::Builder detail;
    status.drawerOpenCloseSignal = bit(data[0], 2);
    status.hasError = bit(data[0], 3);
    status.coverOpen = bit(data[0], 5);
    detail.paperSeparatorError = bit(data[1], 2);
    detail.cutterError = bit(data[1], 3);
    detail.unrecoverableError = bit(data[1], 5);
    status.paperNearEmpty = (data[2] & 0x03) == 0x03;
    status.paperEmpty = (data[2] & 0x0C) == 0x0C;
    status_ = build(status, detail);
    return CommandParserResult::complete(0, 3);
}

CommandParserResult BaseEscPosASBPrinterStatusParser::parse(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    const auto* conformer = dynamic_cast<const BaseEscPosASBPrinterStatusParserProtocol*>(this);
    if (conformer && conformer->isStrict()) return parseFrame(data);
    for (std::size_t position = 0; position < data.size(); ++position) {
        CommandParserResult result = parseFrame(data.subspan(position));
        if (result.state == CommandParserState::invalid) continue;
        if (result.state == CommandParserState::complete) {
            result.lowerIndex += static_cast<std::int64_t>(position);
            result.upperIndex += static_cast<std::int64_t>(position);
        }
        return result;
    }
    return CommandParserResult::needMoreData();
}

ByteBlock EscPosPrinterStatusParser::requestCommands() const { return PrinterStatusCommand::EscPos::statusRequest(); }

CommandParserResult EscPosPrinterStatusParser::parse(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    for (std::size_t i = 0; i < 3; ++i) {
        if (i >= data.size()) return CommandParserResult::needMoreData();
        const std::uint8_t b = data[i];
        if ((b & 0x93) != 0x12) return CommandParserResult::invalid();
        OrvoPrinterStatus::Builder status = status_ ? OrvoPrinterStatus::Builder(*status_) : OrvoPrinterStatus::Builder();
        OrvoPrinterStatusDetailInternal::Builder detail(*status.detailInternal);
        switch (i) {
            case 0:
                status.drawerOpenCloseSignal = bit(b, 2);
                status.hasError = bit(b, 3);
                break;
            case 1:
                status.coverOpen = bit(b, 2);
                detail.unrecoverableError = bit(b, 6);
                break;
            default:
                status.paperNearEmpty = bit(b, 3);
                status.paperEmpty = bit(b, 6);
                break;
        }
        status_ = build(status, detail);
    }
    return CommandParserResult::complete(0, 2);
}

CommandParserResult EscPosMobilePrinterStatusParser::parse(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    const std::uint8_t b = data[0];
    if ((b & 0x30) != 0x30) return CommandParserResult::invalid();
    OrvoPrinterStatus::Builder status;
    OrvoPrinterStatusDetailInternal::Builder detail;
    status.paperEmpty = bit(b, 0);
    status.coverOpen = bit(b, 1);
    status.hasError = bit(b, 0) || bit(b, 1);
    status.drawerOpenCloseSignal = false;
    status.paperNearEmpty = false;
    status_ = build(status, detail);
    return CommandParserResult::complete(0, 0);
}

CommandParserResult OrvoOriginalETBCounterParser::parse(ByteView data) {
    if (data.size() < 8) return CommandParserResult::needMoreData();
    for (std::size_t i = 0; i + 8 <= data.size(); ++i) {
        if (data[i] == 0x1B && data[i + 1] == 0x1D && data[i + 2] == 0x03 && (data[i + 3] == 0x00 || data[i + 3] == 0x01) &&
            data[i + 4] == 0x00 && data[i + 5] == 0x00 && data[i + 7] == 0x00) {
            etbCounter_ = data[i + 6];
            return CommandParserResult::complete(static_cast<std::int64_t>(i), static_cast<std::int64_t>(i) + 7);
        }
    }
    return CommandParserResult::needMoreData();
}

}  // namespace Prelix10
