#include "prelix10/command/printer/Bold.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void Bold::orvoCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings,
                      PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    buffer->add({0x1B, static_cast<std::uint8_t>(enable ? 0x45 : 0x46)});
    settings->bold = enable;
}

void Bold::escposCommon(ByteBuffer* buffer, bool enable, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1B, 0x45, static_cast<std::uint8_t>(enable ? 1 : 0)});
    settings->bold = enable;
}

void Bold::orvoGraphic(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

void Bold::orvoYalme1(ByteBuffer*, bool, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
