#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

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
