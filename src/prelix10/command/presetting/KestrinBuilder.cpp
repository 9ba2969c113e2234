#include "prelix10/command/presetting/KestrinBuilder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
