#include <gtest/gtest.h>

#include "prelix10/core/DrawerOpenedMethod.hpp"
#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/SpoolJobState.hpp"

using namespace Prelix10;

TEST(SmallEnumerations, RawValuesAndDescriptions) {
    EXPECT_EQ(InterfaceTypes::fromRawValue(0), InterfaceType::unknown);
    EXPECT_EQ(InterfaceTypes::fromRawValue(3), InterfaceType::bluetoothLE);
    EXPECT_FALSE(InterfaceTypes::fromRawValue(5));
    EXPECT_FALSE(InterfaceTypes::fromRawValue(-1));
    EXPECT_EQ(InterfaceTypes::description(InterfaceType::lan), "4");
    EXPECT_EQ(InterfaceTypes::allCases().size(), 5u);

    EXPECT_EQ(DrawerOpenedMethods::fromRawValue(1), DrawerOpenedMethod::bitSet);
    EXPECT_FALSE(DrawerOpenedMethods::fromRawValue(2));
    EXPECT_EQ(DrawerOpenedMethods::description(DrawerOpenedMethod::bitSet), "1");

    EXPECT_EQ(SpoolJobStates::fromRawValue(2), SpoolJobState::printFailedByTimeoutBeforePrinting);
    EXPECT_FALSE(SpoolJobStates::fromRawValue(10));
    EXPECT_EQ(SpoolJobStates::description(SpoolJobState::printFailedByTimeoutBeforePrinting),
              "printFailedByTimeoutBeforePrinting");
    EXPECT_EQ(SpoolJobStates::description(SpoolJobState::printFailedByPowerOff), "printFailedByPowerOff");
    EXPECT_EQ(SpoolJobStates::allCases().size(), 10u);

    EXPECT_EQ(EAAccessoryTypes::description(EAAccessoryType::usb), "usb");
}
