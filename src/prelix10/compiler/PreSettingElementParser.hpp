#pragma once

#include "prelix10/command/RootBuilder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The top-level "PreSetting" category: kiosk presenter and bezel settings.
class PreSettingElementParser : public ElementParser {
  public:
    explicit PreSettingElementParser(PrinterCommandBuilder::RootBuilder* root);
    ~PreSettingElementParser() override = default;
};

}  // namespace VelmarCommandParser
