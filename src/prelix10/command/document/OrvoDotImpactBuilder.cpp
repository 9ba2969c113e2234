#include "prelix10/command/document/OrvoDotImpactBuilder.hpp"

#include "prelix10/command/document/BlackMark.hpp"
#include "prelix10/command/document/PrintableArea.hpp"

namespace PrinterCommandBuilder::Document {

void OrvoDotImpactBuilder::appendBlackMark(bool enable, bool second, BlackMarkPosition position) {
    BlackMark::orvoDotImpact(buffer_, enable, second, position);
}

void OrvoDotImpactBuilder::appendLabel(bool, bool) {}

void OrvoDotImpactBuilder::appendHoldPrint(bool) {}

void OrvoDotImpactBuilder::appendPrintableArea(double width) {
    PrintableArea::orvoDotImpact(buffer_, width, model_);
}

void OrvoDotImpactBuilder::appendTopMargin(int) {}

}  // namespace PrinterCommandBuilder::Document
