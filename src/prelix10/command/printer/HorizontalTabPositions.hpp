#pragma once

#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

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
