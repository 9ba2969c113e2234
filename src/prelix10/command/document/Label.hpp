#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Label paper on or off.
class Label {
  public:
    static void kestrin(ByteBuffer* buffer, bool enable, bool second, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Document
