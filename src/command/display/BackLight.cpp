#include "command/display/BackLight.hpp"

namespace PrinterCommandBuilder::Display {

void BackLight::orvoCommon(ByteBuffer*, bool) {}

void BackLight::kestrin(ByteBuffer*, bool) {}

void BackLight::orvoGraphic(ByteBuffer*, bool) {}

void BackLight::orvoLine(ByteBuffer*, bool) {}

void BackLight::orvoDotImpact(ByteBuffer*, bool) {}

void BackLight::orvoYalme1(ByteBuffer*, bool) {}

void BackLight::escpos(ByteBuffer*, bool) {}

void BackLight::escposMobile(ByteBuffer*, bool) {}

}  // namespace PrinterCommandBuilder::Display
