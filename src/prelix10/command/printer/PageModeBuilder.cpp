#include "prelix10/command/printer/PageModeBuilder.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

void PageModeBuilder::notifyRank(std::size_t rank) {
    if (settingsStack_ == nullptr) return;
    auto& stack = *settingsStack_;
    if (stack.size() == rank) return;
    while (stack.size() < rank) {
        // Page-mode levels always lie inside a printer level.
        if (stack.empty()) return;
        auto record = std::make_unique<PrintSettingsInformation>();
        record->copy(*stack.back());
        record->isPageMode = true;
        applySetting(*record, *stack.back());
        stack.push_back(std::move(record));
    }
    while (stack.size() > rank && stack.size() > 1) {
        restoreSettings(stack[stack.size() - 2].get(), stack.back().get());
        stack.pop_back();
    }
}

void PageModeBuilder::applySetting(const PrintSettingsInformation& entering,
                                   PrintSettingsInformation& outer) {
    MethodCheckCondition condition;
    condition.setIsBeginPageMode(true);
    if (!MethodChecker::isValidInPageMode(&entering, model_, condition)) return;
    if (!outer.isPageMode) {
        if (!entering.isLineHead) appendText("\n", TextWidthParameter{});
        beginPageMode();
    }
    // A nested page-mode level is already inside page mode: it begins nothing, but its style is
    // sent again like that of the outermost level.
    appendTextDecorationBold(entering.bold);
    appendTextDecorationCharacterSpace(entering.characterSpace);
    appendTextDecorationCjkCharacterPriority(entering.cjkCharacterPriority);
    appendTextDecorationFont(entering.font);
    appendTextDecorationHorizontalTabPositions(entering.horizontalTabPositions);
    appendTextDecorationInvert(entering.invert);
    appendTextDecorationLineSpace(static_cast<double>(entering.lineSpace));
    appendTextDecorationUnderLine(entering.underline);
    appendTextDecorationInternationalCharacter(entering.internationalCharacter);
    appendTextDecorationExpansionRate(entering.expansionRatio.width, entering.expansionRatio.height);
}

void PageModeBuilder::restoreSettings(PrintSettingsInformation* target, PrintSettingsInformation* current) {
    if (target == nullptr || current == nullptr) return;
    if (target->isPageMode) {
        if (current->isPageModeAreaSet) {
            const auto& area = target->pageModeAreaSize;
            appendArea(area.x, area.y, area.width, area.height);
        }
        if (target->printDirection != current->printDirection) stylePrintDirection(target->printDirection);
        Builder::restoreSettings(target, current);
        return;
    }
    endPageMode(current->pageModeAreaSize.isValid());
    stylePrintDirection(PrintDirection::LeftToRight);
    Builder::restoreSettings(target, current);
    // Page mode ended (with a line feed before it began, when needed): the print position is at
    // the head of a line, whatever the closing level recorded. Where page mode sent nothing, the
    // position is the one the closing level kept.
    if (emitsPageMode() && ModelChecker::isPageModeSupported(model_)) target->isLineHead = true;
}

}  // namespace PrinterCommandBuilder::Printer
