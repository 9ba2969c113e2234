#pragma once

#include <string>

#include "prelix10/command/BaseBuilder.hpp"
#include "prelix10/command/document/DocumentTypes.hpp"

namespace PrinterCommandBuilder::Document {

class Builder : public BaseBuilder {
  public:
    Builder(ByteBuffer* buffer, PrinterModel model) : BaseBuilder(buffer, model) {}
    ~Builder() override = default;

    virtual void appendBlackMark(bool enable, bool second, BlackMarkPosition position) = 0;
    virtual void appendLabel(bool enable, bool second) = 0;
    virtual void appendHoldPrint(bool enable) = 0;
    virtual void appendPrintableArea(double width) = 0;
    virtual void appendTopMargin(int height) = 0;
    // Raw bytes given as Base64 text, the same in every emulation.
    void appendRaw(std::string content);
};

}  // namespace PrinterCommandBuilder::Document
