#include "prelix10/compiler/PreSettingElementParser.hpp"

#include "prelix10/compiler/BezelElementParser.hpp"
#include "prelix10/compiler/PresenterElementParser.hpp"

namespace VelmarCommandParser {

// The category has no methods of its own; it holds the presenter and bezel categories.
PreSettingElementParser::PreSettingElementParser(PrinterCommandBuilder::RootBuilder* root)
    : ElementParser(root ? root->getPreSettingBuilder() : nullptr, "PreSetting") {
    if (root == nullptr) return;
    addOwnedChild(std::make_unique<PresenterElementParser>(root->getPresenterBuilder()));
    addOwnedChild(std::make_unique<BezelElementParser>(root->getBezelBuilder()));
}

}  // namespace VelmarCommandParser
