#include "prelix10/command/printer/MethodChecker.hpp"

#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

bool MethodChecker::isSpecifyingPrintWidthSupported(PrinterModel model) {
    const int value = rawValue(model);
    return (value >= 15 && value <= 21) || value == 29;
}

bool MethodChecker::isSeparatorFeedSupported(PrinterModel model) {
    const int value = rawValue(model);
    return (value >= 3 && value <= 5) || (value >= 20 && value <= 27) || (value >= 30 && value <= 36);
}

bool MethodChecker::isValidInPageMode(const PrintSettingsInformation* settings, PrinterModel model,
                                      const MethodCheckCondition& condition) {
    if (settings == nullptr || !settings->isPageMode) return true;
    if (!ModelChecker::isPageModeSupported(model)) return false;
    if (condition.isBeginPageMode() || condition.isPageModeAreaSize()) return true;
    return settings->pageModeAreaSize.isValid();
}

}  // namespace PrinterCommandBuilder::Printer
