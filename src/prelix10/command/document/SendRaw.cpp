#include "prelix10/command/document/SendRaw.hpp"

#include "prelix10/command/StrUtil.hpp"

namespace PrinterCommandBuilder::Document {

void SendRaw::common(ByteBuffer* buffer, const std::string& content) {
    if (buffer == nullptr) return;
    VelmarCommandParser::StrUtil::decodeBase64(content, buffer);
}

}  // namespace PrinterCommandBuilder::Document
