#include "command/document/Label.hpp"

namespace PrinterCommandBuilder::Document {

void Label::kestrin(ByteBuffer*, bool, bool, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Document
