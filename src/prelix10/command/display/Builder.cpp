#include "prelix10/command/display/Builder.hpp"

namespace PrinterCommandBuilder::Display {}  // namespace PrinterCommandBuilder::Display
