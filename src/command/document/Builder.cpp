#include "command/document/Builder.hpp"

#include "command/document/SendRaw.hpp"

namespace PrinterCommandBuilder::Document {

void Builder::appendRaw(std::string content) {
    SendRaw::common(buffer_, content);
}

}  // namespace PrinterCommandBuilder::Document
