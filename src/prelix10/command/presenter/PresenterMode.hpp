#pragma once

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/presenter/PresenterSettingsInformation.hpp"

namespace PrinterCommandBuilder::Presenter {

// Presenter loop, hold and retract.
class PresenterMode {
  public:
    static void orvoCommon(ByteBuffer* buffer, bool loop, bool hold, bool retract, int holdTime,
                           PrinterModel model);
};

}  // namespace PrinterCommandBuilder::Presenter
