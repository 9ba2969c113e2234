#include "command/document/HoldPrint.hpp"

namespace PrinterCommandBuilder::Document {

void HoldPrint::orvoCommon(ByteBuffer*, bool) {}

}  // namespace PrinterCommandBuilder::Document
