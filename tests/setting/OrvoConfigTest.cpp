#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <unordered_set>

#include "../support/Hex.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/protocol/OrvoConfigCommand.hpp"
#include "prelix10/setting/OrvoConfig.hpp"

using namespace Prelix10;
using Prelix10::Testing::hex;

namespace {

// A complete document in the form this library writes it: compact, keys in declaration order.
const std::string kFullDocument =
    R"({"title":"orvo_configuration","version":"1.0","notification":"on","print_when_completed_type":"t",)"
    R"("print_when_completed":"p","firmwares":[{"action":"write","device_name":"printer","path_type":"local",)"
    R"("path":"fw.bin","file_type":"bin","print_type":"none","print_before_writing":"no",)"
    R"("selftest_after_writing":"yes"}],"configurations":[{"device_name":"printer","print_type":"x",)"
    R"("print_before_writing":"a","selftest_after_writing":"b"}]})";

}  // namespace

TEST(OrvoConfigCommand, ReadAndWriteBytes) {
    struct Case {
        const char* name;
        ByteBlock bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"factory, three-character password",
         OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::factory, std::string("abc")),
         "1B1D293B0400000031616263"},
        {"user, no password", OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::nullopt),
         "1B1D29230100000031"},
        {"user, empty password", OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::string()),
         "1B1D29230100000031"},
        // Two characters, five bytes: the count is of bytes.
        {"multi-byte password",
         OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::string("\xC3\xA9\xE2\x82\xAC")),
         "1B1D2923060000003"
         "1C3A9E282AC"},
        {"empty document", OrvoConfigCommand::Orvo::createSetCommand("{}"), "1B1D292303000000307B7D"},
        {"multi-byte document", OrvoConfigCommand::Orvo::createSetCommand("\"\xC3\xA9\""),
         "1B1D29230500000030"
         "22C3A922"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(c.bytes), c.expected) << c.name;

    // A 300-byte document: the count runs into its second byte.
    const auto big = OrvoConfigCommand::Orvo::createSetCommand(std::string(300, 'a'));
    ASSERT_EQ(big.size(), 309u);
    EXPECT_EQ(hex(ByteBlock(big.begin(), big.begin() + 9)), "1B1D2923" "2D010000" "30");
}

TEST(OrvoConfigArea, FromSelectorByte) {
    EXPECT_EQ(orvoConfigArea(0x23), OrvoConfigArea::user);
    EXPECT_EQ(orvoConfigArea(0x3B), OrvoConfigArea::factory);
    for (int byte : {0x00, 0x24, 0x3A, 0x3C, 0xFF}) EXPECT_FALSE(orvoConfigArea(static_cast<std::uint8_t>(byte))) << byte;
    for (auto area : {OrvoConfigArea::user, OrvoConfigArea::factory})
        EXPECT_EQ(orvoConfigArea(orvoConfigAreaByte(area)), area);
    EXPECT_EQ(static_cast<int>(OrvoConfigArea::user), 0);
    EXPECT_EQ(static_cast<int>(OrvoConfigArea::factory), 1);
    const std::unordered_set<OrvoConfigArea> areas{OrvoConfigArea::user, OrvoConfigArea::factory, OrvoConfigArea::user};
    EXPECT_EQ(areas.size(), 2u);
    EXPECT_EQ(describeEnumeration(OrvoConfigurationSetResult::applied), "applied");
    EXPECT_EQ(describeEnumeration(OrvoConfigurationSetResult::accepted), "accepted");
}

TEST(OrvoConfigDocument, DecodesAndReencodesByteForByte) {
    const auto root = OrvoConfigFunction::orvoConfig(kFullDocument);
    EXPECT_EQ(root.title, "orvo_configuration");
    ASSERT_TRUE(root.firmwares);
    ASSERT_EQ(root.firmwares->size(), 1u);
    EXPECT_EQ((*root.firmwares)[0].deviceName, "printer");
    EXPECT_EQ((*root.firmwares)[0].selftestAfterWriting, "yes");
    ASSERT_TRUE(root.configurations);
    EXPECT_EQ((*root.configurations)[0].printBeforeWriting, "a");
    EXPECT_EQ(root.encode(), kFullDocument);
    EXPECT_EQ(OrvoConfigFunction::orvoConfig(root.encode()), root);

    // The description is the same document, pretty-printed.
    EXPECT_EQ(nlohmann::json::parse(root.description()), nlohmann::json::parse(kFullDocument));
    EXPECT_NE(root.description().find('\n'), std::string::npos);
}

TEST(OrvoConfigDocument, AbsentAndUnknownKeysStayOut) {
    // Spacing, key order, unknown keys (also inside the lists) and nulls for optional keys.
    const auto root = OrvoConfigFunction::orvoConfig(
        R"( { "extra": {"deep": [1, 2]}, "version" : "2", "notification": null, "title": "t",)"
        R"(   "configurations": [ {"device_name": "d", "unknown": 5} ] } )");
    EXPECT_FALSE(root.firmwares);
    EXPECT_FALSE(root.notification);
    EXPECT_EQ(root.encode(), R"({"title":"t","version":"2","configurations":[{"device_name":"d"}]})");

    EXPECT_EQ(OrvoConfigFunction::orvoConfig(R"({"title":"t","version":"1"})").encode(),
              R"({"title":"t","version":"1"})");
    EXPECT_EQ(OrvoConfigFunction::orvoConfig(R"({"title":"t","version":"1","firmwares":[]})").encode(),
              R"({"title":"t","version":"1","firmwares":[]})");
}

TEST(OrvoConfigDocument, BadInputFailsWithOneError) {
    const std::string cases[] = {
        "",
        "not json",
        "[]",
        R"({"title":"t"})",                                          // no version
        R"({"title":"t","version":1})",                              // wrong type
        R"({"title":"t","version":"1","notification":2})",           // optional of the wrong type
        R"({"title":"t","version":"1","firmwares":{}})",             // list of the wrong type
        R"({"title":"t","version":"1","firmwares":[{"action":"a"}]})",  // entry lacks required keys
        R"({"title":"t","version":"1","configurations":["d"]})",     // entry not an object
        R"({"title":"t","version":"1",)",                            // cut short
        std::string(R"({"title":"t","version":"\xFF"})"),            // not UTF-8
    };
    for (const auto& text : cases) {
        try {
            OrvoConfigFunction::orvoConfig(text);
            ADD_FAILURE() << "decoded: " << text;
        } catch (const Prelix10Error& error) {
            EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown) << text;
            EXPECT_EQ(error.errorCode(), Prelix10ErrorCode::none) << text;
            EXPECT_EQ(error.message(), "Unexpected state at line 9 of OrvoConfigFunction.") << text;
        }
    }
}

TEST(OrvoConfigDocument, EncodedTextIsStrictJsonWhateverTheValues) {
    OrvoConfig::Root root;
    root.title = OrvoConfig::kDocumentTitle;
    root.version = "say \"hi\" \\ back\n\t\x01";
    OrvoConfig::Firmware firmware;
    firmware.action = "write";
    firmware.deviceName = "dev\"ice";
    firmware.pathType = "local";
    firmware.path = "C:\\fw\\a.bin";
    firmware.fileType = std::string("\x7F\x1F");
    root.firmwares = std::vector<OrvoConfig::Firmware>{firmware};
    const auto text = root.encode();
    const auto parsed = nlohmann::json::parse(text, nullptr, false);
    ASSERT_FALSE(parsed.is_discarded()) << text;
    EXPECT_EQ(parsed["version"], root.version);
    EXPECT_EQ(OrvoConfigFunction::orvoConfig(text), root);
}
