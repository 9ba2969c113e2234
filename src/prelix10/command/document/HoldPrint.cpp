#include "prelix10/command/document/HoldPrint.hpp"

namespace PrinterCommandBuilder::Document {

void HoldPrint::orvoCommon(ByteBuffer* buffer, bool enable) {
    if (buffer == nullptr) return;
    buffer->add({0x1B, 0x16, 0x13, 0x00, 0x1B, 0x16, 0x14, static_cast<std::uint8_t>(enable ? 0x01 : 0x00)});
}

}  // namespace PrinterCommandBuilder::Document
