#pragma once

#include <memory>
#include <vector>

#include "prelix10/command/printer/PrintSettingsInformation.hpp"

namespace PrinterCommandBuilder::Printer {

// One record per open nesting level; index 0 is the outermost, the last the current one.
using SettingsStack = std::vector<std::unique_ptr<PrintSettingsInformation>>;

}  // namespace PrinterCommandBuilder::Printer
