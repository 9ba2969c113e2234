#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/protocol/PrinterStatusCommand.hpp"
#include "prelix10/protocol/StatusReplyParsers.hpp"
#include "support/Hex.hpp"
#include "support/VirtualPrinterEngine.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;

namespace {

struct ParseCase {
    const char* name;
    const char* bytes;
    CommandParserState state;
    std::int64_t lower;
    std::int64_t upper;
    // Checks on the decoded status after a complete parse.
    std::function<void(const OrvoPrinterStatus&)> check = nullptr;
};

void runCases(const char* parserName, const std::vector<ParseCase>& cases,
              const std::function<std::unique_ptr<CommandParser>()>& make,
              const std::function<std::shared_ptr<const OrvoPrinterStatus>(CommandParser&)>& statusOf) {
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(parserName) + ": " + c.name + " [" + c.bytes + "]");
        auto parser = make();
        const ByteBlock data = bytesFromHex(c.bytes);
        const CommandParserResult result = parser->parse(data);
        EXPECT_EQ(static_cast<int>(result.state), static_cast<int>(c.state));
        EXPECT_EQ(result.lowerIndex, c.lower);
        EXPECT_EQ(result.upperIndex, c.upper);
        if (c.check && result.state == CommandParserState::complete) {
            auto status = statusOf(*parser);
            ASSERT_TRUE(status);
            c.check(*status);
        }
    }
}

const CommandParserState kComplete = CommandParserState::complete;
const CommandParserState kInvalid = CommandParserState::invalid;
const CommandParserState kMore = CommandParserState::needMoreData;

}  // namespace

TEST(StatusRequestCommandTest, RequestBytes) {
    EXPECT_EQ(hex(PrinterStatusCommand::Orvo::automaticStatusRequest()), "1B0601");
    EXPECT_EQ(hex(PrinterStatusCommand::Orvo::eotStatusRequest()), "04");
    const ByteBlock port9101 = PrinterStatusCommand::Port9101::statusRequest();
    EXPECT_EQ(port9101.size(), 51u);
    EXPECT_EQ(hex(port9101), "32" + std::string(100, '0'));
    EXPECT_EQ(hex(PrinterStatusCommand::Port9101::endOfStatusExchange()), "00");
    EXPECT_EQ(hex(PrinterStatusCommand::EscPos::statusRequest()), "1B1D03040000100401100402100404");
    EXPECT_EQ(hex(PrinterStatusCommand::EscPosMobile::statusRequest()), "100404");
    EXPECT_EQ(hex(ETBCommand::OrvoEmulation::endOfJobMarker()), "17");
    EXPECT_EQ(hex(ETBCommand::OrvoOriginal::counterRequest()), "1B1D03000000");
    EXPECT_EQ(hex(ETBCommand::OrvoOriginal::command(3)), "1B1D03030000");
    EXPECT_EQ(hex(EscPosPrinterStatusParser().requestCommands()), "1B1D03040000100401100402100404");
    EXPECT_EQ(hex(OrvoEOTPrinterStatusParser().requestCommands()), "04");
    EXPECT_EQ(hex(OrvoOriginalETBCounterParser().requestCommands()), "1B1D03000000");
}

TEST(OrvoASBParserTest, NonStrictTable) {
    const std::vector<ParseCase> cases = {
        {"empty", "", kMore, -1, -1},
        {"9-byte frame", "23 00 00 00 00 00 00 00 00", kComplete, 0, 8,
         [](const OrvoPrinterStatus& s) {
             EXPECT_FALSE(s.hasError());
             EXPECT_EQ(s.detailInternal()->etbCounter(), 0);
             EXPECT_EQ(s.detailInternal()->version(), 0);
             EXPECT_FALSE(s.detailInternal()->boardOverTemperature().has_value());
             EXPECT_FALSE(s.detailInternal()->externalDevice12Ready().has_value());
         }},
        {"noise then frame", "FE 80 23 00 00 00 00 00 00 00 00", kComplete, 2, 10},
        {"noise that announces more", "FE 23 00", kMore, -1, -1},
        {"noise only", "FE 80 00 10", kMore, -1, -1},
        {"stray header with n=0 is skipped", "01 23 00 00 00 00 00 00 00 00", kComplete, 1, 9},
        {"header with n=1 is skipped", "03 FE", kMore, -1, -1},
        {"cover open, error, drawer", "23 00 2C 00 00 00 00 00 00", kComplete, 0, 8,
         [](const OrvoPrinterStatus& s) {
             EXPECT_TRUE(s.coverOpen());
             EXPECT_TRUE(s.hasError());
             EXPECT_TRUE(s.drawerOpenCloseSignal());
         }},
        {"paper empty and near empty, etb 5, paper present", "23 00 00 00 00 0C 02 0A 00", kComplete, 0, 8,
         [](const OrvoPrinterStatus& s) {
             EXPECT_TRUE(s.paperEmpty());
             EXPECT_TRUE(s.paperNearEmpty());
             EXPECT_EQ(s.detailInternal()->etbCounter(), 5);
             EXPECT_EQ(s.detailInternal()->paperPresent(), true);
         }},
        {"16-byte frame, external device 1/2 not ready", "41 00 00 00 00 00 00 00 00 00 00 00 02 00 00 04", kComplete, 0,
         15,
         [](const OrvoPrinterStatus& s) {
             EXPECT_EQ(s.detailInternal()->externalDevice12Ready(), false);
             EXPECT_EQ(s.detailInternal()->externalDevice34Ready(), true);
             EXPECT_EQ(s.detailInternal()->detectedPaperWidth(), 2);
             EXPECT_EQ(s.detailInternal()->drawer1OpenedMethod(), DrawerOpenedMethod::bitClear);
         }},
        {"thermistor bit 1 (not graphic)", "41 00 00 02 00 00 00 00 00 00 00 00 00 00 00 00", kComplete, 0, 15,
         [](const OrvoPrinterStatus& s) { EXPECT_EQ(s.detailInternal()->printHeadThermistorError(), true); }},
        {"extension L=0", "23 80 00 00 00 00 00 00 00 00 00", kComplete, 0, 10},
        {"extension L=1", "23 80 00 00 00 00 00 00 00 00 01 00", kMore, -1, -1},
        {"extension with :B item", "23 80 00 00 00 00 00 00 00 00 07 00 3A 42 00 02 AA BB", kComplete, 0, 17},
        {"extension without :B", "23 80 00 00 00 00 00 00 00 00 04 00 11 22 33", kMore, -1, -1},
        {"item length past the frame", "23 80 00 00 00 00 00 00 00 00 06 00 3A 42 00 09 AA", kMore, -1, -1},
        {"colon in the last byte", "23 80 00 00 00 00 00 00 00 00 03 00 00 3A 42 00 00", kMore, -1, -1},
        {"extension not all there", "23 80 00 00 00 00 00 00 00 00 07 00 3A", kMore, -1, -1},
        {"extension length not there", "23 80 00 00 00 00 00 00 00 00", kMore, -1, -1},
        // 9 + 2 + 0xFFF4 bytes fill a receive buffer exactly; one more can never be received whole.
        {"extension that just fits a buffer", "23 80 00 00 00 00 00 00 00 FF F4", kMore, -1, -1},
        {"extension too long for any buffer, then a frame",
         "23 80 00 00 00 00 00 00 00 FF F5 23 00 20 00 00 00 00 00 00", kComplete, 11, 19,
         [](const OrvoPrinterStatus& s) { EXPECT_TRUE(s.coverOpen()); }},
    };
    runCases("non-strict", cases,
             [] { return std::make_unique<OrvoASBPrinterStatusNonStrictParser>(OrvoPrinterEmulation::kestrin); },
             [](CommandParser& p) { return static_cast<BaseOrvoASBPrinterStatusParser&>(p).status(); });
}

TEST(OrvoASBParserTest, StrictLooksOnlyAtTheStartAndGraphicMovesTheThermistorBit) {
    OrvoASBPrinterStatusStrictParser strict(OrvoPrinterEmulation::kestrin);
    // Malformed extensions: invalid where they start (the non-strict scan skips them and waits).
    for (const char* bad : {"23 80 00 00 00 00 00 00 00 00 01 00", "23 80 00 00 00 00 00 00 00 00 04 00 11 22 33",
                            "23 80 00 00 00 00 00 00 00 00 06 00 3A 42 00 09 AA",
                            "23 80 00 00 00 00 00 00 00 00 03 00 00 3A 42 00 00", "01 00", "03 00",
                            "23 80 00 00 00 00 00 00 00 FF FF"}) {
        EXPECT_EQ(strict.parse(bytesFromHex(bad)), CommandParserResult::invalid()) << bad;
    }
    EXPECT_EQ(strict.parse(bytesFromHex("FE 23 00 00 00 00 00 00 00 00")), CommandParserResult::invalid());
    EXPECT_EQ(strict.parse(bytesFromHex("23 00 00")), CommandParserResult::needMoreData());

    const ByteBlock bit2 = bytesFromHex("41 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00");
    OrvoASBPrinterStatusNonStrictParser graphic(OrvoPrinterEmulation::orvoGraphic), line(OrvoPrinterEmulation::orvoLine);
    ASSERT_EQ(graphic.parse(bit2).state, kComplete);
    ASSERT_EQ(line.parse(bit2).state, kComplete);
    EXPECT_EQ(graphic.status()->detailInternal()->printHeadThermistorError(), true);
    EXPECT_EQ(line.status()->detailInternal()->printHeadThermistorError(), false);
}

TEST(OrvoASBParserTest, EachFrameCarriesItsOwnExtensionItem) {
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin);
    ASSERT_EQ(parser.parse(bytesFromHex("23 80 00 00 00 00 00 00 00 00 07 00 3A 42 00 02 AA BB")).state, kComplete);
    EXPECT_EQ(hex(*parser.extensionData()), "AABB");
    // A later frame without an item must not hand the earlier reply out again.
    ASSERT_EQ(parser.parse(bytesFromHex("23 00 00 00 00 00 00 00 00")).state, kComplete);
    ASSERT_TRUE(parser.extensionData());
    EXPECT_TRUE(parser.extensionData()->empty());
}

TEST(OrvoASBParserTest, DecodesWhatTheVirtualPrinterEncodes) {
    PrinterState state;
    state.coverOpen = true;
    state.paperNearEmpty = true;
    state.etbCounter = 17;
    state.externalDevice34NotReady = true;
    const ByteBlock reply = bytesFromHex("AB CD EF");
    const ByteBlock frame = encodeStatusBlock(state, 16, 3, &reply);
    OrvoASBPrinterStatusStrictParser parser(OrvoPrinterEmulation::kestrin);
    const auto result = parser.parse(frame);
    ASSERT_EQ(result.state, kComplete);
    EXPECT_EQ(result.upperIndex, static_cast<std::int64_t>(frame.size()) - 1);
    EXPECT_TRUE(parser.status()->coverOpen());
    EXPECT_TRUE(parser.status()->hasError());
    EXPECT_TRUE(parser.status()->paperNearEmpty());
    EXPECT_EQ(parser.status()->detailInternal()->etbCounter(), 17);
    EXPECT_EQ(parser.status()->detailInternal()->version(), 3);
    EXPECT_EQ(parser.status()->detailInternal()->externalDevice34Ready(), false);
    EXPECT_EQ(hex(*parser.extensionData()), "ABCDEF");
}

TEST(ShortStatusParserTest, EotTable) {
    runCases("EOT",
             {
                 {"empty", "", kMore, -1, -1},
                 {"paper empty", "18", kComplete, 0, 0,
                  [](const OrvoPrinterStatus& s) {
                      EXPECT_TRUE(s.paperEmpty());
                      EXPECT_TRUE(s.hasError());
                  }},
                 {"no error", "10", kComplete, 0, 0, [](const OrvoPrinterStatus& s) { EXPECT_FALSE(s.hasError()); }},
                 {"near empty bit 5, drawer", "B0", kComplete, 0, 0,
                  [](const OrvoPrinterStatus& s) {
                      EXPECT_TRUE(s.paperNearEmpty());
                      EXPECT_TRUE(s.drawerOpenCloseSignal());
                      EXPECT_FALSE(s.hasError());
                  }},
                 {"jam", "50 FF", kComplete, 0, 0,
                  [](const OrvoPrinterStatus& s) {
                      EXPECT_TRUE(s.hasError());
                      EXPECT_EQ(s.detailInternal()->paperJamError(), true);
                  }},
                 {"bad frame", "01", kInvalid, -1, -1},
             },
             [] { return std::make_unique<OrvoEOTPrinterStatusParser>(); },
             [](CommandParser& p) { return static_cast<OrvoEOTPrinterStatusParser&>(p).status(); });
}

TEST(ShortStatusParserTest, EscPosAutomaticStatusTable) {
    const std::vector<ParseCase> cases = {
        {"empty", "", kMore, -1, -1},
        {"drawer", "14 00 00 00", kComplete, 0, 3,
         [](const OrvoPrinterStatus& s) {
             EXPECT_TRUE(s.drawerOpenCloseSignal());
             EXPECT_FALSE(s.hasError());
         }},
        {"paper empty", "10 00 0C 00", kComplete, 0, 3,
         [](const OrvoPrinterStatus& s) {
             EXPECT_TRUE(s.paperEmpty());
             EXPECT_FALSE(s.paperNearEmpty());
         }},
        {"near empty", "10 00 03 00", kComplete, 0, 3, [](const OrvoPrinterStatus& s) { EXPECT_TRUE(s.paperNearEmpty()); }},
        {"three bytes", "10 FF FF", kMore, -1, -1},
        {"bad second byte", "10 80 00 00", kMore, -1, -1},  // non-strict: skipped, then nothing more
        {"noise then frame", "FF 10 00 00 00", kComplete, 1, 4},
    };
    runCases("ESC/POS ASB non-strict", cases, [] { return std::make_unique<EscPosASBPrinterStatusNonStrictParser>(); },
             [](CommandParser& p) { return static_cast<BaseEscPosASBPrinterStatusParser&>(p).status(); });
    EscPosASBPrinterStatusStrictParser strict;
    EXPECT_EQ(strict.parse(bytesFromHex("10 80 00 00")), CommandParserResult::invalid());
    EXPECT_EQ(strict.parse(bytesFromHex("FF 10 00 00 00")), CommandParserResult::invalid());
}

TEST(ShortStatusParserTest, EscPosRealTimeKeepsEarlierRepliesWhileWaiting) {
    EscPosPrinterStatusParser parser;
    EXPECT_EQ(parser.parse(bytesFromHex("")), CommandParserResult::needMoreData());
    EXPECT_EQ(parser.parse(bytesFromHex("1A")), CommandParserResult::needMoreData());
    ASSERT_TRUE(parser.status());
    EXPECT_TRUE(parser.status()->hasError());
    EXPECT_EQ(parser.parse(bytesFromHex("1A 12 52")), CommandParserResult::complete(0, 2));
    EXPECT_TRUE(parser.status()->hasError());
    EXPECT_TRUE(parser.status()->paperEmpty());
    EscPosPrinterStatusParser clean;
    EXPECT_EQ(clean.parse(bytesFromHex("12 12 12")), CommandParserResult::complete(0, 2));
    EXPECT_FALSE(clean.status()->hasError());
    EXPECT_EQ(clean.parse(bytesFromHex("12 13")), CommandParserResult::invalid());
}

TEST(ShortStatusParserTest, MobileAndEtbCounter) {
    EscPosMobilePrinterStatusParser mobile;
    EXPECT_EQ(mobile.parse(bytesFromHex("33")), CommandParserResult::complete(0, 0));
    EXPECT_TRUE(mobile.status()->paperEmpty());
    EXPECT_TRUE(mobile.status()->coverOpen());
    EXPECT_TRUE(mobile.status()->hasError());
    EXPECT_EQ(mobile.parse(bytesFromHex("03")), CommandParserResult::invalid());
    EXPECT_EQ(mobile.parse(bytesFromHex("")), CommandParserResult::needMoreData());

    OrvoOriginalETBCounterParser etb;
    EXPECT_EQ(etb.parse(bytesFromHex("00 1B 1D 03 00 00 00 05 00")), CommandParserResult::complete(1, 8));
    EXPECT_EQ(etb.etbCounter(), 5);
    OrvoOriginalETBCounterParser other;
    EXPECT_EQ(other.parse(bytesFromHex("1B 1D 03 02 00 00 05 00")), CommandParserResult::needMoreData());
    EXPECT_EQ(other.parse(bytesFromHex("1B 1D 03 01 00 00 FF 00")), CommandParserResult::complete(0, 7));
    EXPECT_EQ(other.etbCounter(), 255);
    EXPECT_EQ(other.parse(bytesFromHex("1B 1D 03")), CommandParserResult::needMoreData());
}
