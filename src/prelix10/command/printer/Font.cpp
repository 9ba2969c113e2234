#include "prelix10/command/printer/Font.hpp"

#include "prelix10/command/printer/Bold.hpp"
#include "prelix10/command/printer/ExpansionRate.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/UnderLine.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

// Font B has its own byte; A and any type without an entry (C) use font A's.
uint8_t fontByte(FontType type) {
    return type == FontType::B ? 1 : 0;
}

}  // namespace

void Font::orvoCommon(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                      PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    buffer->add({0x1B, 0x1E, 0x46, fontByte(type)});
    settings->font = type;
}

void Font::orvoDotImpact(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                         PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    buffer->add({0x1B, static_cast<uint8_t>(type == FontType::B ? 0x50 : 0x4D)});
    settings->font = type;
}

void Font::escpos(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1B, 0x4D, fontByte(type)});
    settings->font = type;
}

void Font::escposMobile(ByteBuffer* buffer, FontType type, PrintSettingsInformation* settings,
                        PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    // ESC ! resets emphasis, size and underline on these printers, so they are sent again.
    buffer->add({0x1B, 0x21, fontByte(type)});
    settings->font = type;
    Bold::escposCommon(buffer, settings->bold, settings, model);
    ExpansionRate::escposCommon(buffer, settings->expansionRatio.width, settings->expansionRatio.height,
                                settings, model);
    UnderLine::escposMobile(buffer, settings->underline, settings, model);
}

void Font::orvoGraphic(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

void Font::orvoYalme1(ByteBuffer*, FontType, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
