#include "command/buzzer/Execute.hpp"

namespace PrinterCommandBuilder::Buzzer {

void Execute::orvoCommon(ByteBuffer*, BuzzerChannel, int, PrinterModel) {}

void Execute::escpos(ByteBuffer*, BuzzerChannel, int) {}

void Execute::escposMobile(ByteBuffer*, BuzzerChannel, int) {}

void Execute::orvoYalme1(ByteBuffer*, BuzzerChannel, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
