#include "prelix10/command/printer/LineFeed.hpp"

#include <algorithm>

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void LineFeed::orvoCommon(ByteBuffer* buffer, int count, PrintSettingsInformation* settings,
                          PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    buffer->add({0x1B, 0x61, static_cast<uint8_t>(std::clamp(count, 0, 127))});
    settings->isLineHead = true;
}

void LineFeed::orvoGraphic(ByteBuffer*, int, PrintSettingsInformation* settings, PrinterModel) {
    if (settings != nullptr) settings->isLineHead = true;
}

void LineFeed::escposCommon(ByteBuffer* buffer, int count, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1B, 0x64, static_cast<uint8_t>(std::clamp(count, 0, 255))});
    settings->isLineHead = true;
}

void LineFeed::orvoYalme1(ByteBuffer*, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
