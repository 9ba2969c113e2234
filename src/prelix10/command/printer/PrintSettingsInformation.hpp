#pragma once

#include <cstdint>

#include "prelix10/command/Encode.hpp"
#include "prelix10/command/printer/PageModeAreaSize.hpp"
#include "prelix10/command/printer/PrinterTypes.hpp"
#include "prelix10/command/printer/SharedList.hpp"

namespace PrinterCommandBuilder::Printer {

// The style state of one nesting level of printer actions.
class PrintSettingsInformation {
  public:
    PrintSettingsInformation() = default;

    // Overwrites this fresh record with other, except isPageMode and isPageModeAreaSet.
    void copy(const PrintSettingsInformation& other);

    bool bold = false;
    bool underline = false;
    bool invert = false;
    FontType font = FontType::A;
    InternationalCharacterType internationalCharacter = InternationalCharacterType::Usa;
    AlignmentType alignment = AlignmentType::Left;
    double characterSpace = 0.0;
    std::int32_t lineSpace = 4;
    ExpansionRatioParam expansionRatio;
    VelmarCommandParser::Encode secondPriorityCharacterEncoding = VelmarCommandParser::Encode::CodePage;
    // Shared with the levels copied from this one until a level sets its own.
    SharedList<std::int32_t> horizontalTabPositions;
    SharedList<Encode> cjkCharacterPriority;
    AmbiguousCharacterWidthType ambiguousCharacterWidthType = AmbiguousCharacterWidthType::Half;
    BaseMagnificationType baseMagnification = BaseMagnificationType::Standard;
    bool isLineHead = true;
    bool isPageMode = false;
    PageModeAreaSize pageModeAreaSize;
    bool isPageModeAreaSet = false;
    PrintDirection printDirection = PrintDirection::LeftToRight;
};

}  // namespace PrinterCommandBuilder::Printer
