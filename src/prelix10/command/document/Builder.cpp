#include "prelix10/command/document/Builder.hpp"

#include "prelix10/command/document/SendRaw.hpp"

namespace PrinterCommandBuilder::Document {

void Builder::appendRaw(std::string content) {
    SendRaw::common(buffer_, content);
}

}  // namespace PrinterCommandBuilder::Document
