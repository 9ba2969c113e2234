#include "command/printer/SettingCalculatePitch.hpp"

namespace PrinterCommandBuilder::Printer {

void SettingCalculatePitch::orvoCommon(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoDotImpact(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::escpos(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::escposMobile(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoGraphic(ByteBuffer*, PrintSettingsInformation*) {}

void SettingCalculatePitch::orvoYalme1(ByteBuffer*, PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
