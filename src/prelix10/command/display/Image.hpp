#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/display/DisplaySettingsInformation.hpp"
#include "prelix10/command/display/DisplayTypes.hpp"

namespace PrinterCommandBuilder::Display {

// A 160 x 40 dot picture given as Base64 text.
class Image {
  public:
    static void orvoCommon(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void kestrin(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void orvoGraphic(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void orvoLine(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void orvoDotImpact(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void orvoYalme1(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void escpos(ByteBuffer* buffer, const std::string& source, int width, int height);
    static void escposMobile(ByteBuffer* buffer, const std::string& source, int width, int height);
};

}  // namespace PrinterCommandBuilder::Display
