#include "prelix10/command/printer/PrintSettingsInformation.hpp"

namespace PrinterCommandBuilder::Printer {

void PrintSettingsInformation::copy(const PrintSettingsInformation& other) {
    bold = other.bold;
    underline = other.underline;
    invert = other.invert;
    font = other.font;
    internationalCharacter = other.internationalCharacter;
    alignment = other.alignment;
    characterSpace = other.characterSpace;
    lineSpace = other.lineSpace;
    expansionRatio = other.expansionRatio;
    secondPriorityCharacterEncoding = other.secondPriorityCharacterEncoding;
    horizontalTabPositions = other.horizontalTabPositions;
    cjkCharacterPriority = other.cjkCharacterPriority;
    ambiguousCharacterWidthType = other.ambiguousCharacterWidthType;
    baseMagnification = other.baseMagnification;
    isLineHead = other.isLineHead;
    pageModeAreaSize = other.pageModeAreaSize;
    printDirection = other.printDirection;
}

}  // namespace PrinterCommandBuilder::Printer
