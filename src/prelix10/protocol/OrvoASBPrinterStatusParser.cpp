#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"

namespace Prelix10 {

namespace {

int packedValue(std::uint8_t byte) { return ((byte >> 2) & 0x18) | ((byte >> 1) & 0x07); }
bool bit(std::uint8_t byte, int index) { return (byte >> index) & 0x01; }
std::size_t bigEndian16(ByteView data, std::size_t at) {
    return (static_cast<std::size_t>(data[at]) << 8) | data[at + 1];
}

std::shared_ptr<const OrvoPrinterStatus> decode(ByteView block, OrvoPrinterEmulation emulation) {
    const std::size_t n = block.size();
    OrvoPrinterStatus::Builder status;
    OrvoPrinterStatusDetailInternal::Builder detail;
    auto has = [&](std::size_t index) { return index < n; };
    auto method = [](bool set) { return set ? DrawerOpenedMethod::bitSet : DrawerOpenedMethod::bitClear; };

    if (has(1)) {
        const std::uint8_t b = block[1];
        detail.version = ((b >> 2) & 0x08) | ((b >> 1) & 0x07);
    }
    if (has(2)) {
        const std::uint8_t b = block[2];
        status.coverOpen = bit(b, 5);
        status.hasError = bit(b, 3);
        status.drawerOpenCloseSignal = bit(b, 2);
    }
    if (has(3)) {
        const std::uint8_t b = block[3];
        detail.printHeadOverTemperature = bit(b, 6);
        detail.unrecoverableError = bit(b, 5);
        detail.cutterError = bit(b, 3);
        detail.printHeadThermistorError = bit(b, emulation == OrvoPrinterEmulation::orvoGraphic ? 2 : 1);
    }
    if (has(4)) {
        const std::uint8_t b = block[4];
        detail.receiveBufferOverflow = bit(b, 6);
        detail.paperSeparatorError = bit(b, 3);
        detail.paperJamError = bit(b, 2);
        detail.voltageError = bit(b, 1);
    }
    if (has(5)) {
        const std::uint8_t b = block[5];
        detail.rollPositionError = bit(b, 5);
        status.paperEmpty = bit(b, 3);
        status.paperNearEmpty = bit(b, 2) || bit(b, 1);
    }
    if (has(6)) detail.paperPresent = bit(block[6], 1);
    if (has(7)) detail.etbCounter = packedValue(block[7]);
    if (has(9)) {
        const std::uint8_t b = block[9];
        detail.boardOverTemperature = bit(b, 6);
        detail.drawerOpenError = bit(b, 5);
        detail.flashAccessError = bit(b, 3);
        detail.eepromAccessError = bit(b, 2);
        detail.sramAccessError = bit(b, 1);
    }
    if (has(10)) {
        const std::uint8_t b = block[10];
        detail.boardThermistorError = bit(b, 6);
        detail.sensorAdjustmentError = bit(b, 5);
        detail.printUnitOpen = bit(b, 3);
    }
    if (has(11)) detail.connectedInterface = packedValue(block[11]);
    if (has(12)) {
        const std::uint8_t b = block[12];
        detail.drawer1OpenedMethod = method(bit(b, 6));
        detail.drawer1OpenCloseSignal = bit(b, 5);
        detail.drawer2OpenedMethod = method(bit(b, 3));
        detail.drawer2OpenCloseSignal = bit(b, 2);
        detail.externalDevice12Ready = !bit(b, 1);
    }
    if (has(13)) {
        const std::uint8_t b = block[13];
        detail.drawer3OpenedMethod = method(bit(b, 6));
        detail.drawer3OpenCloseSignal = bit(b, 5);
        detail.drawer4OpenedMethod = method(bit(b, 3));
        detail.drawer4OpenCloseSignal = bit(b, 2);
        detail.externalDevice34Ready = !bit(b, 1);
    }
    if (has(14)) {
        const std::uint8_t b = block[14];
        detail.externalDevice1Connected = bit(b, 6);
        detail.externalDevice2Connected = bit(b, 5);
        detail.externalDevice3Connected = bit(b, 3);
        detail.externalDevice4Connected = bit(b, 2);
    }
    if (has(15)) {
        const std::uint8_t b = block[15];
        detail.partsReplacementNotification = bit(b, 6);
        detail.cleaningNotification = bit(b, 5);
        detail.detectedPaperWidth = (b >> 1) & 0x07;
    }
    status.detailInternal = std::make_shared<const OrvoPrinterStatusDetailInternal>(detail);
    return std::make_shared<const OrvoPrinterStatus>(status);
}

}  // namespace

CommandParserResult BaseOrvoASBPrinterStatusParser::parseFrame(ByteView data) {
    const std::size_t c = data.size();
    if (c == 0) return CommandParserResult::needMoreData();
    if ((data[0] & 0x91) != 0x01) return CommandParserResult::invalid();
    const std::size_t n = static_cast<std::size_t>(packedValue(data[0]));
    // A block must hold both header bytes; a shorter length cannot be a frame.
    if (n < 2) return CommandParserResult::invalid();
    if (n > c) return CommandParserResult::needMoreData();

    ByteBlock item;
    std::size_t frameLength = n;
    if (data[1] & 0x80) {
        if (c < n + 2) return CommandParserResult::needMoreData();
        const std::size_t l = bigEndian16(data, n);
        if (l == 0) {
            frameLength = n + 2;
        } else {
            if (n + 2 + l > kLargestFrame) return CommandParserResult::invalid();
            if (n + 2 + l > c) return CommandParserResult::needMoreData();
            if (l == 1) return CommandParserResult::invalid();
            const std::size_t end = n + 2 + l;  // one past the frame
            std::size_t hit = 0;
            // The item's ":B" and its two length bytes must lie inside the frame.
            for (std::size_t p = n + 3; p + 3 < end; ++p) {
                if (data[p] == 0x3A && data[p + 1] == 0x42) {
                    hit = p;
                    break;
                }
            }
            if (hit == 0) return CommandParserResult::invalid();
            const std::size_t m = bigEndian16(data, hit + 2);
            if (hit + 4 + m > end) return CommandParserResult::invalid();
            item.assign(data.begin() + static_cast<std::ptrdiff_t>(hit + 4),
                        data.begin() + static_cast<std::ptrdiff_t>(hit + 4 + m));
            frameLength = end;
        }
    }
    status_ = decode(data.first(n), emulation_);
    // Each frame brings its own item, so a frame without one never repeats an earlier frame's reply.
    extensionData_ = std::move(item);
    return CommandParserResult::complete(0, static_cast<std::int64_t>(frameLength) - 1);
}

CommandParserResult BaseOrvoASBPrinterStatusParser::parse(ByteView data) {
    if (data.empty()) return CommandParserResult::needMoreData();
    const auto* conformer = dynamic_cast<const BaseOrvoASBPrinterStatusParserProtocol*>(this);
    const bool strict = conformer && conformer->isStrict();
    if (strict) return parseFrame(data);
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

}  // namespace Prelix10
