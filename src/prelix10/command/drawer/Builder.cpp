#include "prelix10/command/drawer/Builder.hpp"

namespace PrinterCommandBuilder::Drawer {}  // namespace PrinterCommandBuilder::Drawer
