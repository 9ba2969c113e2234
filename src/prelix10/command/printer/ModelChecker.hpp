#pragma once

#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

class ModelChecker {
  public:
    static bool isPageModeSupported(PrinterModel model);
    static PrintResolution getPrintResolution(PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Printer
