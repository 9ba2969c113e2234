#include "prelix10/command/document/EscposMobileBuilder.hpp"

namespace PrinterCommandBuilder::Document {

void EscposMobileBuilder::appendBlackMark(bool, bool, BlackMarkPosition) {}

void EscposMobileBuilder::appendLabel(bool, bool) {}

void EscposMobileBuilder::appendHoldPrint(bool) {}

void EscposMobileBuilder::appendPrintableArea(double) {}

void EscposMobileBuilder::appendTopMargin(int) {}

}  // namespace PrinterCommandBuilder::Document
