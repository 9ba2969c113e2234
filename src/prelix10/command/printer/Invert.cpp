#include "prelix10/command/printer/Invert.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void Invert::orvoCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                        PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    buffer->add({0x1B, static_cast<uint8_t>(enable ? 0x34 : 0x35)});
    settings->invert = enable;
}

void Invert::escposCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1D, 0x42, static_cast<uint8_t>(enable ? 1 : 0)});
    settings->invert = enable;
}

void Invert::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Invert::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
