#pragma once

#include "prelix10/command/bezel/Builder.hpp"

namespace PrinterCommandBuilder::Bezel {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;

    void appendAutomaticPageLength(bool enable) override;
    void appendLedMode() override;
    void appendLedAutomaticBlink(LedType type, int onTime, int offTime) override;
};

}  // namespace PrinterCommandBuilder::Bezel
