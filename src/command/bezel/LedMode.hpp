#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Bezel LED mode from the stored blink times.
class LedMode {
  public:
    static void kestrin(ByteBuffer* buffer, PrinterModel model, BezelSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Bezel
