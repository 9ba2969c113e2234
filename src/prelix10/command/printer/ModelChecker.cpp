#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

bool ModelChecker::isPageModeSupported(PrinterModel model) {
    const int value = rawValue(model);
    return (value >= 15 && value <= 25) || value == 29;
}

PrintResolution ModelChecker::getPrintResolution(PrinterModel model) {
    return model == PrinterModel::Ginor_7 ? PrintResolution::Dpi300 : PrintResolution::Dpi203;
}

}  // namespace PrinterCommandBuilder::Printer
