#pragma once

#include "prelix10/command/bezel/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Bezel" category: automatic page length and LED blinking, for models with a bezel.
class BezelElementParser : public ElementParser {
  public:
    explicit BezelElementParser(PrinterCommandBuilder::Bezel::Builder* builder);
    ~BezelElementParser() override = default;
};

}  // namespace VelmarCommandParser
