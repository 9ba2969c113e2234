#include "prelix10/command/presenter/Builder.hpp"

namespace PrinterCommandBuilder::Presenter {

void Builder::notifyRank(std::size_t) {}

}  // namespace PrinterCommandBuilder::Presenter
