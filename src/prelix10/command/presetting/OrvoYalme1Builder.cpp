#include "prelix10/command/presetting/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {}  // namespace PrinterCommandBuilder::PreSetting
