#include "command/display/Converter.hpp"

namespace PrinterCommandBuilder::Display {

void Converter::savePrinterCommand(const char*, std::size_t, ByteBuffer*) {}

void Converter::savePrinterCommand(ByteBuffer*, ByteBuffer*) {}

}  // namespace PrinterCommandBuilder::Display
