#pragma once

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/presenter/PresenterSettingsInformation.hpp"

namespace PrinterCommandBuilder::Presenter {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    // Ranks change nothing for this device.
    void notifyRank(std::size_t rank) override;
    virtual void appendMode(bool loop, bool hold, bool retract, int holdTime) = 0;
    virtual void appendLedAutomaticBlink(LedType type, int onTime, int offTime) = 0;
    virtual void appendLedMode() = 0;

  protected:
    PresenterSettingsInformation presenterSettings_;
};

}  // namespace PrinterCommandBuilder::Presenter
