#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/buzzer/BuzzerTypes.hpp"

namespace PrinterCommandBuilder::Buzzer {

// Sound the buzzer a number of times.
class Execute {
  public:
    static void orvoCommon(ByteBuffer* buffer, BuzzerChannel channel, int repeat, PrinterModel model);
    static void escpos(ByteBuffer* buffer, BuzzerChannel channel, int repeat);
    static void escposMobile(ByteBuffer* buffer, BuzzerChannel channel, int repeat);
    static void orvoYalme1(ByteBuffer* buffer, BuzzerChannel channel, int repeat);
};

}  // namespace PrinterCommandBuilder::Buzzer
