#include "command/document/TopMargin.hpp"

namespace PrinterCommandBuilder::Document {

void TopMargin::kestrin(ByteBuffer*, int, PrinterModel) {}

void TopMargin::orvoLine(ByteBuffer*, int) {}

void TopMargin::orvoCommon(ByteBuffer*, int) {}

void TopMargin::orvoGraphic(ByteBuffer*, int) {}

}  // namespace PrinterCommandBuilder::Document
