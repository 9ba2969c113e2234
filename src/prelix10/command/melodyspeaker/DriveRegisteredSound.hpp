#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/melodyspeaker/MelodySpeakerTypes.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// Play a sound registered in the speaker.
class DriveRegisteredSound {
  public:
    static void kestrin(ByteBuffer* buffer, Area area, int number, int volume, int reserved1, int reserved2,
                        int reserved3, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, Area area, int number, int volume, int reserved1,
                            int reserved2, int reserved3, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, Area area, int number, int volume, int reserved1, int reserved2,
                         int reserved3, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, Area area, int number, int volume, int reserved1,
                              int reserved2, int reserved3, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, Area area, int number, int volume, int reserved1,
                           int reserved2, int reserved3, PrinterModel model);
    static void escpos(ByteBuffer* buffer, Area area, int number, int volume, int reserved1, int reserved2,
                       int reserved3, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, Area area, int number, int volume, int reserved1,
                             int reserved2, int reserved3, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
