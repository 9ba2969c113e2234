#include "prelix10/command/printer/BaseMagnification.hpp"

#include "prelix10/command/printer/CharacterSpace.hpp"
#include "prelix10/command/printer/LineSpace.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void BaseMagnification::orvoCommon(ByteBuffer* buffer, BaseMagnificationType type,
                                   PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    // Only the 300-dpi printers have the one-and-a-half base size.
    if (ModelChecker::getPrintResolution(model) != PrintResolution::Dpi300) return;
    uint8_t n = 0;
    switch (type) {
        case BaseMagnificationType::Standard:
            n = 0;
            break;
        case BaseMagnificationType::X1_5:
            n = 1;
            break;
        default:
            return;
    }
    buffer->add({0x1B, 0x1D, 0x29, 0x45, 0x02, 0x00, 0x30, n});
    settings->baseMagnification = type;
    // Character and line spacing are in dots of the base size, so they are sent again.
    CharacterSpace::orvoCommon(buffer, settings->characterSpace, settings, model);
    LineSpace::orvoCommon(buffer, static_cast<double>(settings->lineSpace), settings, model);
}

void BaseMagnification::orvoGraphic(ByteBuffer*, BaseMagnificationType, PrintSettingsInformation*,
                                    PrinterModel) {}

void BaseMagnification::orvoYalme1(ByteBuffer*, BaseMagnificationType, PrintSettingsInformation*,
                                   PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
