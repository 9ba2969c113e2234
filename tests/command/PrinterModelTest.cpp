#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/command/PrinterModelFactory.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {
PrinterModel m(int value) {
    return static_cast<PrinterModel>(value);
}
}  // namespace

TEST(PrinterModel, NamesToNumbers) {
    struct Case {
        const char* name;
        int value;
    } cases[] = {{"OEM", 1},          {"Harlo599KKH+", 9}, {"Harlo599KZ", 15}, {"Wexal_D699", 24},
                 {"Wexal_D699k", 24}, {"wexal_D699k", 0},  {"Harlo599KZ ", 0}, {"", 0},
                 {"Fenur_Qel", 37},   {"Yalme1", 38},      {"Pundo1_6G", 36}};
    for (const auto& c : cases) EXPECT_EQ(rawValue(PrinterModelFactory(c.name).create()), c.value) << c.name;
}

TEST(PrinterModel, Predicates) {
    EXPECT_FALSE(CommonModelChecker::isSupportedPrinter(m(0)));
    EXPECT_FALSE(CommonModelChecker::isSupportedPrinter(m(37)));
    EXPECT_FALSE(CommonModelChecker::isSupportedPrinter(m(38)));
    EXPECT_TRUE(CommonModelChecker::isSupportedPrinter(m(36)));
    EXPECT_TRUE(CommonModelChecker::isSupportedBuzzer(m(37)));
    EXPECT_FALSE(CommonModelChecker::isSupportedBuzzer(m(38)));
    EXPECT_TRUE(CommonModelChecker::isSupportedDrawer(m(38)));
    EXPECT_FALSE(CommonModelChecker::isSupportedDrawer(m(0)));
    EXPECT_TRUE(CommonModelChecker::isSupportedMelodySpeaker(m(19)));
    EXPECT_FALSE(CommonModelChecker::isSupportedMelodySpeaker(m(17)));
    EXPECT_TRUE(CommonModelChecker::isSupportedDisplay(m(14)));
    EXPECT_FALSE(CommonModelChecker::isSupportedDisplay(m(22)));
    EXPECT_TRUE(CommonModelChecker::isSupportedBezel(m(36)));
    EXPECT_FALSE(CommonModelChecker::isSupportedBezel(m(35)));
    EXPECT_FALSE(ModelChecker::isPageModeSupported(m(26)));
    EXPECT_TRUE(ModelChecker::isPageModeSupported(m(29)));
    EXPECT_FALSE(ModelChecker::isPageModeSupported(m(28)));
    EXPECT_TRUE(MethodChecker::isSeparatorFeedSupported(m(30)));
    EXPECT_FALSE(MethodChecker::isSeparatorFeedSupported(m(15)));
    EXPECT_TRUE(MethodChecker::isSpecifyingPrintWidthSupported(m(29)));
    EXPECT_EQ(ModelChecker::getPrintResolution(m(20)), PrintResolution::Dpi300);
    EXPECT_EQ(ModelChecker::getPrintResolution(m(15)), PrintResolution::Dpi203);
}

TEST(PrinterModel, PageModeValidity) {
    PrintSettingsInformation settings;
    MethodCheckCondition none;
    EXPECT_TRUE(MethodChecker::isValidInPageMode(&settings, m(0), none));
    settings.isPageMode = true;
    EXPECT_FALSE(MethodChecker::isValidInPageMode(&settings, m(28), none));
    EXPECT_FALSE(MethodChecker::isValidInPageMode(&settings, m(15), none));
    MethodCheckCondition begin;
    begin.setIsBeginPageMode(true);
    EXPECT_TRUE(MethodChecker::isValidInPageMode(&settings, m(15), begin));
    settings.pageModeAreaSize = PageModeAreaSize(AreaType::Page, 0, 0, 3.0, 3.0);
    EXPECT_TRUE(MethodChecker::isValidInPageMode(&settings, m(15), none));
    settings.pageModeAreaSize = PageModeAreaSize(AreaType::Page, 0, 0, 2.9, 50.0);
    EXPECT_FALSE(MethodChecker::isValidInPageMode(&settings, m(15), none));
}

TEST(PrinterModel, MillimetresToDots) {
    const auto standard = BaseMagnificationType::Standard;
    const auto oneAndHalf = BaseMagnificationType::X1_5;
    EXPECT_EQ(MathUtil::mmToDotRound(1.0, 0.125, standard), 8);
    EXPECT_EQ(MathUtil::mmToDotRound(1.0, 0.125, oneAndHalf), 5);
    EXPECT_EQ(MathUtil::mmToDotFloor(2.999, 0.125, standard), 24);
    EXPECT_EQ(MathUtil::mmToDotCeil(3.0, 0.125, standard), 24);
    EXPECT_EQ(MathUtil::mmToDotRound(-1.0, 0.125, standard), -8);
    EXPECT_EQ(MathUtil::mmToDotCeil(10.0, 25.4 / 300, standard), 119);
    EXPECT_EQ(MathUtil::mmToDot(3.0, 0.125, standard, DecimalPointCalcType::Ceil), 24);
    EXPECT_DOUBLE_EQ(MathUtil::getMmToDotCoefficient(PrintResolution::Dpi300), 25.4 / 300);
    EXPECT_DOUBLE_EQ(MathUtil::getMmToDotCoefficient(static_cast<PrintResolution>(7)), 0.125);
    EXPECT_EQ(MathUtil::ceiling(10, 8), 16);
    EXPECT_EQ(MathUtil::ceiling(16, 8), 16);
    EXPECT_EQ(MathUtil::ceiling(5, 0), 0);
    EXPECT_EQ(MathUtil::ceiling(std::numeric_limits<std::int32_t>::max(), 24),
              std::numeric_limits<std::int32_t>::max());

    // Document numbers far outside 32 bits saturate instead of being undefined.
    const auto max = std::numeric_limits<std::int32_t>::max();
    const auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(MathUtil::mmToDotRound(1e12, 0.125, standard), max);
    EXPECT_EQ(MathUtil::mmToDotFloor(-1e12, 0.125, standard), min);
    EXPECT_EQ(MathUtil::mmToDotCeil(std::numeric_limits<double>::infinity(), 0.125, standard), max);
    EXPECT_EQ(MathUtil::mmToDotRound(std::nan(""), 0.125, standard), 0);
    EXPECT_EQ(MathUtil::mmToDotRound(1.0, 0.0, standard), max);
}
