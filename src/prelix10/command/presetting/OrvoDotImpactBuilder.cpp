#include "prelix10/command/presetting/OrvoDotImpactBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
