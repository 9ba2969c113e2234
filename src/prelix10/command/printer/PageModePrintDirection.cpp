#include "prelix10/command/printer/PageModePrintDirection.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModePrintDirection::orvoCommon(ByteBuffer* buffer, PrintDirection direction,
                                        PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    std::uint8_t n = 0;
    switch (direction) {
        case PrintDirection::LeftToRight:
            n = 0;
            break;
        case PrintDirection::TopToBottom:
            n = 3;
            break;
        case PrintDirection::RightToLeft:
            n = 2;
            break;
        case PrintDirection::BottomToTop:
            n = 1;
            break;
        default:
            return;
    }
    buffer->add({0x1B, 0x1D, 0x50, 0x32, n});
    settings->printDirection = direction;
}

void PageModePrintDirection::orvoDotImpact(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                           PrinterModel) {}

void PageModePrintDirection::orvoGraphic(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                         PrinterModel) {}

void PageModePrintDirection::orvoYalme1(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                        PrinterModel) {}

void PageModePrintDirection::escposCommon(ByteBuffer*, PrintDirection, PrintSettingsInformation*,
                                          PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
