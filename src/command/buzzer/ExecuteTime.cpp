#include "command/buzzer/ExecuteTime.hpp"

namespace PrinterCommandBuilder::Buzzer {

void ExecuteTime::orvoCommon(ByteBuffer*, BuzzerChannel, int, int, PrinterModel) {}

void ExecuteTime::escpos(ByteBuffer*, BuzzerChannel, int, int) {}

void ExecuteTime::escposMobile(ByteBuffer*, BuzzerChannel, int, int) {}

void ExecuteTime::orvoYalme1(ByteBuffer*, BuzzerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Buzzer
