#include "prelix10/command/printer/Builder.hpp"

#include "prelix10/command/CommonModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

PrintSettingsInformation* Builder::currentSettings() const {
    if (settingsStack_ == nullptr || settingsStack_->empty()) return nullptr;
    return settingsStack_->back().get();
}

PrintSettingsInformation* Builder::enclosingSettings() const {
    if (settingsStack_ == nullptr || settingsStack_->size() < 2) return nullptr;
    return (*settingsStack_)[settingsStack_->size() - 2].get();
}

void Builder::notifyRank(std::size_t rank) {
    if (settingsStack_ == nullptr) return;
    auto& stack = *settingsStack_;
    if (stack.size() == rank) return;
    while (stack.size() < rank) {
        auto record = std::make_unique<PrintSettingsInformation>();
        if (!stack.empty()) {
            record->copy(*stack.back());
            stack.push_back(std::move(record));
        } else {
            stack.push_back(std::move(record));
            appendDefaultSetting();
        }
    }
    while (stack.size() > rank) {
        PrintSettingsInformation* current = stack.back().get();
        if (stack.size() == 1) {
            PrintSettingsInformation fresh;
            restoreSettings(&fresh, current);
        } else {
            restoreSettings(stack[stack.size() - 2].get(), current);
        }
        stack.pop_back();
    }
}

void Builder::appendDefaultSetting() {
    if (!CommonModelChecker::isSupportedPrinter(model_)) return;
    appendCalculatePitch();
    appendTextDecorationSecondPriorityCharacterEncoding(VelmarCommandParser::Encode::CodePage);
    appendTextDecorationInternationalCharacter(InternationalCharacterType::Usa);
    std::vector<int> stops;
    for (int stop = 8; stop <= 248; stop += 8) stops.push_back(stop);
    appendTextDecorationHorizontalTabPositions(stops);
    appendTextDecorationAmbiguousCharacterWidthType(AmbiguousCharacterWidthType::Half);
}

void Builder::restoreSettings(PrintSettingsInformation* target, PrintSettingsInformation* current) {
    if (target == nullptr || current == nullptr) return;
    if (target->alignment != current->alignment) appendAlignment(target->alignment);
    if (target->bold != current->bold) appendTextDecorationBold(target->bold);
    if (target->characterSpace != current->characterSpace)
        appendTextDecorationCharacterSpace(target->characterSpace);
    if (target->cjkCharacterPriority != current->cjkCharacterPriority)
        appendTextDecorationCjkCharacterPriority(target->cjkCharacterPriority);
    if (target->ambiguousCharacterWidthType != current->ambiguousCharacterWidthType)
        appendTextDecorationAmbiguousCharacterWidthType(target->ambiguousCharacterWidthType);
    if (target->font != current->font) appendTextDecorationFont(target->font);
    if (target->horizontalTabPositions != current->horizontalTabPositions)
        appendTextDecorationHorizontalTabPositions(target->horizontalTabPositions);
    if (target->invert != current->invert) appendTextDecorationInvert(target->invert);
    if (target->lineSpace != current->lineSpace)
        appendTextDecorationLineSpace(static_cast<double>(target->lineSpace));
    if (target->underline != current->underline) appendTextDecorationUnderLine(target->underline);
    if (target->internationalCharacter != current->internationalCharacter)
        appendTextDecorationInternationalCharacter(target->internationalCharacter);
    if (!target->expansionRatio.compare(current->expansionRatio))
        appendTextDecorationExpansionRate(target->expansionRatio.width, target->expansionRatio.height);
    if (target->baseMagnification != current->baseMagnification)
        appendDecorationBaseMagnification(target->baseMagnification);
    // What the closing level left on the printer stays there: the line position, and the
    // second-priority encoding, which is never sent back. The enclosing level takes both, so
    // that its text is converted for the encoding the printer is really in.
    target->isLineHead = current->isLineHead;
    target->secondPriorityCharacterEncoding = current->secondPriorityCharacterEncoding;
}

}  // namespace PrinterCommandBuilder::Printer
