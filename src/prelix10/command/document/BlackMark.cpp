#include "prelix10/command/document/BlackMark.hpp"

namespace PrinterCommandBuilder::Document {

namespace {

std::uint8_t modeByte(bool enable, bool second) {
    return second ? 0x02 : (enable ? 0x01 : 0x00);
}

bool isKnown(BlackMarkPosition position) {
    return position == BlackMarkPosition::Front || position == BlackMarkPosition::Back;
}

}  // namespace

void BlackMark::kestrin(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position) {
    if (buffer == nullptr || !isKnown(position)) return;
    const std::uint8_t m = modeByte(enable, second);
    const std::uint8_t p = position == BlackMarkPosition::Back ? 0x02 : 0x00;
    buffer->add({0x1B, 0x1E, 0x7A, m, 0x1B, 0x1E, 0x6D, m, p});
}

void BlackMark::orvoLine(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition) {
    if (buffer == nullptr) return;
    buffer->add({0x1B, 0x1E, 0x6D, modeByte(enable, second)});
}

void BlackMark::orvoDotImpact(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position) {
    orvoLine(buffer, enable, second, position);
}

void BlackMark::escpos(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position) {
    if (buffer == nullptr || !isKnown(position)) return;
    buffer->add({0x1B, 0x1E, 0x6D, modeByte(enable, second)});
}

}  // namespace PrinterCommandBuilder::Document
