#include <gtest/gtest.h>

#include "prelix10/command/BuilderFactory.hpp"

using namespace PrinterCommandBuilder;

TEST(BuilderFactory, AcceptsExactNamesOnly) {
    for (const char* name :
         {"Kestrin", "OrvoLine", "OrvoGraphic", "OrvoDot", "OrvoYalme1", "EscPos", "EscPosMobile"}) {
        ByteBuffer buffer;
        auto root = BuilderFactory(name, &buffer, PrinterModel::Yalme1).create();
        ASSERT_NE(root, nullptr) << name;
        EXPECT_NE(root->getBuzzerBuilder(), nullptr);
        EXPECT_NE(root->getDisplayBuilder(), nullptr);
        EXPECT_NE(root->getDocumentBuilder(), nullptr);
        EXPECT_NE(root->getDrawerBuilder(), nullptr);
        EXPECT_NE(root->getMelodySpeakerBuilder(), nullptr);
        EXPECT_NE(root->getPrinterBuilder(), nullptr);
        EXPECT_NE(root->getPrinterPageModeBuilder(), nullptr);
        EXPECT_NE(root->getPreSettingBuilder(), nullptr);
        EXPECT_NE(root->getPresenterBuilder(), nullptr);
        EXPECT_NE(root->getBezelBuilder(), nullptr);
        root.reset();
        EXPECT_EQ(buffer.getDataSize(), 0u) << name;
    }
    for (const char* name : {"kestrin", "Kestrin ", "OrvoDotImpact", "Unknown", ""}) {
        ByteBuffer buffer;
        EXPECT_EQ(BuilderFactory(name, &buffer, PrinterModel::Harlo599KZ).create(), nullptr) << name;
    }
}

TEST(BuilderFactory, PrinterAndPageModeShareOneStack) {
    ByteBuffer buffer;
    auto root = BuilderFactory("Kestrin", &buffer, PrinterModel::Unknown).create();
    ASSERT_NE(root, nullptr);
    auto* printer = root->getPrinterBuilder();
    auto* pageMode = root->getPrinterPageModeBuilder();
    EXPECT_NE(static_cast<void*>(printer), static_cast<void*>(pageMode));
    printer->notifyRank(1);
    EXPECT_EQ(root->settingsStack().size(), 1u);
    pageMode->notifyRank(2);
    EXPECT_EQ(root->settingsStack().size(), 2u);
    EXPECT_TRUE(root->settingsStack().back()->isPageMode);
    // The page-mode builder never pops the outermost record; the printer builder does.
    pageMode->notifyRank(0);
    EXPECT_EQ(root->settingsStack().size(), 1u);
    printer->notifyRank(0);
    EXPECT_EQ(root->settingsStack().size(), 0u);
}

TEST(BuilderFactory, PreSettingRanksChangeNothing) {
    for (const char* name :
         {"Kestrin", "OrvoLine", "OrvoGraphic", "OrvoDot", "OrvoYalme1", "EscPos", "EscPosMobile"}) {
        ByteBuffer buffer;
        auto root = BuilderFactory(name, &buffer, PrinterModel::Pundo1_6G).create();
        root->getPreSettingBuilder()->notifyRank(3);
        root->getPreSettingBuilder()->notifyRank(static_cast<std::size_t>(-1));
        EXPECT_EQ(buffer.getDataSize(), 0u) << name;
    }
}
