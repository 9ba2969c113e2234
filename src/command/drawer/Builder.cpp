#include "command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {}  // namespace PrinterCommandBuilder::Drawer
