#include "prelix10/command/printer/AmbiguousWidthType.hpp"

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void AmbiguousWidthType::orvoCommon(ByteBuffer* buffer, AmbiguousCharacterWidthType type,
                                    PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    if (type != AmbiguousCharacterWidthType::Half && type != AmbiguousCharacterWidthType::Full) return;
    // The mobile printers have no such command; the width still counts for the text layout.
    if (!CommonModelChecker::isMobile(model))
        buffer->add({0x1B, 0x1D, 0x29, 0x55, 0x02, 0x00, 0x40,
                     static_cast<std::uint8_t>(type == AmbiguousCharacterWidthType::Full ? 1 : 0)});
    settings->ambiguousCharacterWidthType = type;
}

void AmbiguousWidthType::orvoGraphic(ByteBuffer*, AmbiguousCharacterWidthType, PrintSettingsInformation*,
                                     PrinterModel) {}

void AmbiguousWidthType::orvoYalme1(ByteBuffer*, AmbiguousCharacterWidthType, PrintSettingsInformation*,
                                    PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
