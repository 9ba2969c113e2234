#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "prelix10/platform/Ieee1284DeviceId.hpp"

using namespace Prelix10;

namespace {

std::vector<std::uint8_t> withLength(const std::string& text, int lengthAdjust = 0, bool littleEndian = false) {
    const std::size_t length = text.size() + 2 + static_cast<std::size_t>(lengthAdjust);
    std::vector<std::uint8_t> reply;
    if (littleEndian) {
        reply = {static_cast<std::uint8_t>(length & 0xFF), static_cast<std::uint8_t>(length >> 8)};
    } else {
        reply = {static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length & 0xFF)};
    }
    reply.insert(reply.end(), text.begin(), text.end());
    return reply;
}

// What the driver hands over for a device that sends the text with the given length: its first 1,023 bytes
// in a buffer of 1,024, the device's own length kept in front, a NUL behind the text.
std::vector<std::uint8_t> asTheDriverHandsIt(const std::string& text, std::size_t deviceLength) {
    std::vector<std::uint8_t> sent{static_cast<std::uint8_t>(deviceLength >> 8),
                                   static_cast<std::uint8_t>(deviceLength & 0xFF)};
    sent.insert(sent.end(), text.begin(), text.end());
    std::vector<std::uint8_t> reply(1024, 0);
    std::copy_n(sent.begin(), std::min<std::size_t>(sent.size(), 1023), reply.begin());
    reply[std::clamp<std::size_t>(deviceLength, 2, 1023)] = 0;
    return reply;
}

struct Case {
    const char* what;
    std::vector<std::uint8_t> reply;
    bool wellFormed;
    std::string manufacturer, model, serial;
};

}  // namespace

TEST(Ieee1284DeviceIdTest, ReadsTheKeysAndRejectsEveryBadLength) {
    std::vector<std::uint8_t> padded = withLength("MFG:Orvo;MDL:Rovan20;", 0);
    padded.resize(1024, 0);  // the driver's buffer, zero-filled behind the ID
    std::vector<std::uint8_t> nulInside = withLength(std::string("MFG:Orvo;\0MDL:Hidden;", 21));
    const std::vector<Case> cases = {
        {"short keys", withLength("MFG:Orvo;MDL:Harlo599KZ;SN:U20-0001;CMD:KESTRIN;"), true, "Orvo", "Harlo599KZ",
         "U20-0001"},
        {"long keys, other case, blanks", withLength(" manufacturer : Orvo ; Model:Telva72 ;SerialNumber: 42 ;"), true,
         "Orvo", "Telva72", "42"},
        {"no final semicolon, no serial", withLength("MFG:Orvo;MDL:Rovan20"), true, "Orvo", "Rovan20", ""},
        {"first of a repeated key holds", withLength("MFG:Orvo;MFG:Other;"), true, "Orvo", "", ""},
        {"little-endian length", withLength("MFG:Orvo;MDL:X;", 0, true), true, "Orvo", "X", ""},
        {"control bytes dropped", withLength("MFG:Or\x01vo\x7f;MDL:\tA\rB;"), true, "Orvo", "AB", ""},
        {"zero padding behind", padded, true, "Orvo", "Rovan20", ""},
        {"NUL ends the text", nulInside, true, "Orvo", "", ""},
        {"pairs without colon skipped", withLength("garbage;;:;MDL:Y;"), true, "", "Y", ""},
        {"length beyond the reply: the text up to the NUL", withLength("MFG:Orvo;", 40), true, "Orvo", "", ""},
        {"length below its own two bytes", {0x00, 0x01, 'M', 'F', 'G'}, false, "", "", ""},
        {"one byte", {0x00}, false, "", "", ""},
        {"nothing", {}, false, "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto id = Ieee1284DeviceId::parse(c.reply);
        EXPECT_EQ(id.wellFormed, c.wellFormed);
        EXPECT_EQ(id.manufacturer, c.manufacturer);
        EXPECT_EQ(id.model, c.model);
        EXPECT_EQ(id.serialNumber, c.serial);
    }
}

TEST(Ieee1284DeviceIdTest, AnIdLongerThanTheDriversBufferKeepsItsWholePairs) {
    const std::string head = "MFG:Orvo;MDL:Rovan20;SN:U20-0001;";
    const std::string padding = "DES:" + std::string(1200, 'D') + ";";
    struct Long {
        const char* what;
        std::string text;
        std::size_t deviceLength;
        std::string serial;
    };
    const std::vector<Long> cases = {
        // 0x044C: read the wrong way round it is far beyond the reply.
        {"length 1,100", head + padding, 1100, "U20-0001"},
        // 0x0800: read the wrong way round it is 8, which would end the text after "MFG:Or".
        {"length 2,048", head + padding + std::string(900, 'X'), 2048, "U20-0001"},
        // The serial number is the pair the driver cut: a part of it would name another device.
        {"serial cut short", "MFG:Orvo;MDL:Rovan20;" + std::string("DES:") + std::string(993, 'D') + ";SN:U20-0001;",
         1100, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto id = Ieee1284DeviceId::parse(asTheDriverHandsIt(c.text, c.deviceLength));
        EXPECT_TRUE(id.wellFormed);
        EXPECT_EQ(id.manufacturer, "Orvo");
        EXPECT_EQ(id.model, "Rovan20");
        EXPECT_EQ(id.serialNumber, c.serial);
    }
    // The attribute text: cut like the request's when it fills the buffer, whole otherwise.
    const std::string cut = "MFG:Orvo;MDL:Rovan20;DES:" + std::string(986, 'D') + ";SN:U20-00";
    ASSERT_EQ(cut.size(), 1021u);
    EXPECT_EQ(Ieee1284DeviceId::parseAttribute(cut, 1024).serialNumber, "");
    EXPECT_EQ(Ieee1284DeviceId::parseAttribute(cut, 1024).model, "Rovan20");
    EXPECT_EQ(Ieee1284DeviceId::parseAttribute("MFG:Orvo;SN:U20-0001", 1024).serialNumber, "U20-0001");
}

TEST(Ieee1284DeviceIdTest, LongValuesAreCut) {
    const auto id = Ieee1284DeviceId::parse(withLength("MDL:" + std::string(1000, 'A') + ";"));
    EXPECT_EQ(id.model.size(), Ieee1284DeviceId::kMaxValueLength);
}
