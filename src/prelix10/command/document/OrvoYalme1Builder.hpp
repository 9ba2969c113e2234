#pragma once

#include "prelix10/command/document/Builder.hpp"

namespace PrinterCommandBuilder::Document {

class OrvoYalme1Builder : public Builder {
  public:
    OrvoYalme1Builder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoYalme1Builder() override = default;

    void appendBlackMark(bool enable, bool second, BlackMarkPosition position) override;
    void appendLabel(bool enable, bool second) override;
    void appendHoldPrint(bool enable) override;
    void appendPrintableArea(double width) override;
    void appendTopMargin(int height) override;
};

}  // namespace PrinterCommandBuilder::Document
