#include "command/document/SendRaw.hpp"

namespace PrinterCommandBuilder::Document {

void SendRaw::common(ByteBuffer*, const std::string&) {}

}  // namespace PrinterCommandBuilder::Document
