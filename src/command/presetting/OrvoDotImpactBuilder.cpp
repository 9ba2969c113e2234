#include "command/presetting/OrvoDotImpactBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
