// Spooler and configuration requests and reply parsers, as hex cases.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/protocol/ControlInternalFileCommand.hpp"
#include "prelix10/protocol/OrvoConfigReplyParsers.hpp"
#include "prelix10/protocol/SpoolCommand.hpp"
#include "prelix10/protocol/SpoolReplyParsers.hpp"
#include "support/Hex.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

struct Case {
    const char* name;
    const char* bytes;
    CommandParserState state;
};

template <typename Parser>
void runCases(const std::vector<Case>& cases, const std::function<Parser()>& make,
              const std::function<void(const char*, const Parser&)>& check = nullptr) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Parser parser = make();
        // A copy sized exactly, so that a read past the reply is seen by the sanitizers.
        const ByteBlock bytes = bytesFromHex(c.bytes);
        const auto exact = std::make_unique<std::uint8_t[]>(bytes.size() + 1);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        const CommandParserResult result = parser.parse(ByteView(exact.get(), bytes.size()));
        EXPECT_EQ(result.state, c.state);
        EXPECT_EQ(result.lowerIndex, -1);
        EXPECT_EQ(result.upperIndex, -1);
        if (check && result.state == CommandParserState::complete) check(c.name, parser);
    }
}

std::string info(const std::string& note) {
    OrvoSpoolJobSettingsAdditionalInfo host{"", "", "", "app", "model", "os", "10.0.0.2"};
    return SpoolCommand::Kestrin::additionalInfoText(OrvoSpoolJobSettings(false, 0, note), host);
}

}  // namespace

TEST(SpoolCommand, RequestBytes) {
    struct {
        const char* name;
        ByteBlock request;
        const char* expected;
    } cases[] = {
        {"status of job 258", SpoolCommand::Kestrin::getSpoolJobStatus(258), "1B1D2920030000003102 01"},
        {"status of job 65535", SpoolCommand::Kestrin::getSpoolJobStatus(65535), "1B1D292003000000 31 FFFF"},
        {"list of 5", SpoolCommand::Kestrin::getSpoolJobStatusList(5), "1B1D292003000000 32 0500"},
        {"list of 5000 is sent as 2000", SpoolCommand::Kestrin::getSpoolJobStatusList(5000),
         "1B1D292003000000 32 D007"},
        {"list of -1 is sent as 0", SpoolCommand::Kestrin::getSpoolJobStatusList(-1),
         "1B1D292003000000 32 0000"},
    };
    for (const auto& c : cases) EXPECT_EQ(hex(c.request), hex(bytesFromHex(c.expected))) << c.name;
    EXPECT_THROW(SpoolCommand::Kestrin::getSpoolJobStatus(65536), Prelix10Error);
    EXPECT_THROW(SpoolCommand::Kestrin::getSpoolJobStatus(-1), Prelix10Error);
}

TEST(SpoolCommand, PrintRequestCarriesSettingsInfoAndData) {
    const ByteBlock data = bytesFromHex("41 42 43 0A");
    OrvoSpoolJobSettingsAdditionalInfo host{"", "", "", "app", "model", "os", "10.0.0.2"};
    const ByteBlock request =
        SpoolCommand::Kestrin::printSpool(data, OrvoSpoolJobSettings(true, 60, "n"), host);
    const std::string text = info("n");
    EXPECT_EQ(text,
              "{\n\t\"title\": \"OrvoSpoolJobSettingsAdditionalInfo\",\n\t\"version\": "
              "\"1.0.0\",\n\t\"note\": \"n\",\n"
              "\t\"app_info\": \"app\",\n\t\"host_model\": \"model\",\n\t\"host_OS\": "
              "\"os\",\n\t\"host_IP\": \"10.0.0.2\"\n}");
    const std::size_t n = 6 + text.size() + data.size();
    ByteBlock expected{0x1B,
                       0x1D,
                       0x29,
                       0x20,
                       static_cast<std::uint8_t>(n),
                       static_cast<std::uint8_t>(n >> 8),
                       0,
                       0,
                       0x30,
                       0x01,
                       0x3C,
                       0x00,
                       static_cast<std::uint8_t>(text.size()),
                       0x00};
    expected.insert(expected.end(), text.begin(), text.end());
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(hex(request), hex(expected));
}

TEST(SpoolCommand, AdditionalInfoIsValidJsonWhateverTheNoteHolds) {
    for (const std::string& note : {std::string("quote \" and \\ back"), std::string("tab\tnl\ncr\r nul", 15),
                                    std::string("bad utf-8 \xC3\x28 \xFF"), std::string("ok \xE2\x82\xAC")}) {
        const auto parsed = nlohmann::json::parse(info(note), nullptr, false);
        ASSERT_FALSE(parsed.is_discarded()) << info(note);
        EXPECT_EQ(parsed["app_info"], "app");
        // Read back as the printer would report it: every field survives.
        const auto decoded = OrvoSpoolJobSettingsAdditionalInfo::decode(info(note));
        ASSERT_TRUE(decoded.has_value());
        if (note.starts_with("bad")) continue;  // invalid UTF-8 is replaced, not kept
        EXPECT_EQ(decoded->note, note);
    }
}

TEST(SpoolCommand, AdditionalInfoTooLongForItsLengthIsRefused) {
    OrvoSpoolJobSettingsAdditionalInfo host;
    host.app_info = std::string(65536, 'a');
    try {
        SpoolCommand::Kestrin::printSpool({0x41}, OrvoSpoolJobSettings(false, 0, ""), host);
        ADD_FAILURE() << "a 64 KiB text was framed";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::argument);
    }
}

TEST(SpoolPrintParser, Replies) {
    runCases<SpoolPrintParser>(
        {
            {"empty", "", CommandParserState::needMoreData},
            {"header only", "1B1D2920 05000000", CommandParserState::needMoreData},
            {"body still arriving", "1B1D2920 05000000 30 05", CommandParserState::needMoreData},
            {"accepted, job 5", "1B1D2920 05000000 30 0500 00 00", CommandParserState::complete},
            {"after stray bytes", "00 FF 1B 1B1D2920 05000000 30 0500 00 00", CommandParserState::complete},
            {"refused, number 3", "1B1D2920 05000000 30 0000 01 03", CommandParserState::complete},
            {"wrong function", "1B1D2920 05000000 31 0500 00 00", CommandParserState::invalid},
            {"body of 4", "1B1D2920 04000000 30 0500 00", CommandParserState::invalid},
            {"length 0", "1B1D2920 00000000", CommandParserState::invalid},
            {"length 2^32-1", "1B1D2920 FFFFFFFF 30 0500 00 00", CommandParserState::needMoreData},
            {"noise only", "00112233445566778899", CommandParserState::needMoreData},
        },
        [] { return SpoolPrintParser(); },
        [](const char* name, const SpoolPrintParser& p) {
            if (std::string(name) == "refused, number 3") {
                EXPECT_FALSE(p.isAccepted());
                EXPECT_EQ(p.errorNumber(), 3);
            } else {
                EXPECT_TRUE(p.isAccepted());
                EXPECT_EQ(p.jobId(), 5);
                EXPECT_EQ(p.errorNumber(), 0);
            }
        });
}

TEST(SpoolJobStatusParser, Replies) {
    // Job 7: state 12, elapsed 0x01020304, interface 4, retry, timeout 7200 (1C20), text "{}".
    runCases<SpoolJobStatusParser>(
        {
            {"exists", "1B1D2920 11000000 31 0700 00 0C 04030201 04 01 201C 0200 7B7D",
             CommandParserState::complete},
            {"no such job", "1B1D2920 04000000 31 0700 01", CommandParserState::complete},
            {"spooler disabled", "1B1D2920 04000000 31 0700 02", CommandParserState::complete},
            {"exists, body too short for its record", "1B1D2920 08000000 31 0700 00 0C 040302",
             CommandParserState::invalid},
            {"exists, text longer than the body",
             "1B1D2920 11000000 31 0700 00 0C 04030201 04 01 201C FF00 7B7D", CommandParserState::invalid},
            {"no result byte", "1B1D2920 03000000 31 0700", CommandParserState::invalid},
            {"length 0", "1B1D2920 00000000", CommandParserState::invalid},
            {"wrong function", "1B1D2920 04000000 30 0700 01", CommandParserState::invalid},
        },
        [] { return SpoolJobStatusParser(); },
        [](const char* name, const SpoolJobStatusParser& p) {
            const std::string n = name;
            EXPECT_EQ(p.isSpoolerEnabled(), n != "spooler disabled");
            EXPECT_EQ(p.jobExists(), n == "exists");
            ASSERT_EQ(p.orvoSpoolJobStatus().has_value(), n == "exists");
            if (n != "exists") return;
            const auto& s = *p.orvoSpoolJobStatus();
            EXPECT_EQ(s.jobId(), 7);
            EXPECT_EQ(s.jobState(), SpoolJobState::unknown);
            EXPECT_EQ(s.elapsedTime(), 0x01020304);
            EXPECT_EQ(s.jobReceivedInterface(), SpoolJobReceivedInterface::lan);
            EXPECT_TRUE(s.jobSettings().isRetryEnabled());
            EXPECT_EQ(s.jobSettings().timeout(), 3600);
            EXPECT_EQ(s.appInfo(), "");  // "{}" lacks the keys: the default info
        });
}

TEST(SpoolJobStatusListParser, Replies) {
    const std::string text = info("hello");
    const std::string textHex = hex(ByteBlock(text.begin(), text.end()));
    char length[5];
    std::snprintf(length, sizeof length, "%02X%02X", static_cast<unsigned>(text.size() & 0xFF),
                  static_cast<unsigned>(text.size() >> 8));
    const std::string record2 = "0200 06 0A000000 00 00 3C00 " + std::string(length) + textHex;
    const std::size_t bodyLength = 4 + 15 + 13 + text.size();
    char bodyLengthHex[9];
    std::snprintf(bodyLengthHex, sizeof bodyLengthHex, "%02X%02X0000",
                  static_cast<unsigned>(bodyLength & 0xFF), static_cast<unsigned>(bodyLength >> 8));
    const std::string two = "1B1D2920 " + std::string(bodyLengthHex) +
                            " 32 0200 00 0100 01 00000000 0C 00 0000 0200 7B7D " + record2;
    runCases<SpoolJobStatusListParser>(
        {
            {"two records", two.c_str(), CommandParserState::complete},
            {"empty and enabled", "1B1D2920 04000000 32 0000 00", CommandParserState::complete},
            {"disabled", "1B1D2920 04000000 32 0300 01", CommandParserState::complete},
            {"records past the body", "1B1D2920 11000000 32 0200 00 0100 01 00000000 0C 00 0000 0000",
             CommandParserState::invalid},
            {"no result byte", "1B1D2920 03000000 32 0000", CommandParserState::invalid},
            {"length 0", "1B1D2920 00000000", CommandParserState::invalid},
        },
        [] { return SpoolJobStatusListParser(); },
        [](const char* name, const SpoolJobStatusListParser& p) {
            const std::string n = name;
            EXPECT_EQ(p.isSpoolerEnabled(), n != "disabled");
            if (n != "two records") {
                EXPECT_TRUE(p.orvoSpoolJobStatusList().empty());
                return;
            }
            ASSERT_EQ(p.orvoSpoolJobStatusList().size(), 2u);
            const auto& first = p.orvoSpoolJobStatusList()[0];
            EXPECT_EQ(first.jobId(), 1);
            EXPECT_EQ(first.jobState(), SpoolJobState::accepted);
            EXPECT_EQ(first.jobReceivedInterface(), SpoolJobReceivedInterface::qvtd);
            const auto& second = p.orvoSpoolJobStatusList()[1];
            EXPECT_EQ(second.jobId(), 2);
            EXPECT_EQ(second.jobState(), SpoolJobState::printSucceeded);
            EXPECT_EQ(second.elapsedTime(), 10);
            EXPECT_EQ(second.jobReceivedInterface(), SpoolJobReceivedInterface::usbPrinterClass);
            EXPECT_EQ(second.jobSettings().timeout(), 60);
            EXPECT_EQ(second.jobSettings().note(), "hello");
            EXPECT_EQ(second.hostIpAddress(), "10.0.0.2");
        });
}

TEST(SetOrvoConfigParser, Replies) {
    runCases<SetOrvoConfigParser>(
        {
            {"success, applied", "1B1D2923 03000000 30 00 00", CommandParserState::complete},
            {"failure, detail 10", "1B1D2923 03000000 30 01 0A", CommandParserState::complete},
            {"payload of 2", "1B1D2923 02000000 30 00", CommandParserState::invalid},
            {"length 0", "1B1D2923 00000000", CommandParserState::invalid},
            {"get function", "1B1D2923 03000000 31 00 00", CommandParserState::invalid},
            {"payload still due", "1B1D2923 03000000 30 00", CommandParserState::needMoreData},
            {"length 2^32-1", "1B1D2923 FFFFFFFF 30 00 00", CommandParserState::needMoreData},
            {"factory header", "1B1D293B 03000000 30 00 00", CommandParserState::needMoreData},
        },
        [] { return SetOrvoConfigParser(); },
        [](const char* name, const SetOrvoConfigParser& p) {
            const bool success = std::string(name) == "success, applied";
            EXPECT_EQ(p.isSuccess(), success);
            EXPECT_EQ(p.detail(), success ? 0 : 10);
        });
    SetOrvoConfigParser parser;
    EXPECT_FALSE(parser.isSuccess());
    EXPECT_EQ(parser.detail(), 0xFF);
}

TEST(GetOrvoConfigParser, Replies) {
    const std::vector<Case> user{
        {"braces", "1B1D2923 03000000 31 7B7D", CommandParserState::complete},
        {"factory reply to a user request", "1B1D293B 03000000 31 7B7D", CommandParserState::needMoreData},
        {"length 0", "1B1D2923 00000000", CommandParserState::invalid},
        {"length 1, empty document", "1B1D2923 01000000 31", CommandParserState::complete},
        {"set function", "1B1D2923 03000000 30 7B7D", CommandParserState::invalid},
        {"not UTF-8", "1B1D2923 03000000 31 C328", CommandParserState::invalid},
        {"truncated UTF-8", "1B1D2923 03000000 31 41E2", CommandParserState::invalid},
        {"document still due", "1B1D2923 05000000 31 7B7D", CommandParserState::needMoreData},
        {"length 2^32-1", "1B1D2923 FFFFFFFF 31 7B7D", CommandParserState::needMoreData},
    };
    runCases<GetOrvoConfigParser>(
        user, [] { return GetOrvoConfigParser({}, OrvoConfigArea::user); },
        [](const char* name, const GetOrvoConfigParser& p) {
            EXPECT_EQ(p.orvoConfig(), std::string(name) == "braces" ? "{}" : "");
        });
    runCases<GetOrvoConfigParser>(
        {{"factory", "1B1D293B 04000000 31 E282AC", CommandParserState::complete},
         {"user reply to a factory request", "1B1D2923 03000000 31 7B7D", CommandParserState::needMoreData}},
        [] { return GetOrvoConfigParser({}, OrvoConfigArea::factory); },
        [](const char*, const GetOrvoConfigParser& p) { EXPECT_EQ(p.orvoConfig(), "\xE2\x82\xAC"); });
}

TEST(ControlInternalFileCommandParser, Replies) {
    runCases<ControlInternalFileCommandParser>(
        {
            {"receiving", "1B1D5D4631 000000000000 01", CommandParserState::complete},
            {"not receiving", "1B1D5D4631 000000000000 00", CommandParserState::complete},
            {"state 02", "1B1D5D4631 000000000000 02", CommandParserState::invalid},
            {"first 11 bytes", "1B1D5D4631 000000000000", CommandParserState::needMoreData},
            {"after noise", "FF FF 1B1D5D4631 000000000000 01", CommandParserState::complete},
        },
        [] {
            ControlInternalFileCommandParser p;
            p.setReceivingData(false);
            return p;
        },
        [](const char* name, const ControlInternalFileCommandParser& p) {
            EXPECT_EQ(p.isReceivingData(), std::string(name) != "not receiving");
        });
}

TEST(ControlInternalFileCommand, SendData) {
    EXPECT_EQ(hex(ControlInternalFileCommand::Orvo::createSendData("a", {0x41, 0x42})),
              "1B1D5D463101006102000000"
              "4142");
    EXPECT_EQ(hex(ControlInternalFileCommand::Orvo::createSendData("", {})),
              "1B1D5D46310000"
              "00000000");
    try {
        ControlInternalFileCommand::Orvo::createSendData("caf\xC3\xA9", {});
        ADD_FAILURE() << "a name that is not ASCII was sent";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown);
    }
    try {
        ControlInternalFileCommand::Orvo::createSendData(std::string(65536, 'f'), {});
        ADD_FAILURE() << "a name too long for its length field was sent";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::argument);
    }
}

TEST(OrvoConfigCommand, RequestBytes) {
    EXPECT_EQ(hex(OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::user, std::nullopt)),
              "1B1D29230100000031");
    EXPECT_EQ(hex(OrvoConfigCommand::Orvo::createGetCommand(OrvoConfigArea::factory, std::string("pw"))),
              "1B1D293B03000000"
              "317077");
    EXPECT_EQ(hex(OrvoConfigCommand::Orvo::createSetCommand("{}")),
              "1B1D292303000000"
              "307B7D");
}
