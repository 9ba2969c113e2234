#pragma once

#include <vector>

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/printer/PrintSettingsInformation.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// The order in which CJK encodings are tried.
class CjkPriority {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::vector<Encode>& priority,
                           PrintSettingsInformation* settings, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, const std::vector<Encode>& priority,
                            PrintSettingsInformation* settings, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, const std::vector<Encode>& priority,
                           PrintSettingsInformation* settings, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
