#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

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
