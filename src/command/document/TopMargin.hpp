#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Top margin.
class TopMargin {
  public:
    static void kestrin(ByteBuffer* buffer, int height, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, int height);
    static void orvoCommon(ByteBuffer* buffer, int height);
    static void orvoGraphic(ByteBuffer* buffer, int height);
};

}  // namespace PrinterCommandBuilder::Document
