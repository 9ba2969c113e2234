#include "command/drawer/Execute.hpp"

namespace PrinterCommandBuilder::Drawer {

void Execute::kestrin(ByteBuffer*, DrawerChannel, int, int, PrinterModel) {}

void Execute::orvoCommon(ByteBuffer*, DrawerChannel, int, int) {}

void Execute::escpos(ByteBuffer*, DrawerChannel, int, int) {}

void Execute::escposMobile(ByteBuffer*, DrawerChannel, int, int) {}

void Execute::orvoYalme1(ByteBuffer*, DrawerChannel, int, int) {}

}  // namespace PrinterCommandBuilder::Drawer
