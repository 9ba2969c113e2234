#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Bezel LED automatic blink times.
class BezelLed {
  public:
    static void kestrin(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                        BezelSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Bezel
