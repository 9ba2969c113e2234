#include "command/display/Image.hpp"

namespace PrinterCommandBuilder::Display {

void Image::orvoCommon(ByteBuffer*, const std::string&, int, int) {}

void Image::kestrin(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoGraphic(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoLine(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoDotImpact(ByteBuffer*, const std::string&, int, int) {}

void Image::orvoYalme1(ByteBuffer*, const std::string&, int, int) {}

void Image::escpos(ByteBuffer*, const std::string&, int, int) {}

void Image::escposMobile(ByteBuffer*, const std::string&, int, int) {}

}  // namespace PrinterCommandBuilder::Display
