#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Black-mark paper on or off.
class BlackMark {
  public:
    static void kestrin(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position);
    static void orvoLine(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position);
    static void orvoDotImpact(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position);
    static void escpos(ByteBuffer* buffer, bool enable, bool second, BlackMarkPosition position);
};

}  // namespace PrinterCommandBuilder::Document
