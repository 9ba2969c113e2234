#pragma once

#include <string>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::Document {

// Raw bytes given as Base64 text, passed through unchanged.
class SendRaw {
  public:
    static void common(ByteBuffer* buffer, const std::string& content);
};

}  // namespace PrinterCommandBuilder::Document
