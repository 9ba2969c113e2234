#pragma once

#include "prelix10/command/buzzer/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Buzzer" category: sounding an external buzzer, for models that have one.
class BuzzerElementParser : public ElementParser {
  public:
    explicit BuzzerElementParser(PrinterCommandBuilder::Buzzer::Builder* builder);
    ~BuzzerElementParser() override = default;
};

}  // namespace VelmarCommandParser
