#include "prelix10/command/presetting/Builder.hpp"

namespace PrinterCommandBuilder::PreSetting {

void Builder::notifyRank(std::size_t) {}

}  // namespace PrinterCommandBuilder::PreSetting
