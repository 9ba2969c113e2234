#pragma once

#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/MethodCheckCondition.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"

namespace PrinterCommandBuilder::Printer {

class MethodChecker {
  public:
    static bool isSpecifyingPrintWidthSupported(PrinterModel model);
    static bool isSeparatorFeedSupported(PrinterModel model);
    // Whether a command may be emitted in the record's state: always outside page mode; in page
    // mode only on a model with page mode and with a valid area (unless the condition waives it).
    static bool isValidInPageMode(const PrintSettingsInformation* settings, PrinterModel model,
                                  const MethodCheckCondition& condition);
};

}  // namespace PrinterCommandBuilder::Printer
