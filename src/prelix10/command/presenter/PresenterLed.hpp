#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/presenter/PresenterSettingsInformation.hpp"

namespace PrinterCommandBuilder::Presenter {

// Presenter LED automatic blink times.
class PresenterLed {
  public:
    static void kestrin(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                        PresenterSettingsInformation* settings);
    static void orvoLine(ByteBuffer* buffer, LedType type, int onTime, int offTime, PrinterModel model,
                         PresenterSettingsInformation* settings);
};

}  // namespace PrinterCommandBuilder::Presenter
