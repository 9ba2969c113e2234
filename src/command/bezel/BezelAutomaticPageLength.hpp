#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Automatic page length on or off.
class BezelAutomaticPageLength {
  public:
    static void kestrin(ByteBuffer* buffer, bool enable, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Bezel
