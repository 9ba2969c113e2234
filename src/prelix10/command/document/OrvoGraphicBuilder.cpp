#include "prelix10/command/document/OrvoGraphicBuilder.hpp"

#include "prelix10/command/document/PrintableArea.hpp"
#include "prelix10/command/document/TopMargin.hpp"

namespace PrinterCommandBuilder::Document {

void OrvoGraphicBuilder::appendBlackMark(bool, bool, BlackMarkPosition) {}

void OrvoGraphicBuilder::appendLabel(bool, bool) {}

void OrvoGraphicBuilder::appendHoldPrint(bool) {}

void OrvoGraphicBuilder::appendPrintableArea(double width) {
    PrintableArea::orvoGraphic(buffer_, width, model_);
}

void OrvoGraphicBuilder::appendTopMargin(int height) {
    TopMargin::orvoGraphic(buffer_, height);
}

void OrvoGraphicBuilder::notifyRank(std::size_t rank) {
    if (rank == 0)
        appendStartRasterMode();
    else
        appendEndRasterMode();
}

void OrvoGraphicBuilder::appendStartRasterMode() {
    buffer_->add(
        {0x1B, 0x2A, 0x72, 0x41, 0x1B, 0x2A, 0x72, 0x50, 0x30, 0x00, 0x1B, 0x2A, 0x72, 0x45, 0x31, 0x00});
}

void OrvoGraphicBuilder::appendEndRasterMode() {
    buffer_->add({0x1B, 0x2A, 0x72, 0x42});
}

}  // namespace PrinterCommandBuilder::Document
