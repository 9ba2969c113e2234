#include "compiler/PreSettingElementParser.hpp"

namespace VelmarCommandParser {

PreSettingElementParser::PreSettingElementParser(PrinterCommandBuilder::RootBuilder* root)
    : ElementParser(root ? root->getPreSettingBuilder() : nullptr, "PreSetting") {}

}  // namespace VelmarCommandParser
