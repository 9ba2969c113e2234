#include "prelix10/command/document/EscposBuilder.hpp"

#include "prelix10/command/document/BlackMark.hpp"
#include "prelix10/command/document/PrintableArea.hpp"

namespace PrinterCommandBuilder::Document {

void EscposBuilder::appendBlackMark(bool enable, bool second, BlackMarkPosition position) {
    BlackMark::escpos(buffer_, enable, second, position);
}

void EscposBuilder::appendLabel(bool, bool) {}

void EscposBuilder::appendHoldPrint(bool) {}

void EscposBuilder::appendPrintableArea(double width) {
    PrintableArea::escpos(buffer_, width, model_);
}

void EscposBuilder::appendTopMargin(int) {}

}  // namespace PrinterCommandBuilder::Document
