#include <gtest/gtest.h>

#include "TestHex.hpp"
#include "prelix10/command/BuilderFactory.hpp"
#include "compiler/RecordingBuilders.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;
using TestHex::hex;

namespace {

const std::string kEscposDefaults =
    "1D 50 B4 B4 1C 2E 1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 "
    "C0 C8 "
    "D0 D8 E0 E8 F0 F8 00";

struct Tree {
    explicit Tree(const char* emulation, PrinterModel model = PrinterModel::Harlo599KZ)
        : root(BuilderFactory(emulation, &buffer, model).create()), printer(root->getPrinterBuilder()) {}
    // The bytes appended since the last call.
    std::string take() {
        const auto all = buffer.toVector();
        const std::vector<std::uint8_t> fresh(all.begin() + static_cast<std::ptrdiff_t>(emitted), all.end());
        emitted = all.size();
        return hex(fresh);
    }
    ByteBuffer buffer;
    std::unique_ptr<RootBuilder> root;
    Builder* printer;
    std::uint64_t emitted = 0;
};

}  // namespace

TEST(PrintSettingsStack, FirstPushSendsDefaultsOnce) {
    Tree tree("EscPos");
    tree.printer->notifyRank(3);
    EXPECT_EQ(tree.take(), kEscposDefaults);
    ASSERT_EQ(tree.root->settingsStack().size(), 3u);
    // The upper levels are copies of the first as the defaults left it.
    EXPECT_EQ(tree.root->settingsStack()[2]->horizontalTabPositions.size(), 31u);
    EXPECT_EQ(tree.root->settingsStack()[2]->secondPriorityCharacterEncoding,
              VelmarCommandParser::Encode::CodePage);
    tree.printer->notifyRank(3);
    EXPECT_EQ(tree.take(), "");
    // Popping the last record compares it with a fresh one: the default tab stops go back to none.
    tree.printer->notifyRank(0);
    EXPECT_EQ(tree.take(), "1B 44 00");
    EXPECT_TRUE(tree.root->settingsStack().empty());
}

TEST(PrintSettingsStack, NestedBoldIsUndoneLevelByLevel) {
    Tree tree("EscPos");
    tree.printer->notifyRank(1);
    tree.take();
    tree.printer->notifyRank(2);
    tree.printer->appendTextDecorationBold(true);
    tree.printer->notifyRank(3);
    tree.printer->appendTextDecorationHorizontalTabPositions({4});
    EXPECT_EQ(tree.take(), "1B 45 01 1B 44 04 00");
    // 3 -> 1: level 3 against 2 restores the tab stops, level 2 against 1 the bold.
    tree.printer->notifyRank(1);
    EXPECT_EQ(tree.take(),
              "1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 C0 C8 D0 D8 E0 E8 "
              "F0 F8 00 "
              "1B 45 00");
}

TEST(PrintSettingsStack, RestoreOrderAndValues) {
    ByteBuffer buffer;
    Recording::Log log;
    SettingsStack stack;
    Recording::PrinterRecorder recorder(&buffer, PrinterModel::Harlo599KZ, &stack, &log, "P",
                                        Recording::PrinterRecorder::Stack::printer);
    recorder.notifyRank(1);
    EXPECT_EQ(log, (Recording::Log{
                       "P.rank(1)", "P.appendCalculatePitch()",
                       "P.appendTextDecorationSecondPriorityCharacterEncoding(4)",
                       "P.appendTextDecorationInternationalCharacter(0)",
                       "P.appendTextDecorationHorizontalTabPositions(8 16 24 32 40 48 56 64 72 80 88 96 104 "
                       "112 120 128 136 144 152 160 168 176 184 192 200 208 216 224 232 240 248)",
                       "P.appendTextDecorationAmbiguousCharacterWidthType(0)"}));
    stack[0]->lineSpace = 4;  // a creator stores 4.7 mm as 4
    stack[0]->alignment = AlignmentType::Right;
    recorder.notifyRank(2);
    stack[1]->lineSpace = 3;
    stack[1]->secondPriorityCharacterEncoding = VelmarCommandParser::Encode::Japanese;
    stack[1]->bold = true;
    stack[1]->underline = true;
    stack[1]->expansionRatio = ExpansionRatioParam(2, 3);
    stack[1]->baseMagnification = BaseMagnificationType::X1_5;
    stack[1]->isLineHead = false;
    log.clear();
    recorder.notifyRank(1);
    const Recording::Log expected = {
        "P.rank(1)",
        "P.appendTextDecorationBold(0)",
        "P.appendTextDecorationLineSpace(4)",
        "P.appendTextDecorationUnderLine(0)",
        "P.appendTextDecorationExpansionRate(1,1)",
        "P.appendDecorationBaseMagnification(0)",
    };
    EXPECT_EQ(log, expected);
    // The second-priority encoding is not sent back: it stays in force on the printer, and the
    // outer level takes it, as it takes the line position.
    EXPECT_EQ(stack[0]->secondPriorityCharacterEncoding, VelmarCommandParser::Encode::Japanese);
    EXPECT_FALSE(stack[0]->isLineHead);
    log.clear();
    recorder.notifyRank(0);
    // Popping the last record compares it with a fresh one (the recorder keeps no tab stops).
    EXPECT_EQ(log, (Recording::Log{"P.rank(0)", "P.appendAlignment(0)"}));
}

TEST(PrintSettingsStack, ModelsWithoutPrinterGetNoDefaults) {
    for (auto model : {PrinterModel::Unknown, PrinterModel::Fenur_Qel, PrinterModel::Yalme1}) {
        Tree tree("EscPos", model);
        tree.printer->notifyRank(1);
        EXPECT_EQ(tree.take(), "") << rawValue(model);
    }
}

TEST(PrintSettingsStack, DefaultsPerEmulation) {
    struct Case {
        const char* emulation;
        std::string prefix;
    } cases[] = {
        {"EscPos", kEscposDefaults},
        {"EscPosMobile",
         "1C 43 00 1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 C0 C8 "
         "D0 D8 "
         "E0 E8 F0 F8 00"},
        {"Kestrin",
         "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00"},
        {"OrvoLine",
         "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 00 1B 1D 29 55 02 00 40 00"},
        {"OrvoDot",
         "1B 52 00 1B 44 08 10 18 20 28 30 38 40 48 50 58 60 68 70 78 80 88 90 98 A0 A8 B0 B8 C0 C8 D0 D8 E0 "
         "E8 F0 "
         "F8 00"},
        {"OrvoGraphic", ""},
        {"OrvoYalme1", ""},
    };
    for (const auto& c : cases) {
        Tree tree(c.emulation);
        tree.printer->notifyRank(1);
        EXPECT_EQ(tree.take(), c.prefix) << c.emulation;
        tree.printer->appendArea(0, 0, 72, 100);
        EXPECT_EQ(tree.take(), "") << c.emulation;
    }
}

TEST(PrintSettingsStack, DisplayEmulationPrintsNothing) {
    Tree tree("OrvoYalme1");
    tree.printer->notifyRank(2);
    tree.printer->appendTextDecorationBold(true);
    tree.printer->appendText("abc\n", TextWidthParameter{});
    tree.printer->appendCut(CutType::Full);
    tree.printer->appendLineFeed(3);
    tree.printer->notifyRank(0);
    EXPECT_EQ(tree.take(), "");
}

TEST(PrintSettingsStack, PageModeLevels) {
    using Stack = Recording::PrinterRecorder::Stack;
    ByteBuffer buffer;
    Recording::Log log;
    SettingsStack stack;
    Recording::PrinterRecorder printer(&buffer, PrinterModel::Harlo599KZ, &stack, &log, "P", Stack::printer);
    Recording::PrinterRecorder pageMode(&buffer, PrinterModel::Harlo599KZ, &stack, &log, "M",
                                        Stack::pageMode);
    printer.notifyRank(1);
    stack[0]->isLineHead = false;
    stack[0]->bold = true;
    log.clear();
    pageMode.notifyRank(3);
    const Recording::Log opened = {
        "M.rank(3)",
        "M.appendText(\n)",
        "M.beginPageMode()",
        "M.appendTextDecorationBold(1)",
        "M.appendTextDecorationCharacterSpace(0)",
        "M.appendTextDecorationCjkCharacterPriority()",
        "M.appendTextDecorationFont(0)",
        "M.appendTextDecorationHorizontalTabPositions()",
        "M.appendTextDecorationInvert(0)",
        "M.appendTextDecorationLineSpace(4)",
        "M.appendTextDecorationUnderLine(0)",
        "M.appendTextDecorationInternationalCharacter(0)",
        "M.appendTextDecorationExpansionRate(1,1)",
        // The second page-mode level lies inside page mode already: no second begin, the style again.
        "M.appendTextDecorationBold(1)",
        "M.appendTextDecorationCharacterSpace(0)",
        "M.appendTextDecorationCjkCharacterPriority()",
        "M.appendTextDecorationFont(0)",
        "M.appendTextDecorationHorizontalTabPositions()",
        "M.appendTextDecorationInvert(0)",
        "M.appendTextDecorationLineSpace(4)",
        "M.appendTextDecorationUnderLine(0)",
        "M.appendTextDecorationInternationalCharacter(0)",
        "M.appendTextDecorationExpansionRate(1,1)",
    };
    EXPECT_EQ(log, opened);
    ASSERT_EQ(stack.size(), 3u);
    EXPECT_TRUE(stack[1]->isPageMode && stack[2]->isPageMode);

    stack[2]->isPageModeAreaSet = true;
    stack[1]->pageModeAreaSize = PageModeAreaSize(AreaType::Page, 1, 2, 30, 40);
    stack[2]->printDirection = PrintDirection::TopToBottom;
    log.clear();
    pageMode.notifyRank(2);
    EXPECT_EQ(log, (Recording::Log{"M.rank(2)", "M.appendArea(1,2,30,40)", "M.stylePrintDirection(0)"}));

    stack[1]->isLineHead = false;
    log.clear();
    pageMode.notifyRank(0);
    EXPECT_EQ(log, (Recording::Log{"M.rank(0)", "M.endPageMode(1)", "M.stylePrintDirection(0)"}));
    ASSERT_EQ(stack.size(), 1u);
    // After the page is printed the position is at the head of a line, whatever the closing level said.
    EXPECT_TRUE(stack[0]->isLineHead);
}

TEST(PrintSettingsStack, PageModeOnAModelWithoutIt) {
    using Stack = Recording::PrinterRecorder::Stack;
    ByteBuffer buffer;
    Recording::Log log;
    SettingsStack stack;
    Recording::PrinterRecorder printer(&buffer, PrinterModel::Kelto59, &stack, &log, "P", Stack::printer);
    Recording::PrinterRecorder pageMode(&buffer, PrinterModel::Kelto59, &stack, &log, "M", Stack::pageMode);
    printer.notifyRank(1);
    log.clear();
    pageMode.notifyRank(2);
    EXPECT_EQ(log, (Recording::Log{"M.rank(2)"}));
    EXPECT_EQ(stack.size(), 2u);
    pageMode.notifyRank(1);
    EXPECT_EQ(stack.size(), 1u);
}

TEST(PrintSettingsStack, NestedLevelsShareTheListsTheyInherit) {
    for (const char* emulation : {"EscPos", "Kestrin"}) {
        SCOPED_TRACE(emulation);
        Tree tree(emulation);
        tree.printer->notifyRank(1);
        std::vector<int> stops(5000, 1);
        tree.printer->appendTextDecorationHorizontalTabPositions(stops);
        tree.printer->appendTextDecorationCjkCharacterPriority(std::vector<Encode>(5000, Encode::Korean));
        tree.take();
        tree.printer->notifyRank(500);
        // Page-mode levels stack on the printer levels and send the inherited style again.
        tree.root->getPrinterPageModeBuilder()->notifyRank(1000);
        const auto& stack = tree.root->settingsStack();
        ASSERT_EQ(stack.size(), 1000u);
        for (const auto& record : stack) {
            EXPECT_TRUE(record->horizontalTabPositions.sharesStorageWith(stack[0]->horizontalTabPositions));
            EXPECT_TRUE(record->cjkCharacterPriority.sharesStorageWith(stack[0]->cjkCharacterPriority));
        }
        EXPECT_EQ(stack[999]->horizontalTabPositions, stops);

        tree.root->getPrinterPageModeBuilder()->notifyRank(500);
        tree.take();

        // A level that sets its own list holds it alone; closing it sends the inherited list again.
        tree.printer->notifyRank(501);
        tree.printer->appendTextDecorationHorizontalTabPositions({2, 3});
        EXPECT_FALSE(stack[500]->horizontalTabPositions.sharesStorageWith(stack[499]->horizontalTabPositions));
        EXPECT_EQ(stack[499]->horizontalTabPositions.size(), 5000u);
        EXPECT_EQ(tree.take(), "1B 44 02 03 00");
        tree.printer->notifyRank(500);
        EXPECT_EQ(tree.take(), "1B 44 01 00");
        EXPECT_TRUE(stack[499]->horizontalTabPositions.sharesStorageWith(stack[0]->horizontalTabPositions));
    }
}
