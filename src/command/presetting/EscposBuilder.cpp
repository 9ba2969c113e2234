#include "command/presetting/EscposBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
