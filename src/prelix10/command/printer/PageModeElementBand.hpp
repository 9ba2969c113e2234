#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/printer/PageModeAreaSize.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"

namespace PrinterCommandBuilder::Printer {

// One element drawn in page mode (a picture, a line box, a round corner): a temporary area is
// opened around it, its dots go out as 24-row column bands, and the enclosing area is then set
// again and the print position moved past the element.
class PageModeElementBand {
  public:
    PageModeElementBand(ByteBuffer* buffer, PrintSettingsInformation* settings, PrinterModel model)
        : buffer_(buffer), settings_(settings), model_(model) {}

    // Opens the band around an element of width x height mm at (x, y) of the current area. False
    // when the band is not valid (the element lies outside the area or has no size); nothing
    // more is to be sent then.
    bool open(double x, double y, double width, double height);

    // Rows of the element inside the area, and how far its last band is moved down (in dots).
    int visibleRows() const { return visibleRows_; }
    int offsetRows() const { return offsetRows_; }

    // Sends visibleRows() rows in bands of 24: each band announces headerColumns columns and
    // sends `columns` of them, columnBits(band, column) giving the 24 dots of one column with the
    // top dot in bit 23. In the last band the dots are moved down by offsetRows(); with
    // cutLastBand only its remaining rows are kept first.
    template <typename ColumnBits>
    void sendBands(int columns, int headerColumns, bool cutLastBand, ColumnBits columnBits);

    // Sets the base magnification back, reopens the enclosing area and moves the print position
    // right and down by the given millimetres.
    void close(double right, double down);

  private:
    void appendHeader(std::vector<std::uint8_t>& out, int headerColumns) const;
    void appendFeed(std::vector<std::uint8_t>& out, int rows) const;

    ByteBuffer* buffer_;
    PrintSettingsInformation* settings_;
    PrinterModel model_;
    PrintSettingsInformation band_;
    PageModeAreaSize enclosingArea_;
    int visibleRows_ = 0;
    int offsetRows_ = 0;
    bool magnificationSwitched_ = false;
};

template <typename ColumnBits>
void PageModeElementBand::sendBands(int columns, int headerColumns, bool cutLastBand, ColumnBits columnBits) {
    if (visibleRows_ < 1) return;
    const int bands = (visibleRows_ + 23) / 24;
    const int lastRows = visibleRows_ - 24 * (bands - 1);
    const int shift = std::clamp(offsetRows_, 0, 24);
    std::vector<std::uint8_t> out;
    for (int band = 0; band < bands; ++band) {
        out.clear();
        appendHeader(out, headerColumns);
        const bool last = band == bands - 1;
        for (int column = 0; column < columns; ++column) {
            std::uint32_t bits = static_cast<std::uint32_t>(columnBits(band, column)) & 0xFFFFFFu;
            if (last) {
                if (cutLastBand) bits &= (0xFFFFFFu << (24 - lastRows)) & 0xFFFFFFu;
                bits = shift >= 24 ? 0 : bits >> shift;
            }
            out.push_back(static_cast<std::uint8_t>(bits >> 16));
            out.push_back(static_cast<std::uint8_t>(bits >> 8));
            out.push_back(static_cast<std::uint8_t>(bits));
        }
        // The feed before the last band only covers the rows that band adds, so that the last
        // band ends on the element's last row.
        appendFeed(out, bands >= 2 && band == bands - 2 ? lastRows : 24);
        buffer_->add(out);
        settings_->isLineHead = true;
    }
}

}  // namespace PrinterCommandBuilder::Printer
