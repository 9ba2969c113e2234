#pragma once

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/bezel/BezelSettingsInformation.hpp"

namespace PrinterCommandBuilder::Bezel {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    // Ranks change nothing for this device.
    void notifyRank(std::size_t rank) override;
    virtual void appendAutomaticPageLength(bool enable) = 0;
    virtual void appendLedMode() = 0;
    virtual void appendLedAutomaticBlink(LedType type, int onTime, int offTime) = 0;

  protected:
    BezelSettingsInformation bezelSettings_;
};

}  // namespace PrinterCommandBuilder::Bezel
