#include "command/document/PrintableArea.hpp"

namespace PrinterCommandBuilder::Document {

void PrintableArea::kestrin(ByteBuffer*, double, PrinterModel) {}

void PrintableArea::orvoLine(ByteBuffer*, double, PrinterModel) {}

void PrintableArea::orvoDotImpact(ByteBuffer*, double, PrinterModel) {}

void PrintableArea::orvoGraphic(ByteBuffer*, double, PrinterModel) {}

void PrintableArea::escpos(ByteBuffer*, double, PrinterModel) {}

void PrintableArea::common(ByteBuffer*, double, PrinterModel, double) {}

}  // namespace PrinterCommandBuilder::Document
