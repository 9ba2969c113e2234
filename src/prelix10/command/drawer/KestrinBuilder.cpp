#include "prelix10/command/drawer/KestrinBuilder.hpp"

#include "prelix10/command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void KestrinBuilder::appendActionExecute(DrawerChannel channel, int onTime, int offTime) {
    Execute::kestrin(buffer_, channel, onTime, offTime, model_);
}

}  // namespace PrinterCommandBuilder::Drawer
