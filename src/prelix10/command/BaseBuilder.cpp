#include "prelix10/command/BaseBuilder.hpp"

namespace PrinterCommandBuilder {

void BaseBuilder::notifyRank(std::size_t) {}

}  // namespace PrinterCommandBuilder
