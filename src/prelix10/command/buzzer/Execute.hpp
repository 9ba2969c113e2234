#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/buzzer/BuzzerTypes.hpp"

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
