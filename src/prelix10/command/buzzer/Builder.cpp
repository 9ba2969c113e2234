#include "prelix10/command/buzzer/Builder.hpp"

namespace PrinterCommandBuilder::Buzzer {}  // namespace PrinterCommandBuilder::Buzzer
