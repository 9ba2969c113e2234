#pragma once

#include <cstdint>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/StrConverter.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"

namespace PrinterCommandBuilder::Printer {

// Lays converted UTF-8 text into a field of a fixed number of character cells: cuts what does not
// fit (marking the cut with an ellipsis when asked), pads by the alignment and keeps trailing line feeds.
class WidthSpecifiedTextConverter {
  public:
    WidthSpecifiedTextConverter(const PrintSettingsInformation* settings, PrinterModel model);

    void convert(ByteBuffer* output, const std::vector<VelmarCommandParser::CharStruct>& characters,
                 TextWidthParameter widthParameter, bool& isLineHead) const;

    // True when the running sum of the character widths exceeds width (dots); false for no characters.
    bool isOverflow(int width, const std::vector<VelmarCommandParser::CharStruct>& characters) const;
    void append(ByteBuffer* output, const std::vector<uint8_t>& scratch, int width) const;
    void appendSpace(ByteBuffer* output, int count, TextWidthType type) const;
    void appendLf(ByteBuffer* output, int count) const;

    int halfCellDots() const { return halfCell_; }
    int fullCellDots() const { return fullCell_; }

  private:
    int widthOf(const VelmarCommandParser::CharStruct& character) const {
        return character.isHalfWidth ? halfCell_ : fullCell_;
    }

    const PrintSettingsInformation* settings_;
    int halfCell_ = 12;
    int fullCell_ = 24;
};

}  // namespace PrinterCommandBuilder::Printer
