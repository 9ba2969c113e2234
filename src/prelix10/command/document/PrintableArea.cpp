#include "prelix10/command/document/PrintableArea.hpp"

#include "prelix10/command/PrintableAreaTable.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Document {

namespace {

constexpr double dotsPerMm203 = 8.0;
constexpr double dotsPerMm300 = 300.0 / 25.4;
constexpr double dotsPerMmDotImpact = 3.334;

}  // namespace

void PrintableArea::kestrin(ByteBuffer* buffer, double width, PrinterModel model) {
    const bool dpi300 = Printer::ModelChecker::getPrintResolution(model) == Printer::PrintResolution::Dpi300;
    common(buffer, width, model, dpi300 ? dotsPerMm300 : dotsPerMm203);
}

void PrintableArea::orvoLine(ByteBuffer* buffer, double width, PrinterModel model) {
    common(buffer, width, model, dotsPerMm203);
}

void PrintableArea::orvoDotImpact(ByteBuffer* buffer, double width, PrinterModel model) {
    common(buffer, width, model, dotsPerMmDotImpact);
}

void PrintableArea::orvoGraphic(ByteBuffer* buffer, double width, PrinterModel model) {
    common(buffer, width, model, dotsPerMm203);
}

void PrintableArea::escpos(ByteBuffer* buffer, double width, PrinterModel model) {
    common(buffer, width, model, dotsPerMm203);
}

void PrintableArea::common(ByteBuffer* buffer, double width, PrinterModel model, double dotsPerMm) {
    if (buffer == nullptr) return;
    const auto code =
        PrintableAreaTable::chooseCode(model, Printer::MathUtil::saturateToInt32(width * dotsPerMm));
    if (!code) return;
    buffer->add({0x1B, 0x1E, 0x41, *code});
}

}  // namespace PrinterCommandBuilder::Document
