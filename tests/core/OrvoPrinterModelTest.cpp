#include <gtest/gtest.h>

#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"

using namespace Prelix10;

TEST(OrvoPrinterModel, RawValuesAndDescriptions) {
    EXPECT_EQ(PrinterModels::fromRawValue(11), OrvoPrinterModel::harlo599KZ);
    EXPECT_EQ(PrinterModels::description(OrvoPrinterModel::harlo599KZ_XW), "harlo599KZ_XW");
    EXPECT_EQ(PrinterModels::description(OrvoPrinterModel::Fenur_Qel), "Fenur_Qel");
    EXPECT_EQ(PrinterModels::fromRawValue(28), OrvoPrinterModel::Fenur_Qel);
    EXPECT_FALSE(PrinterModels::fromRawValue(29));
    EXPECT_FALSE(PrinterModels::fromRawValue(-1));
    EXPECT_EQ(PrinterModels::allCases().size(), 29u);

    EXPECT_EQ(PrinterEmulations::fromRawValue(6), OrvoPrinterEmulation::escPosMobile);
    EXPECT_FALSE(PrinterEmulations::fromRawValue(7));
    EXPECT_FALSE(PrinterEmulations::fromRawValue(-1));
    EXPECT_EQ(PrinterEmulations::description(OrvoPrinterEmulation::orvoDot), "orvoDot");
}

TEST(OrvoPrinterModel, MountedInterfacesFromNames) {
    MountedInterfaces all(
        {"USB-A", "USB-B", "USB-C", "USB-C-I", "USB-C-CDC", "BT-I", "BT", "BLE", "ETHERNET", "WLAN"});
    EXPECT_TRUE(all.hasUSB_A && all.hasUSB_B && all.hasUSB_C && all.hasUSB_C_I && all.hasUSB_C_CDC &&
                all.hasBluetooth && all.hasBluetoothNoMFi && all.hasBle && all.hasEthernet && all.hasWlan);
    // A name that differs in case or is cut short sets nothing.
    EXPECT_EQ(MountedInterfaces({"usb-a", "USB-C-C", "Ethernet", "USB-C-CDC "}), MountedInterfaces());
    EXPECT_EQ(MountedInterfaces({"BT", "BT"}), MountedInterfaces({"BT"}));
}

TEST(OrvoPrinterModel, VariantLookup) {
    using D = PrinterModelDetail;
    struct Case {
        OrvoPrinterModel model;
        std::vector<std::string> names;
        D expected;
    } cases[] = {
        {OrvoPrinterModel::harlo599KKKY, {}, D::harlo599KKKY},
        {OrvoPrinterModel::harlo599KKKY, {"WLAN"}, D::harlo599KKKY},
        {OrvoPrinterModel::Telva_6, {"ETHERNET", "USB-C"}, D::telva65t},
        {OrvoPrinterModel::Telva_6, {"ETHERNET", "USB-C", "USB-C-I"}, D::telva65tk},
        {OrvoPrinterModel::Telva_6, {"ETHERNET", "USB-C", "BT-I"}, D::none},
        {OrvoPrinterModel::Ginor_7, {"BT-I", "BLE", "ETHERNET", "USB-C", "USB-C-I", "WLAN"}, D::ginor75tyjk},
        {OrvoPrinterModel::Ginor_7, {"BT-I", "ETHERNET", "USB-C", "USB-C-I", "WLAN"}, D::ginor75tyjk},
        {OrvoPrinterModel::harlo219KK, {"ETHERNET"}, D::none},
        {OrvoPrinterModel::unknown, {}, D::none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrinterModelDetails::lookup(c.model, MountedInterfaces(c.names)), c.expected)
            << PrinterModels::description(c.model);
    EXPECT_EQ(PrinterModelDetails::rawValue(D::harlo599KKKRop), "Harlo586KKKROP");
    EXPECT_EQ(PrinterModelDetails::fromRawValue("Harlo586KZ-HFYJ XW"), D::harlo586kzHfyjXw);
    EXPECT_EQ(PrinterModelDetails::allCases().size(), 28u);
}
