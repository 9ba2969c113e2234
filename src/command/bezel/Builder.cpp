#include "command/bezel/Builder.hpp"

namespace PrinterCommandBuilder::Bezel {

void Builder::notifyRank(std::size_t) {}

}  // namespace PrinterCommandBuilder::Bezel
