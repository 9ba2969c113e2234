#include "command/printer/Pdf417.hpp"

namespace PrinterCommandBuilder::Printer {

void Pdf417::orvoCommon(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                        PrintSettingsInformation*, PrinterModel) {}

void Pdf417::escpos(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                    PrintSettingsInformation*) {}

void Pdf417::escposMobile(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                          PrintSettingsInformation*) {}

void Pdf417::orvoGraphic(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                         PrintSettingsInformation*) {}

void Pdf417::orvoDotImpact(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                           PrintSettingsInformation*) {}

void Pdf417::orvoYalme1(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                        PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
