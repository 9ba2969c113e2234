#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

// Automatic page length on or off.
class BezelAutomaticPageLength {
  public:
    static void kestrin(ByteBuffer* buffer, bool enable, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Bezel
