#pragma once

#include "command/ByteBuffer.hpp"
#include "command/PrinterModel.hpp"
#include "command/presenter/PresenterSettingsInformation.hpp"

namespace PrinterCommandBuilder::Presenter {

// Presenter loop, hold and retract.
class PresenterMode {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool loop, bool hold, bool retract, int holdTime,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Presenter
