#include "prelix10/command/drawer/EscposBuilder.hpp"

#include "prelix10/command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void EscposBuilder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::escpos(buffer_, channel, onTime, offTime);
}

}  // namespace PrinterCommandBuilder::Drawer
