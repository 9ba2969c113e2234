#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/protocol/AccessoryReplyParsers.hpp"
#include "prelix10/protocol/FirmwareInformationParser.hpp"
#include "prelix10/protocol/InformationReplyParsers.hpp"
#include "support/Hex.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

const CommandParserState kComplete = CommandParserState::complete;
const CommandParserState kInvalid = CommandParserState::invalid;
const CommandParserState kMore = CommandParserState::needMoreData;

// Hex of an ASCII text, for building frames in the tables.
std::string textHex(const std::string& text) { return hex(ByteBlock(text.begin(), text.end())); }

const std::string kInformationHeader = "1B1D2949010031";
const std::string kMountedHeader = "1B1D2949030033";
const std::string kFirmwareHeader = "1B232A2C";
const std::string kEnd = "0A00";

template <typename Parser>
struct ParseCase {
    std::string name;
    std::string bytes;
    CommandParserState state;
    std::int64_t lower;
    std::int64_t upper;
    std::function<void(const Parser&)> check{};
};

template <typename Parser>
void runCases(const std::vector<ParseCase<Parser>>& cases, const std::function<Parser()>& make) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + " [" + c.bytes + "]");
        Parser parser = make();
        const CommandParserResult result = parser.parse(bytesFromHex(c.bytes));
        EXPECT_EQ(static_cast<int>(result.state), static_cast<int>(c.state));
        EXPECT_EQ(result.lowerIndex, c.lower);
        EXPECT_EQ(result.upperIndex, c.upper);
        if (c.check) c.check(parser);
    }
}

using Info = PrinterInformationParser;
using Mounted = MountedInterfaceInformationParser;
using Available = CommandAvailableInformationParser;
using Firmware = OrvoFirmwareInformationParser;

std::optional<std::string> item(const Info& p, PrinterInformationType type) {
    const auto& dictionary = p.printerInformationDictionary();
    if (!dictionary) return "<no dictionary>";
    const auto it = dictionary->find(type);
    if (it == dictionary->end()) return "<absent>";
    return it->second;
}

Firmware firmwareParser() { return Firmware(&ModelDetection::detectModelFromFirmwareName); }

}  // namespace

TEST(InformationRequestTest, RequestBytes) {
    EXPECT_EQ(hex(PrinterInformationParser().requestCommands()), "1B1D2949010031");
    EXPECT_EQ(hex(MountedInterfaceInformationParser().requestCommands()), "1B1D2949030033" "0000");
    EXPECT_EQ(hex(Available({0x1B, 0x40}).requestCommands()), "1B1D29490500" "7F0000" "1B40");
    EXPECT_EQ(hex(Available({}).requestCommands()), "1B1D29490300" "7F0000");
    // The longest command fills the 16-bit length; a longer one is refused, never truncated.
    EXPECT_EQ(hex(Available(ByteBlock(Available::kMaximumCommandLength, 0x20)).requestCommands()).substr(0, 18),
              "1B1D2949FFFF7F0000");
    try {
        Available parser(ByteBlock(Available::kMaximumCommandLength + 1, 0x20));
        ADD_FAILURE() << "a command too long for the length field was accepted";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::argument);
    }
    EXPECT_EQ(hex(firmwareParser().requestCommands()), "1B232A0A00");
    EXPECT_EQ(hex(DisplayStatusParser().requestCommands()), "1B1E4241");
    EXPECT_EQ(hex(InputDeviceStatusParser().requestCommands()), "1B1E4231");
    EXPECT_EQ(hex(InputDeviceStoredDataParser().requestCommands()), "1B1D4232");
}

TEST(InformationParserTest, PrinterInformation) {
    using T = PrinterInformationType;
    const std::string example = kInformationHeader + textHex("LaNmA=0a:1b:2c:3d:4e:5f,PrSrN=X1") + kEnd;
    runCases<Info>(
        {
            {"empty", "", kMore, -1, -1, [](const Info& p) { EXPECT_FALSE(p.printerInformationDictionary()); }},
            {"address and serial", example, kComplete, 0, 40,
             [](const Info& p) {
                 EXPECT_EQ(item(p, T::macAddress), "0A1B2C3D4E5F");
                 EXPECT_EQ(item(p, T::productSerialNumber), "X1");
                 EXPECT_EQ(p.printerInformationDictionary()->size(), 2u);
             }},
            {"leading garbage", "FF 00 1B 1D " + example, kComplete, 4, 44,
             [](const Info& p) { EXPECT_EQ(item(p, T::productSerialNumber), "X1"); }},
            {"terminator not yet here", kInformationHeader + textHex("PrSrN=X1") + "0A", kMore, -1, -1,
             [](const Info& p) { EXPECT_FALSE(p.printerInformationDictionary()); }},
            {"bad address, empty serial",
             kInformationHeader + textHex("BtAdS=12345,UsSrN=,BleAdS=0A1B2C-3D:4E5F") + kEnd, kComplete, 0, 48,
             [](const Info& p) {
                 EXPECT_EQ(item(p, T::bluetoothAddress), std::nullopt);
                 EXPECT_EQ(item(p, T::usbSerialNumber), "");
                 EXPECT_EQ(item(p, T::bluetoothLEAddress), "0A1B2C3D4E5F");
                 EXPECT_EQ(item(p, T::macAddress), "<absent>");
             }},
            {"addresses that are not six pairs",
             kInformationHeader + textHex("LaNmA=0a:1b:2c:3d:4e:5f:,WLanMac=0a1b2c3d4e5f60,BtAdS=0a::1b2c3d4e5f") + kEnd,
             kComplete, 0, 76,
             [](const Info& p) {
                 EXPECT_EQ(item(p, T::macAddress), std::nullopt);
                 EXPECT_EQ(item(p, T::wlanMacAddress), std::nullopt);
                 EXPECT_EQ(item(p, T::bluetoothAddress), std::nullopt);
             }},
            {"later item wins, unknown and empty items skipped",
             kInformationHeader + textHex(",PrSrN=A,,Foo=1,PrSrN=B,") + kEnd, kComplete, 0, 32,
             [](const Info& p) {
                 EXPECT_EQ(item(p, T::productSerialNumber), "B");
                 EXPECT_EQ(p.printerInformationDictionary()->size(), 1u);
             }},
            {"empty text", kInformationHeader + kEnd, kComplete, 0, 8,
             [](const Info& p) { EXPECT_TRUE(p.printerInformationDictionary()->empty()); }},
            {"frame that is not UTF-8 is skipped",
             kInformationHeader + "C0AF" + kEnd + kInformationHeader + textHex("PrSrN=Z") + kEnd, kComplete, 11, 26,
             [](const Info& p) { EXPECT_EQ(item(p, T::productSerialNumber), "Z"); }},
            {"UTF-8 serial", kInformationHeader + textHex("PrSrN=") + "C3A9" + kEnd, kComplete, 0, 16,
             [](const Info& p) { EXPECT_EQ(item(p, T::productSerialNumber), "\xC3\xA9"); }},
            {"mounted-interface reply is not an information reply", kMountedHeader + "0000" + textHex("BT") + kEnd,
             kMore, -1, -1},
        },
        [] { return Info(); });
}

TEST(InformationParserTest, MountedInterfaces) {
    runCases<Mounted>(
        {
            {"empty", "", kMore, -1, -1},
            {"names", kMountedHeader + "0000" + textHex("ETHERNET,USB-B,BT-I,XYZ") + kEnd, kComplete, 0, 33,
             [](const Mounted& p) {
                 MountedInterfaces expected;
                 expected.hasEthernet = expected.hasUSB_B = expected.hasBluetooth = true;
                 EXPECT_EQ(p.mountedInterfaces(), expected);
             }},
            {"names are case-sensitive", "00" + kMountedHeader + "0000" + textHex("bt,Wlan") + kEnd, kComplete, 1, 18,
             [](const Mounted& p) { EXPECT_EQ(p.mountedInterfaces(), MountedInterfaces()); }},
            {"every name", kMountedHeader + "0000" + textHex("BT-I,BT,BLE,ETHERNET,USB-A,USB-B,USB-C,USB-C-I,USB-C-CDC,WLAN") + kEnd,
             kComplete, 0, 71,
             [](const Mounted& p) {
                 const auto& m = p.mountedInterfaces();
                 EXPECT_TRUE(m.hasBluetooth && m.hasBluetoothNoMFi && m.hasBle && m.hasEthernet && m.hasUSB_A &&
                             m.hasUSB_B && m.hasUSB_C && m.hasUSB_C_I && m.hasUSB_C_CDC && m.hasWlan);
             }},
            // The LF of the terminator is the second of the two bytes that are not examined: no names.
            {"terminator inside the skipped bytes", kMountedHeader + "00" + kEnd, kComplete, 0, 9,
             [](const Mounted& p) { EXPECT_EQ(p.mountedInterfaces(), MountedInterfaces()); }},
            {"terminator not yet here", kMountedHeader + "0000" + textHex("BLE"), kMore, -1, -1},
            {"frame that is not ASCII is skipped",
             kMountedHeader + "0000" + "C3A9" + kEnd + kMountedHeader + "0000" + textHex("BLE") + kEnd, kComplete, 13,
             26, [](const Mounted& p) { EXPECT_TRUE(p.mountedInterfaces().hasBle); }},
        },
        [] { return Mounted(); });
}

TEST(InformationParserTest, CommandAvailability) {
    // The command is ESC @ (2 bytes): pL must be at least 5; the frame ends at offset 4 + pL.
    const auto availableIs = [](std::optional<bool> expected) {
        return [expected](const Available& p) { EXPECT_EQ(p.available(), expected); };
    };
    runCases<Available>(
        {
            {"empty", "", kMore, -1, -1, availableIs(std::nullopt)},
            {"available", "1B1D2949 0500 7F 1B40 01", kComplete, 0, 9, availableIs(true)},
            {"any other result byte is available", "1B1D2949 0500 7F 1B40 02", kComplete, 0, 9, availableIs(true)},
            {"00 is not available", "1B1D2949 0500 7F 1B40 00", kComplete, 0, 9, availableIs(false)},
            {"FF is not available", "1B1D2949 0500 7F 1B40 FF", kComplete, 0, 9, availableIs(false)},
            {"the range covers the rest the length gives", "AA 1B1D2949 0700 7F 1B40 01 EEEE BB", kComplete, 1, 12,
             availableIs(true)},
            {"waits for the rest the length gives", "1B1D2949 0700 7F 1B40 01 EE", kMore, -1, -1,
             availableIs(std::nullopt)},
            {"a length too short stops the search", "1B1D2949 0400 7F 1B40 1B1D2949 0500 7F 1B40 01", kMore, -1, -1,
             availableIs(std::nullopt)},
            {"another command's echo is skipped", "1B1D2949 0500 7F 1B41 01 1B1D2949 0500 7F 1B40 00", kComplete, 10,
             19, availableIs(false)},
            {"no 7F after the length", "1B1D2949 0500 7E 1B40 01", kMore, -1, -1},
        },
        [] { return Available({0x1B, 0x40}); });
}

TEST(InformationParserTest, FirmwareInformation) {
    const auto versionIs = [](OrvoPrinterModel model, std::string version) {
        return [model, version](const Firmware& p) {
            ASSERT_TRUE(p.internalInformation());
            EXPECT_EQ(p.internalInformation()->model(), model);
            EXPECT_EQ(p.internalVersion(), version);
        };
    };
    const auto untouched = [](const Firmware& p) {
        EXPECT_FALSE(p.internalInformation());
        EXPECT_FALSE(p.internalVersion());
    };
    runCases<Firmware>(
        {
            {"empty", "", kMore, -1, -1, untouched},
            // The frame covers LF NUL, so that nothing of the reply stays in a receive buffer.
            {"version after Ver", kFirmwareHeader + textHex("Kelto59KKVer1.0") + kEnd, kComplete, 0, 20,
             versionIs(OrvoPrinterModel::kelto59KK, "1.0")},
            {"leading bytes are skipped", "00 1B 23" + kFirmwareHeader + textHex("Kelto59KKVer 2 ") + kEnd, kComplete,
             3, 23, versionIs(OrvoPrinterModel::kelto59KK, " 2 ")},
            {"terminator not yet here", kFirmwareHeader + textHex("Kelto59KKVer1.0") + "0A", kMore, -1, -1, untouched},
            {"Ver twice", kFirmwareHeader + textHex("Kelto59KKVer1Ver2") + kEnd, kInvalid, -1, -1, untouched},
            {"no Ver", kFirmwareHeader + textHex("Kelto59KK 1.0") + kEnd, kInvalid, -1, -1, untouched},
            {"unknown model", kFirmwareHeader + textHex("Nothing Ver1.0") + kEnd, kInvalid, -1, -1, untouched},
            {"empty text", kFirmwareHeader + kEnd, kInvalid, -1, -1, untouched},
            {"dalix KR", kFirmwareHeader + textHex("X3KR1.2") + kEnd, kComplete, 0, 12,
             versionIs(OrvoPrinterModel::dalix399, "1.2")},
            {"dalix J1", kFirmwareHeader + textHex("X3J1A") + kEnd, kComplete, 0, 10,
             versionIs(OrvoPrinterModel::dalix399, "A")},
            {"dalix K1", kFirmwareHeader + textHex("X3K11.0") + kEnd, kComplete, 0, 12,
             versionIs(OrvoPrinterModel::dalix399, "K11.0")},
            {"frame that is not ASCII is skipped",
             kFirmwareHeader + "C3A9" + kEnd + kFirmwareHeader + textHex("X3KR9") + kEnd, kComplete, 8, 18,
             versionIs(OrvoPrinterModel::dalix399, "9")},
        },
        &firmwareParser);
}

TEST(InformationParserTest, FirmwareParserEdges) {
    // A text shorter than the two characters a dalix399 version drops.
    Firmware shortText([](const std::string&) { return ModelDetectionInformation::make(OrvoPrinterModel::dalix399, false, false); });
    EXPECT_EQ(shortText.parse(bytesFromHex(kFirmwareHeader + textHex("X") + kEnd)), CommandParserResult::complete(0, 6));
    EXPECT_EQ(shortText.internalVersion(), "");

    // An invalid reply leaves the last decoded values as they were.
    Firmware parser = firmwareParser();
    ASSERT_EQ(parser.parse(bytesFromHex(kFirmwareHeader + textHex("X3KR1") + kEnd)).state, kComplete);
    EXPECT_EQ(parser.parse(bytesFromHex(kFirmwareHeader + textHex("Nothing") + kEnd)).state, kInvalid);
    EXPECT_EQ(parser.internalVersion(), "1");

    // A detector that fails or finds nothing makes the reply invalid.
    Firmware failing([](const std::string&) -> std::shared_ptr<ModelDetectionInformation> { throw std::runtime_error("x"); });
    EXPECT_EQ(failing.parse(bytesFromHex(kFirmwareHeader + textHex("Kelto59KKVer1") + kEnd)).state, kInvalid);
    Firmware none(nullptr);
    EXPECT_EQ(none.parse(bytesFromHex(kFirmwareHeader + textHex("Kelto59KKVer1") + kEnd)).state, kInvalid);

    // The base parser alone sends nothing and accepts nothing.
    FirmwareInformationParser base;
    EXPECT_TRUE(base.requestCommands().empty());
    EXPECT_EQ(base.parse(bytesFromHex(kFirmwareHeader + textHex("Kelto59KKVer1") + kEnd)), CommandParserResult::invalid());
    EXPECT_EQ(base.parse({}), CommandParserResult::invalid());
}

TEST(InformationParserTest, AccessoryStatus) {
    const auto statusIs = [](std::optional<bool> stored, std::optional<bool> connected) {
        return [stored, connected](const AccessoryStatusParser& p) {
            EXPECT_EQ(p.existsStoredData(), stored);
            EXPECT_EQ(p.isConnected(), connected);
        };
    };
    const std::vector<ParseCase<DisplayStatusParser>> display = {
        {"empty", "", kMore, -1, -1, statusIs(std::nullopt, std::nullopt)},
        {"stored and connected", "00 1B1E4241 03", kComplete, 1, 5, statusIs(true, true)},
        {"nothing", "1B1E4241 00", kComplete, 0, 4, statusIs(false, false)},
        {"four bytes", "1B1E4241", kMore, -1, -1},
        {"an input-device reply", "1B1E4231 03", kMore, -1, -1, statusIs(std::nullopt, std::nullopt)},
    };
    runCases<DisplayStatusParser>(display, [] { return DisplayStatusParser(); });
    const std::vector<ParseCase<InputDeviceStatusParser>> input = {
        {"empty", "", kMore, -1, -1},
        {"connected, nothing stored", "1B1E4231 02", kComplete, 0, 4, statusIs(false, true)},
        {"a display reply, then its own", "1B1E4241 03 1B1E4231 01", kComplete, 5, 9, statusIs(true, false)},
    };
    runCases<InputDeviceStatusParser>(input, [] { return InputDeviceStatusParser(); });
}

TEST(InformationParserTest, InputDeviceStoredData) {
    using Stored = InputDeviceStoredDataParser;
    const auto dataIs = [](std::optional<std::string> expected) {
        return [expected](const Stored& p) {
            EXPECT_EQ(p.storedData() ? std::optional(hex(*p.storedData())) : std::nullopt, expected);
        };
    };
    const std::string large = "1B1D4232 8000" + std::string(2 * 0x8000, 'A');
    runCases<Stored>(
        {
            {"empty", "", kMore, -1, -1, dataIs(std::nullopt)},
            {"three bytes", "1B1D4232 0003 414243", kComplete, 0, 8, dataIs("414243")},
            {"two of three bytes", "1B1D4232 0003 4142", kMore, -1, -1, dataIs(std::nullopt)},
            {"nothing stored", "FF 1B1D4232 0000", kComplete, 1, 6, dataIs("")},
            // Lengths of 0x8000 and more are lengths, not negative numbers.
            {"length 0x8000", large, kComplete, 0, 5 + 0x8000,
             [](const Stored& p) { EXPECT_EQ(p.storedData()->size(), 0x8000u); }},
            {"length FFFF with few bytes", "1B1D4232 FFFF 4142", kMore, -1, -1, dataIs(std::nullopt)},
        },
        [] { return Stored(); });
}
