#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/melodyspeaker/MelodySpeakerTypes.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// Play a wave file carried as Base64 text.
class DriveOneTimeSound {
  public:
    static void kestrin(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void orvoLine(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void orvoDotImpact(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void escpos(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
    static void escposMobile(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel model);
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
