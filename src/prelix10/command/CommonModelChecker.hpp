#pragma once

#include "prelix10/command/PrinterModel.hpp"

namespace PrinterCommandBuilder {

// Which devices a model has.
class CommonModelChecker {
  public:
    static bool isSupportedPrinter(PrinterModel model);
    static bool isSupportedDrawer(PrinterModel model);
    static bool isSupportedBuzzer(PrinterModel model);
    static bool isSupportedMelodySpeaker(PrinterModel model);
    static bool isSupportedDisplay(PrinterModel model);
    static bool isSupportedPresenter(PrinterModel model);
    static bool isSupportedBezel(PrinterModel model);
    static bool isMobile(PrinterModel model);
    static bool isTamrelPundo(PrinterModel model);
};

}  // namespace PrinterCommandBuilder
