#include "prelix10/command/document/OrvoYalme1Builder.hpp"

namespace PrinterCommandBuilder::Document {

void OrvoYalme1Builder::appendBlackMark(bool, bool, BlackMarkPosition) {}

void OrvoYalme1Builder::appendLabel(bool, bool) {}

void OrvoYalme1Builder::appendHoldPrint(bool) {}

void OrvoYalme1Builder::appendPrintableArea(double) {}

void OrvoYalme1Builder::appendTopMargin(int) {}

}  // namespace PrinterCommandBuilder::Document
