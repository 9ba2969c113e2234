#include <gtest/gtest.h>

#include "prelix10/core/OrvoPrinterInformation.hpp"

using namespace Prelix10;

TEST(OrvoPrinterInformation, NewObjectHasEmptyViews) {
    OrvoPrinterInformation info;
    EXPECT_EQ(info.model, OrvoPrinterModel::unknown);
    EXPECT_EQ(info.emulation, OrvoPrinterEmulation::unknown);
    ASSERT_TRUE(info.connectionIdentifier);
    auto detail = info.detail();
    for (const auto* field : {&detail.lan->macAddress, &detail.lan->ipAddress, &detail.lan->uniqueId,
                              &detail.bluetooth->portName, &detail.bluetooth->serialNumber, &detail.bluetooth->address,
                              &detail.bluetoothLE->address, &detail.bluetoothLE->deviceName, &detail.usb->portName,
                              &detail.usb->productSerialNumber, &detail.usb->usbSerialNumber})
        EXPECT_FALSE(*field);
    auto reserved = info.reserved();
    EXPECT_EQ(reserved.size(), 6u);
    for (const char* key : {"specifiedIdentifier", "macAddress", "wlanMacAddress", "bluetoothAddress",
                            "bluetoothLeAddress", "usbSerialNumber"}) {
        ASSERT_TRUE(reserved.count(key)) << key;
        EXPECT_TRUE(std::holds_alternative<std::monostate>(reserved.at(key))) << key;
    }
    EXPECT_FALSE(reserved.count("isModelEstimated"));
}

TEST(OrvoPrinterInformation, DetailAndReservedComeFromTheRecords) {
    OrvoPrinterInformation info;
    info.model = OrvoPrinterModel::Telva_6;
    info.connectionIdentifier->macAddress = "AABBCCDDEEFF";
    info.connectionIdentifier->bluetoothAddress = "001122334455";
    info.connectionIdentifier->usbSerialNumber = "USB1";
    info.nicInformation = PrinterRecordFields{{"ipAddress", std::string("192.168.1.9")},
                                              {"macAddress", std::string("00:11:62:00:00:01")},
                                              {"ipVersion", std::int64_t{4}},
                                              {"dhcp", true},
                                              {"uniqueId", std::monostate{}}};
    info.eaAccessoryInformation = AccessoryRecord{"Printer BT", "SER-9", PrinterRecordFields{{"accessory", std::any(42)}}};
    info.bluetoothLEInformation = PrinterRecordFields{{"rssi", std::int64_t{-60}},
                                                      {"deviceName", std::string("LE name")},
                                                      {"address", std::string("665544332211")}};
    info.modelDetectionInformation = ModelDetectionFlags{true, false};

    const auto first = info.detail();
    const auto second = info.detail();
    EXPECT_NE(first.lan.get(), second.lan.get());
    EXPECT_EQ(first.lan->ipAddress, "192.168.1.9");
    EXPECT_EQ(first.lan->macAddress, "00:11:62:00:00:01");
    EXPECT_FALSE(first.lan->uniqueId);
    EXPECT_EQ(first.bluetooth->portName, "Printer BT");
    EXPECT_EQ(first.bluetooth->serialNumber, "SER-9");
    EXPECT_EQ(first.bluetooth->address, "001122334455");
    EXPECT_EQ(first.usb->portName, "Printer BT");
    EXPECT_EQ(first.usb->productSerialNumber, "SER-9");
    EXPECT_EQ(first.usb->usbSerialNumber, "USB1");
    EXPECT_EQ(first.bluetoothLE->address, "665544332211");
    EXPECT_EQ(first.bluetoothLE->deviceName, "LE name");
    first.lan->ipAddress = "changed";
    EXPECT_EQ(info.detail().lan->ipAddress, "192.168.1.9");

    auto reserved = info.reserved();
    EXPECT_EQ(std::get<std::string>(reserved.at("macAddress")), "00:11:62:00:00:01");  // the card's, not the identifier's
    EXPECT_EQ(std::get<std::int64_t>(reserved.at("ipVersion")), 4);
    EXPECT_TRUE(std::get<bool>(reserved.at("dhcp")));
    EXPECT_EQ(std::any_cast<int>(std::get<std::any>(reserved.at("accessory"))), 42);
    EXPECT_EQ(std::get<std::int64_t>(reserved.at("rssi")), -60);
    EXPECT_TRUE(std::get<bool>(reserved.at("isModelEstimated")));
    EXPECT_FALSE(std::get<bool>(reserved.at("isFallbackModel")));

    const std::string text = info.description();
    EXPECT_EQ(text.rfind("model : Telva_6, emulation : unknown, connectionIdentifier : specifiedIdentifier : nil, ", 0), 0u)
        << text;
    EXPECT_NE(text.find("nicInformation : Optional([ipAddress : 192.168.1.9, macAddress : 00:11:62:00:00:01, "
                        "ipVersion : 4, dhcp : true, uniqueId : nil])"),
              std::string::npos);
    EXPECT_NE(text.find("modelDetectionInformation : Optional(isEstimated : true, isFallback : false)"), std::string::npos);
    EXPECT_EQ(first.bluetoothLE->description(), "address : Optional(\"665544332211\"), deviceName : Optional(\"LE name\")");
}
