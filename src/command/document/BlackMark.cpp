#include "command/document/BlackMark.hpp"

namespace PrinterCommandBuilder::Document {

void BlackMark::kestrin(ByteBuffer*, bool, bool, BlackMarkPosition) {}

void BlackMark::orvoLine(ByteBuffer*, bool, bool, BlackMarkPosition) {}

void BlackMark::orvoDotImpact(ByteBuffer*, bool, bool, BlackMarkPosition) {}

void BlackMark::escpos(ByteBuffer*, bool, bool, BlackMarkPosition) {}

}  // namespace PrinterCommandBuilder::Document
