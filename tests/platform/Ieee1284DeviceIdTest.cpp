#include <gtest/gtest.h>

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
        {"length beyond the reply", withLength("MFG:Orvo;", 40), false, "", "", ""},
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

TEST(Ieee1284DeviceIdTest, LongValuesAreCut) {
    const auto id = Ieee1284DeviceId::parse(withLength("MDL:" + std::string(1000, 'A') + ";"));
    EXPECT_EQ(id.model.size(), Ieee1284DeviceId::kMaxValueLength);
}
