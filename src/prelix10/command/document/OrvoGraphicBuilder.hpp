#pragma once

#include "prelix10/command/document/Builder.hpp"

namespace PrinterCommandBuilder::Document {

class OrvoGraphicBuilder : public Builder {
  public:
    OrvoGraphicBuilder(ByteBuffer* buffer, PrinterModel model) : Builder(buffer, model) {}
    ~OrvoGraphicBuilder() override = default;

    // Rank 0 opens a top-level document element (raster mode starts); any other rank closes it.
    void notifyRank(std::size_t rank) override;
    void appendStartRasterMode();
    void appendEndRasterMode();

    void appendBlackMark(bool enable, bool second, BlackMarkPosition position) override;
    void appendLabel(bool enable, bool second) override;
    void appendHoldPrint(bool enable) override;
    void appendPrintableArea(double width) override;
    void appendTopMargin(int height) override;
};

}  // namespace PrinterCommandBuilder::Document
