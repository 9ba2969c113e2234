#include "command/presetting/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
