#pragma once

#include "prelix10/command/printer/Builder.hpp"

namespace PrinterCommandBuilder::Printer {

// The page-mode device: entering a level switches the printer into page mode and sends the
// style again; leaving it ends page mode or restores the enclosing area and direction.
class PageModeBuilder : public virtual Builder {
  public:
    PageModeBuilder(ByteBuffer* buffer, PrinterModel model, SettingsStack* settingsStack)
        : Builder(buffer, model, settingsStack) {}
    ~PageModeBuilder() override = default;

    virtual void beginPageMode() = 0;
    virtual void endPageMode(bool areaValid) = 0;
    virtual void stylePrintDirection(PrintDirection direction) = 0;
    virtual void styleVerticalPositionBy(double mm) = 0;
    virtual void styleVerticalPositionTo(double mm) = 0;
    virtual void appendRuledLine(double x1, double y1, double x2, double y2, double thickness,
                                 LineStyle lineStyle) = 0;
    virtual void appendRectangle(double x, double y, double width, double height, double thickness,
                                 LineStyle lineStyle, bool roundCorner, double cornerRadius) = 0;
    virtual void appendImage(std::string_view source, double x, double y, int width, int height) = 0;
    void notifyRank(std::size_t rank) override;
    // Whether this emulation's page-mode operations send anything; false for the emulations
    // without page mode, whose every page-mode operation is empty.
    virtual bool emitsPageMode() const { return true; }

    using Builder::appendImage;
    using Builder::appendRuledLine;

    ByteBuffer* getBuffer() const { return buffer_; }

    void applySetting(const PrintSettingsInformation& entering, PrintSettingsInformation& outer);
    void restoreSettings(PrintSettingsInformation* target, PrintSettingsInformation* current);
};

}  // namespace PrinterCommandBuilder::Printer
