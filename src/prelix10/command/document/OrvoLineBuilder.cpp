#include "prelix10/command/document/OrvoLineBuilder.hpp"

#include "prelix10/command/document/BlackMark.hpp"
#include "prelix10/command/document/HoldPrint.hpp"
#include "prelix10/command/document/PrintableArea.hpp"
#include "prelix10/command/document/TopMargin.hpp"

namespace PrinterCommandBuilder::Document {

void OrvoLineBuilder::appendBlackMark(bool enable, bool second, BlackMarkPosition position) {
    BlackMark::orvoLine(buffer_, enable, second, position);
}

void OrvoLineBuilder::appendLabel(bool, bool) {}

void OrvoLineBuilder::appendHoldPrint(bool enable) {
    HoldPrint::orvoCommon(buffer_, enable);
}

void OrvoLineBuilder::appendPrintableArea(double width) {
    PrintableArea::orvoLine(buffer_, width, model_);
}

void OrvoLineBuilder::appendTopMargin(int height) {
    TopMargin::orvoLine(buffer_, height);
}

}  // namespace PrinterCommandBuilder::Document
