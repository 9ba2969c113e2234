#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Bezel LED mode from the stored blink times.
class LedMode {
  public:
    static void kestrin(ByteBuffer* buffer, PrinterModel model, BezelSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Bezel
