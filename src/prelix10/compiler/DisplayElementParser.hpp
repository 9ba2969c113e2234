#pragma once

#include "prelix10/command/display/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Display" category: customer display methods, for models that have a display.
class DisplayElementParser : public ElementParser {
  public:
    explicit DisplayElementParser(PrinterCommandBuilder::Display::Builder* builder);
    ~DisplayElementParser() override = default;
};

}  // namespace VelmarCommandParser
