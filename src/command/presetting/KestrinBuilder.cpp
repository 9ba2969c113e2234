#include "command/presetting/KestrinBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
