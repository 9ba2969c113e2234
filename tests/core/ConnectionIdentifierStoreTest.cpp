#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "TestPrivateDirectory.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/core/PrivateFileManager.hpp"

using namespace Prelix10;
namespace fs = std::filesystem;

namespace {

const std::string& NA = OrvoConnectionIdentifier::UNAVAILABLE();

OrvoConnectionIdentifier record(std::optional<std::string> specified, std::optional<std::string> mac = std::nullopt,
                                std::optional<std::string> wlan = std::nullopt, std::optional<std::string> bt = std::nullopt,
                                std::optional<std::string> ble = std::nullopt, std::optional<std::string> usb = std::nullopt) {
    OrvoConnectionIdentifier r;
    r.specifiedIdentifier = std::move(specified);
    r.macAddress = std::move(mac);
    r.wlanMacAddress = std::move(wlan);
    r.bluetoothAddress = std::move(bt);
    r.bluetoothLeAddress = std::move(ble);
    r.usbSerialNumber = std::move(usb);
    return r;
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (auto b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0xF];
    }
    return out;
}

class ConnectionIdentifierStore : public ::testing::Test {
protected:
    void SetUp() override { PrivateFileManager::setPrivateDirectory(dir_.path()); }
    void TearDown() override { PrivateFileManager::setPrivateDirectory(Prelix10Test::processPrivateDirectory()); }

    fs::path file() const { return dir_.path() / "connection_identifier.json"; }
    std::string read(const fs::path& path) const {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void put(const std::string& text) const {
        std::ofstream out(file(), std::ios::binary);
        out << text;
    }

    Prelix10Test::TemporaryDirectory dir_;
};

}  // namespace

TEST_F(ConnectionIdentifierStore, NoFileThenTheFirstSaveWritesTheLayout) {
    EXPECT_TRUE(OrvoConnectionIdentifierManager::load().empty());
    EXPECT_FALSE(OrvoConnectionIdentifierManager::find(record("x", "AABBCCDDEEFF")));
    OrvoConnectionIdentifierManager::save(record("192.168.0.5", "AABBCCDDEEFF", NA));
    OrvoConnectionIdentifierManager::save(record("only"));
    EXPECT_EQ(read(file()),
              "[\n"
              "\t{\n"
              "\t\t\"specified_identifier\": \"192.168.0.5\",\n"
              "\t\t\"mac_address\": \"AABBCCDDEEFF\",\n"
              "\t\t\"wlan_mac_address\": \"Unavailable_DefinedByOrvo\"\n"
              "\t},\n"
              "\t{\n"
              "\t\t\"specified_identifier\": \"only\"\n"
              "\t}\n"
              "]");
    EXPECT_EQ(OrvoConnectionIdentifierManager::serialize({OrvoConnectionIdentifier()}), "[\n\t{\n\t}\n]");
    auto entries = OrvoConnectionIdentifierManager::load();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], record("192.168.0.5", "AABBCCDDEEFF", NA));
}

TEST_F(ConnectionIdentifierStore, ValuesAreEscapedSoTheFileStillLoads) {
    const std::string odd = "a\"b\\c\nd\te\x01";
    OrvoConnectionIdentifierManager::save(record(odd, "AABBCCDDEEFF"));
    OrvoConnectionIdentifierManager::save(record("second", "112233445566"));
    auto entries = OrvoConnectionIdentifierManager::load();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].specifiedIdentifier, odd);
}

TEST_F(ConnectionIdentifierStore, LoadKeepsOnlyStringMembersUnderKnownKeys) {
    put(R"([{"mac_address": 12, "MAC_ADDRESS": "AA", "usb_serial_number": "U1", "other": "x"}, {}])");
    auto entries = OrvoConnectionIdentifierManager::load();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], record(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, "U1"));
    EXPECT_EQ(entries[1], OrvoConnectionIdentifier());
}

TEST_F(ConnectionIdentifierStore, AFileThatDoesNotParseIsMovedAsideBeforeTheSaveAndNoBackupIsOverwritten) {
    const std::vector<std::string> bad = {R"({"mac_address": "AA"})", R"([{"mac_address": "AA"}, 5])", "[{", "\xFF\xFE"};
    for (const auto& text : bad) {
        put(text);
        EXPECT_TRUE(OrvoConnectionIdentifierManager::load().empty()) << text;
        OrvoConnectionIdentifierManager::save(record("new"));
        ASSERT_EQ(OrvoConnectionIdentifierManager::load().size(), 1u) << text;
    }
    // Each unparsable file keeps a backup of its own; the first is never replaced by a later one.
    for (std::size_t i = 0; i < bad.size(); ++i) {
        fs::path backup = file();
        backup += i == 0 ? std::string(".bak") : ".bak." + std::to_string(i);
        EXPECT_EQ(read(backup), bad[i]) << backup;
    }
}

TEST_F(ConnectionIdentifierStore, AnIdentifierThatIsNotUtf8IsFoundAndReplacedAgain) {
    // Stored with U+FFFD in place of the broken bytes; the same text must still find and replace its entry.
    const std::string broken = "printer-\xC3(\xFF";
    OrvoConnectionIdentifierManager::save(record(broken, NA, NA, NA, NA, "USB\xFE" "1"));
    const auto found = OrvoConnectionIdentifierManager::find(record(broken));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->usbSerialNumber, "USB\xEF\xBF\xBD" "1");
    EXPECT_TRUE(OrvoConnectionIdentifierManager::find(record("x", std::nullopt, std::nullopt, std::nullopt,
                                                             std::nullopt, "USB\xFE" "1")));
    OrvoConnectionIdentifierManager::save(record(broken, "AABBCCDDEEFF", NA, NA, NA, "USB\xFE" "1"));
    const auto entries = OrvoConnectionIdentifierManager::load();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].macAddress, "AABBCCDDEEFF");
}

TEST_F(ConnectionIdentifierStore, AFileThatCannotBeReadIsNeverOverwritten) {
    fs::create_directory(file());  // exists, but cannot be read as a file
    fs::path marker = file() / "kept";
    std::ofstream(marker) << "x";
    OrvoConnectionIdentifierManager::save(record("new"));
    EXPECT_TRUE(fs::is_directory(file()));
    EXPECT_TRUE(fs::exists(marker));
    EXPECT_TRUE(OrvoConnectionIdentifierManager::load().empty());
}

TEST_F(ConnectionIdentifierStore, SaveReplacesBySpecifiedIdentifierThenByAddressElseAppends) {
    OrvoConnectionIdentifierManager::save(record("one", "000000000001"));
    OrvoConnectionIdentifierManager::save(record("two", "000000000002"));
    OrvoConnectionIdentifierManager::save(record("three", "000000000003"));
    OrvoConnectionIdentifierManager::save(record("three", "0000000000FF"));  // third replaced in place
    OrvoConnectionIdentifierManager::save(record("other", "000000000001"));  // first replaced by address
    OrvoConnectionIdentifierManager::save(record(NA, NA));                  // placeholders never match: appended
    auto entries = OrvoConnectionIdentifierManager::load();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], record("other", "000000000001"));
    EXPECT_EQ(entries[1], record("two", "000000000002"));
    EXPECT_EQ(entries[2], record("three", "0000000000FF"));
    EXPECT_EQ(entries[3], record(NA, NA));
}

TEST_F(ConnectionIdentifierStore, FindsADeviceByEachIdentifierKind) {
    const auto stored = record("lan-printer", "AABBCCDDEEFF", "AABBCCDDEE00", "001122334455", "665544332211", "USB123");
    OrvoConnectionIdentifierManager::save(stored);
    struct Case {
        InterfaceType type;
        const char* identifier;
    } cases[] = {
        {InterfaceType::lan, "aa:bb:cc:dd:ee:ff"},      // wired MAC
        {InterfaceType::lan, "AA-BB-CC-DD-EE-00"},      // the printer's wireless MAC given as the LAN identifier
        {InterfaceType::bluetooth, "00:11:22:33:44:55"},
        {InterfaceType::bluetoothLE, "665544332211"},
        {InterfaceType::usb, "USB123"},
    };
    for (const auto& c : cases) {
        const auto probe = OrvoConnectionIdentifier::probe(c.type, c.identifier);
        const auto found = OrvoConnectionIdentifierManager::find(probe);
        ASSERT_TRUE(found) << c.identifier;
        EXPECT_EQ(*found, stored) << c.identifier;
    }
    EXPECT_FALSE(OrvoConnectionIdentifierManager::find(OrvoConnectionIdentifier::probe(InterfaceType::usb, "usb123")));
    EXPECT_FALSE(OrvoConnectionIdentifierManager::find(OrvoConnectionIdentifier::probe(InterfaceType::unknown, "USB123")));
}

TEST_F(ConnectionIdentifierStore, AnIncompleteAddressMatchGivesWayToTheSameSpecifiedIdentifier) {
    OrvoConnectionIdentifierManager::write(
        OrvoConnectionIdentifierManager::serialize({record(std::nullopt, "AABBCCDDEEFF"), record("printer-1", "111111111111")}));
    auto probe = record("printer-1", "AABBCCDDEEFF");
    auto found = OrvoConnectionIdentifierManager::find(probe);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, record("printer-1", "111111111111", NA, NA, NA, NA));
    // Without a same specified identifier the incomplete match is returned, filled.
    found = OrvoConnectionIdentifierManager::find(record("elsewhere", "AABBCCDDEEFF"));
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, record(std::nullopt, "AABBCCDDEEFF", NA, NA, NA, NA));
}

TEST_F(ConnectionIdentifierStore, ConcurrentSavesLoseNoEntry) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 5; ++i) {
                const std::string id = "device-" + std::to_string(t) + "-" + std::to_string(i);
                OrvoConnectionIdentifierManager::save(record(id));
                OrvoConnectionIdentifierManager::find(record(id));
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(OrvoConnectionIdentifierManager::load().size(), 30u);
}

TEST_F(ConnectionIdentifierStore, AskingThePrinterFillsWhatItDoesNotReport) {
    std::vector<std::uint8_t> sent;
    int timeout = 0;
    auto reply = [&](const std::vector<std::uint8_t>& request, int ms) -> std::optional<PrinterInformationDictionary> {
        sent = request;
        timeout = ms;
        return PrinterInformationDictionary{{PrinterInformationType::macAddress, "00:11:62:aa:bb:cc"},
                                            {PrinterInformationType::wlanMacAddress, std::nullopt},
                                            {PrinterInformationType::usbSerialNumber, "SN1"},
                                            {PrinterInformationType::productSerialNumber, "P9"}};
    };
    auto id = OrvoConnectionIdentifierManager::connectionIdentifier(reply, 4321);
    EXPECT_EQ(hex(sent), "1B1D2949010031");
    EXPECT_EQ(timeout, 4321);
    // Nothing is normalised here; the specified identifier stays absent.
    EXPECT_EQ(id, record(std::nullopt, "00:11:62:aa:bb:cc", NA, NA, NA, "SN1"));

    auto none = OrvoConnectionIdentifierManager::connectionIdentifier(
        [](const std::vector<std::uint8_t>&, int) { return std::optional<PrinterInformationDictionary>(); }, 10);
    EXPECT_EQ(none, record(std::nullopt, NA, NA, NA, NA, NA));

    auto failing = [](const std::vector<std::uint8_t>&, int) -> std::optional<PrinterInformationDictionary> {
        throw Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut);
    };
    EXPECT_THROW(OrvoConnectionIdentifierManager::connectionIdentifier(failing, 10), Prelix10Error);
}

TEST(ConnectionIdentifier, NormaliseMatchAndFill) {
    auto r = record("aa:bb:cc:dd:ee:ff", "aa:bb:cc:dd:ee:ff", "AA-BB-CC-DD-EE-FF", "aabbccddeeff", "aa:bb:cc:dd:ee",
                    "aa:bb:cc:dd:ee:ff");
    r.normalize();
    EXPECT_EQ(r, record("aa:bb:cc:dd:ee:ff", "AABBCCDDEEFF", "AABBCCDDEEFF", "AABBCCDDEEFF", "aa:bb:cc:dd:ee",
                        "aa:bb:cc:dd:ee:ff"));

    EXPECT_FALSE(record(std::nullopt, NA).matches(record(std::nullopt, NA)));
    EXPECT_FALSE(record(NA).hasEqualSpecifiedIdentifier(record(NA)));
    EXPECT_TRUE(record(std::nullopt, std::nullopt, "W1").matches(record(std::nullopt, "W1")));
    EXPECT_TRUE(record(std::nullopt, "W1").matches(record(std::nullopt, std::nullopt, "W1")));
    EXPECT_FALSE(record(std::nullopt, std::nullopt, "W1").matches(record(std::nullopt, std::nullopt, "W1")));
    EXPECT_FALSE(record("same").matches(record("same")));
    EXPECT_TRUE(record(std::nullopt, "M").matches(record(std::nullopt, "M")));

    auto partial = record(std::nullopt, "M");
    EXPECT_FALSE(partial.hasAllIdentifiers());
    partial.fillUnavailable();
    EXPECT_FALSE(partial.specifiedIdentifier);
    EXPECT_EQ(partial, record(std::nullopt, "M", NA, NA, NA, NA));
    partial.specifiedIdentifier = NA;
    EXPECT_TRUE(partial.hasAllIdentifiers());
    EXPECT_EQ(record("abc").description(),
              "specifiedIdentifier : Optional(\"abc\"), macAddress : nil, wlanMacAddress : nil, bluetoothAddress : nil, "
              "bluetoothLeAddress : nil, usbSerialNumber : nil");
}
