#include "prelix10/command/bezel/Builder.hpp"

namespace PrinterCommandBuilder::Bezel {

void Builder::notifyRank(std::size_t) {}

}  // namespace PrinterCommandBuilder::Bezel
