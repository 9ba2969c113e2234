#pragma once

#include "prelix10/command/RootBuilder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The top-level "Document" category: document settings, and the device categories inside it.
class DocumentElementParser : public ElementParser {
  public:
    explicit DocumentElementParser(PrinterCommandBuilder::RootBuilder* root);
    ~DocumentElementParser() override = default;
};

}  // namespace VelmarCommandParser
