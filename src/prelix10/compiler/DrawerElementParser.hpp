#pragma once

#include "prelix10/command/drawer/Builder.hpp"
#include "prelix10/compiler/ElementParser.hpp"

namespace VelmarCommandParser {

// The "Drawer" category: opening a cash drawer, for models that have one.
class DrawerElementParser : public ElementParser {
  public:
    explicit DrawerElementParser(PrinterCommandBuilder::Drawer::Builder* builder);
    ~DrawerElementParser() override = default;
};

}  // namespace VelmarCommandParser
