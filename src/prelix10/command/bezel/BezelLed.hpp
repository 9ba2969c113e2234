#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Bezel LED automatic blink times.
class BezelLed {
  public:
    static void kestrin(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                        BezelSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Bezel
