#include "prelix10/command/printer/UnderLine.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void UnderLine::orvoCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                           PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    buffer->add({0x1B, 0x2D, static_cast<uint8_t>(enable ? 1 : 0)});
    settings->underline = enable;
}

void UnderLine::escpos(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const auto n = static_cast<uint8_t>(enable ? 2 : 0);
    // The second command sets the underline of the multi-byte characters.
    buffer->add({0x1B, 0x2D, n, 0x1C, 0x2D, n});
    settings->underline = enable;
}

void UnderLine::escposMobile(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                             PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1B, 0x2D, static_cast<uint8_t>(enable ? 2 : 0)});
    settings->underline = enable;
}

void UnderLine::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void UnderLine::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
