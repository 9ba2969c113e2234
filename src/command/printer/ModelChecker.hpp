#pragma once

#include "command/PrinterModel.hpp"
#include "command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

class ModelChecker {
  public:
    static bool isPageModeSupported(PrinterModel model);
    static PrintResolution getPrintResolution(PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
