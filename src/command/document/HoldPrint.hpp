#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Hold print on or off.
class HoldPrint {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool enable);
};

}  // namespace PrinterCommandBuilder::Document
