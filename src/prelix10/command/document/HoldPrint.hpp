#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Hold print on or off.
class HoldPrint {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool enable);
};

}  // namespace PrinterCommandBuilder::Document
