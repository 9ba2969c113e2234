#include "prelix10/command/printer/SettingCalculatePitch.hpp"

namespace PrinterCommandBuilder::Printer {

void SettingCalculatePitch::orvoCommon(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoDotImpact(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::escpos(ByteBuffer* buffer, PrintSettingsInformation*) {
    if (buffer) buffer->add({0x1D, 0x50, 0xB4, 0xB4});
}

void SettingCalculatePitch::escposMobile(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoGraphic(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoYalme1(ByteBuffer*, PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
