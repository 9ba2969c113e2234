#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder {

namespace {
bool between(PrinterModel model, int low, int high) {
    const int value = rawValue(model);
    return value >= low && value <= high;
}
}  // namespace

bool CommonModelChecker::isSupportedPrinter(PrinterModel model) {
    return between(model, 1, 36);
}
bool CommonModelChecker::isSupportedDrawer(PrinterModel model) {
    return between(model, 1, 38);
}
bool CommonModelChecker::isSupportedBuzzer(PrinterModel model) {
    return between(model, 1, 37);
}
bool CommonModelChecker::isSupportedMelodySpeaker(PrinterModel model) {
    const int value = rawValue(model);
    return value == 15 || value == 16 || value == 19 || value == 21;
}
bool CommonModelChecker::isSupportedDisplay(PrinterModel model) {
    return between(model, 14, 21);
}
bool CommonModelChecker::isSupportedPresenter(PrinterModel model) {
    return between(model, 32, 36);
}
bool CommonModelChecker::isSupportedBezel(PrinterModel model) {
    const int value = rawValue(model);
    return value == 33 || value == 34 || value == 36;
}
bool CommonModelChecker::isMobile(PrinterModel model) {
    return between(model, 22, 27);
}
bool CommonModelChecker::isTamrelPundo(PrinterModel model) {
    return between(model, 33, 36);
}

}  // namespace PrinterCommandBuilder
