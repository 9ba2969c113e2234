#include "prelix10/command/document/KestrinBuilder.hpp"

#include "prelix10/command/document/BlackMark.hpp"
#include "prelix10/command/document/HoldPrint.hpp"
#include "prelix10/command/document/Label.hpp"
#include "prelix10/command/document/PrintableArea.hpp"
#include "prelix10/command/document/TopMargin.hpp"

namespace PrinterCommandBuilder::Document {

void KestrinBuilder::appendBlackMark(bool enable, bool second, BlackMarkPosition position) {
    BlackMark::kestrin(buffer_, enable, second, position);
}

void KestrinBuilder::appendLabel(bool enable, bool second) {
    Label::kestrin(buffer_, enable, second, model_);
}

void KestrinBuilder::appendHoldPrint(bool enable) {
    HoldPrint::orvoCommon(buffer_, enable);
}

void KestrinBuilder::appendPrintableArea(double width) {
    PrintableArea::kestrin(buffer_, width, model_);
}

void KestrinBuilder::appendTopMargin(int height) {
    TopMargin::kestrin(buffer_, height, model_);
}

}  // namespace PrinterCommandBuilder::Document
