#include <gtest/gtest.h>

#include <thread>

#include "prelix10/core/PrinterSpecConstants.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/protocol/DiscoveryParser.hpp"

using namespace Prelix10;
using M = OrvoPrinterModel;

TEST(PrinterSpecTable, EveryModelButUnknownHasOneRowInTableOrder) {
    const auto& table = PrinterSpecTable::specTable();
    ASSERT_EQ(table.size(), 28u);
    EXPECT_EQ(PrinterSpecTable::baseSpecTable().size(), 24u);
    EXPECT_EQ(table.front().first, M::harlo599KZ_XW);
    EXPECT_EQ(table[23].first, M::Fenur_Qel);
    EXPECT_EQ(table[24].first, M::zunel59);
    EXPECT_EQ(table.back().first, M::vorne199);
    for (auto model : PrinterModels::allCases()) {
        int rows = 0;
        for (const auto& row : table) rows += row.first == model;
        EXPECT_EQ(rows, model == M::unknown ? 0 : 1) << PrinterModels::description(model);
    }
    EXPECT_FALSE(PrinterSpecTable::findSpec(M::unknown));
}

TEST(PrinterSpecTable, RowsCarryTheirCapabilities) {
    auto ginor6 = PrinterSpecTable::findSpec(M::Ginor_6);
    ASSERT_TRUE(ginor6);
    EXPECT_EQ(ginor6->emulation, OrvoPrinterEmulation::kestrin);
    EXPECT_TRUE(ginor6->isGetStatusViaTcp9100);
    EXPECT_TRUE(ginor6->supportSpoolPrint);
    ASSERT_TRUE(ginor6->firmwareUpdateCapability);
    EXPECT_TRUE(ginor6->firmwareUpdateCapability->updateWithOrvoConfig);
    auto ginor7 = PrinterSpecTable::findSpec(M::Ginor_7);
    EXPECT_TRUE(ginor7->bluetoothLeWriteWithoutResponse);
    EXPECT_EQ(ginor7->bluetoothLeConnectDelay, 2000);
    EXPECT_FALSE(PrinterSpecTable::findSpec(M::zunel59)->supportPortOpen);
    EXPECT_EQ(PrinterSpecTable::findSpec(M::Rovan)->fallbackSupportedAccessoryType, EAAccessoryType::bluetooth);
    EXPECT_EQ(PrinterSpecTable::findSpec(M::Fenur_Qel)->minimumRsVersion, "4.0.1");
    EXPECT_EQ(PrinterSpecTable::findSpec(M::harlo599KZ)->minimumRsVersion, "4.0.0");
    EXPECT_EQ(PrinterSpecTable::findSpec(M::harlo219KK)->minimumRsVersion, "1.0.0");
    EXPECT_FALSE(PrinterSpecTable::findSpec(M::harlo219KK)->firmwareUpdateCapability);
    EXPECT_EQ(PrinterSpecTable::findSpec(M::wexal_X759k)->emulation, OrvoPrinterEmulation::unknown);
}

TEST(PrinterSpecTable, InstallsItsCompilerModelNamesIntoTheCoreTable) {
    PrinterSpecTable::specTable();
    std::lock_guard guard(PrinterSpecConstants::lock());
    const auto& names = PrinterSpecConstants::compilerModelTable();
    ASSERT_EQ(names.size(), 28u);
    EXPECT_EQ(PrinterSpecConstants::findCompilerModelSpec(M::wexal_X759k)->velmarCommandParserModelName,
              "Wexal_X759k");
}

struct FirmwareCase {
    const char* name;
    M model;
    bool fallback;
};

TEST(ModelDetection, FirmwareNamesStrictBeforeFallbackFirstRowWins) {
    const FirmwareCase cases[] = {
        {"Harlo599KZ XW Ver1.0", M::harlo599KZ_XW, false},
        {"Harlo599KZ Ver1.0", M::harlo599KZ, false},
        {"Harlo586 Ver1.0", M::harlo599KZ, true},
        {"Harlo586 XW Ver1.0", M::harlo599KZ_XW, true},
        {"Kelto59Ver1.2", M::kelto59, false},
        {"Kelto59KKVer1.2", M::kelto59KK, false},
        {"Kelto31", M::kelto59KK, true},
        {"Ginor-6 Ver 2", M::Ginor_6, false},
        {"DJ1xx", M::vorne199, false},
        {"", M::unknown, false},
        {"harlo599KZ", M::unknown, false},  // case-sensitive
        {"xHarlo599KZ", M::unknown, false},  // patterns are anchored at the start
    };
    for (const auto& c : cases) {
        auto info = ModelDetection::detectModelFromFirmwareName(c.name);
        EXPECT_EQ(info->model(), c.model) << c.name;
        EXPECT_EQ(info->isFallback(), c.fallback) << c.name;
        EXPECT_FALSE(info->isEstimated());
    }
}

TEST(ModelDetection, EmptyOrMalformedPatternsNeverMatch) {
    EXPECT_FALSE(ModelDetection::searchPattern("", ""));
    EXPECT_FALSE(ModelDetection::searchPattern("", "anything"));
    EXPECT_FALSE(ModelDetection::searchPattern("([", "(["));
    EXPECT_TRUE(ModelDetection::searchPattern("^Ab\\(X\\)$", "Ab(X)"));
    // The search is anywhere in the text, not a whole-text match.
    EXPECT_TRUE(ModelDetection::searchPattern("b[0-9]", "ab1c"));
}

TEST(ModelDetection, DeviceModelExModelNameAccessoryAndPeripheral) {
    OrvoNICInformation record;
    EXPECT_EQ(ModelDetection::detectModelFromDeviceModel(record)->model(), M::unknown);
    EXPECT_EQ(ModelDetection::detectModelFromExModelName(record)->model(), M::unknown);
    record.deviceModel = "Harlo599KZ (ORV-001)";
    // Rows 1 and 2 share the device-model patterns: the first row wins.
    EXPECT_EQ(ModelDetection::detectModelFromDeviceModel(record)->model(), M::harlo599KZ_XW);
    record.nameDetail = "Harlo599KZ";
    EXPECT_EQ(ModelDetection::detectModelFromExModelName(record)->model(), M::harlo599KZ);
    record.deviceModel = "Kelto59 (ESP-001)";
    EXPECT_EQ(ModelDetection::detectModelFromDeviceModel(record)->model(), M::kelto59);
    record.deviceModel = "Harlo399KK (ORV_T-001)";
    EXPECT_EQ(ModelDetection::detectModelFromDeviceModel(record)->model(), M::harlo399KK);
    EXPECT_EQ(ModelDetection::detectModelFromPeripheralName("Ginor-7 BLE")->model(), M::Ginor_7);
    EXPECT_EQ(ModelDetection::detectModelFromPeripheralName("Fenur42x")->model(), M::Fenur_Qel);
    EXPECT_EQ(ModelDetection::detectModelFromAccessoryModelNumber("Harlo586KKKJK-1")->model(), M::harlo599KKKJK);
    EXPECT_EQ(ModelDetection::detectModelFromAccessoryModelNumber("Wexal-D691")->model(), M::wexal_D699k);
}

TEST(ModelDetection, ConcurrentCallsEachSeeACompleteWalk) {
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                if (ModelDetection::detectModelFromFirmwareName("DJ1")->model() != M::vorne199) ++wrong;
                if (!PrinterSpecTable::findSpec(M::vorne199)) ++wrong;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(wrong.load(), 0);
}
