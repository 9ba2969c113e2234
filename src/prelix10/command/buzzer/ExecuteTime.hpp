#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/buzzer/BuzzerTypes.hpp"

namespace PrinterCommandBuilder::Buzzer {

// Buzzer on and off times.
class ExecuteTime {
  public:
    static void orvoCommon(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime,
                           PrinterModel model);
    static void escpos(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime);
    static void escposMobile(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime);
    static void orvoYalme1(ByteBuffer* buffer, BuzzerChannel channel, int onTime, int offTime);
};

}  // namespace PrinterCommandBuilder::Buzzer
