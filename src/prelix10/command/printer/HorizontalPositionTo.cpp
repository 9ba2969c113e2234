#include "prelix10/command/printer/HorizontalPositionTo.hpp"

#include "prelix10/command/printer/HorizontalPositionBy.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

// Back to the left margin, then a relative move of the same millimetres.
bool pagePrinterStart(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return false;
    }
    buffer->add({0x1B, 0x1D, 0x41, 0x00, 0x00});
    settings->isLineHead = false;
    return true;
}

}  // namespace

void HorizontalPositionTo::kestrin(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                   PrinterModel model) {
    if (pagePrinterStart(buffer, settings, model)) HorizontalPositionBy::kestrin(buffer, mm, settings, model);
}

void HorizontalPositionTo::orvoLine(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                    PrinterModel model) {
    if (pagePrinterStart(buffer, settings, model))
        HorizontalPositionBy::orvoLine(buffer, mm, settings, model);
}

void HorizontalPositionTo::orvoDotImpact(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                         PrinterModel model) {
    if (pagePrinterStart(buffer, settings, model))
        HorizontalPositionBy::orvoDotImpact(buffer, mm, settings, model);
}

void HorizontalPositionTo::escposCommon(ByteBuffer* buffer, double mm, PrintSettingsInformation* settings,
                                        PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    buffer->add({0x1B, 0x24, 0x00, 0x00});
    settings->isLineHead = false;
    HorizontalPositionBy::escposCommon(buffer, mm, settings, model);
}

void HorizontalPositionTo::orvoGraphic(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

void HorizontalPositionTo::orvoYalme1(ByteBuffer*, double, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
