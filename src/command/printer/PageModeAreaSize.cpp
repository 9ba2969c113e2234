#include "command/printer/PageModeAreaSize.hpp"

namespace PrinterCommandBuilder::Printer {

bool PageModeAreaSize::isValid() const {
    if (type == AreaType::ElementBand) return width > 0.0 && height > 0.0;
    return width >= 3.0 && height >= 3.0;
}

PageModeAreaSize PageModeAreaSize::getUnion(const PageModeAreaSize&, PrintDirection, PrinterModel) const {
    return PageModeAreaSize();
}

}  // namespace PrinterCommandBuilder::Printer
