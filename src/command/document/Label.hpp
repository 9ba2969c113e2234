#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Label paper on or off.
class Label {
  public:
    static void kestrin(ByteBuffer* buffer, bool enable, bool second, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Document
