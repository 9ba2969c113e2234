#include "prelix10/command/drawer/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::Drawer {

void EscposMobileBuilder::appendActionExecute(DrawerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Drawer
