#pragma once

#include "prelix10/command/bezel/Builder.hpp"

namespace PrinterCommandBuilder::Bezel {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendAutomaticPageLength(bool enable) override;
    void appendLedMode() override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Bezel
