#pragma once

#include "command/RootBuilder.hpp"
#include "compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The top-level "PreSetting" category: kiosk presenter and bezel settings.
class PreSettingElementParser : public ElementParser {
  public:
    explicit PreSettingElementParser(PrinterCommandBuilder::RootBuilder* root);
    ~PreSettingElementParser() override = default;
};

}  // namespace VelmarCommandParser
