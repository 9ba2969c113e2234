#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/presenter/PresenterSettingsInformation.hpp"

namespace PrinterCommandBuilder::Presenter {

// Presenter LED mode from the stored blink times.
class LedMode {
  public:
    static void kestrin(ByteBuffer* buffer, PrinterModel model, PresenterSettingsInformation* settings);
    static void orvoLine(ByteBuffer* buffer, PrinterModel model, PresenterSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Presenter
