#include "prelix10/command/printer/Alignment.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

uint8_t alignmentByte(AlignmentType type) {
    switch (type) {
        case AlignmentType::Center:
            return 1;
        case AlignmentType::Right:
            return 2;
        default:
            return 0;
    }
}

// Alignment applies to a whole line, so a line already begun is ended first.
void endLineUnlessAtHead(ByteBuffer* buffer, PrintSettingsInformation* settings) {
    if (!settings->isLineHead) {
        buffer->add({0x0A});
        settings->isLineHead = true;
    }
}

}  // namespace

void Alignment::orvoCommon(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                           PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    endLineUnlessAtHead(buffer, settings);
    buffer->add({0x1B, 0x1D, 0x61, alignmentByte(type)});
    settings->alignment = type;
}

void Alignment::escposCommon(ByteBuffer* buffer, AlignmentType type, PrintSettingsInformation* settings,
                             PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    endLineUnlessAtHead(buffer, settings);
    buffer->add({0x1B, 0x61, alignmentByte(type)});
    settings->alignment = type;
}

void Alignment::orvoGraphic(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

void Alignment::orvoYalme1(ByteBuffer*, AlignmentType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
