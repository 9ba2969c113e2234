#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

// Printable width, chosen from the model's list.
class PrintableArea {
  public:
    static void kestrin(ByteBuffer* buffer, double width, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, double width, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, double width, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, double width, PrinterModel model);
    static void escpos(ByteBuffer* buffer, double width, PrinterModel model);
    static void common(ByteBuffer* buffer, double width, PrinterModel model, double dotsPerMm);
};

}  // namespace PrinterCommandBuilder::Document
