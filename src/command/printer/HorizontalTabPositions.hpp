#pragma once

#include <vector>

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Horizontal tab stops, in characters.
class HorizontalTabPositions {
  public:
    static void kestrin(ByteBuffer* buffer, const std::vector<int>& positions,
                        PrintSettingsInformation* settings, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, const std::vector<int>& positions,
                         PrintSettingsInformation* settings, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, const std::vector<int>& positions,
                              PrintSettingsInformation* settings, PrinterModel model);
    static void escposCommon(ByteBuffer* buffer, const std::vector<int>& positions,
                             PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, const std::vector<int>& positions,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, const std::vector<int>& positions,
                           PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
