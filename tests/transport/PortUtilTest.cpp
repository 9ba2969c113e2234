#include <gtest/gtest.h>

#include "LoopbackFixture.hpp"
#include "prelix10/core/GenericCache.hpp"
#include "prelix10/protocol/OrvoASBPrinterStatusParser.hpp"
#include "prelix10/transport/BaseRawPort.hpp"
#include "prelix10/transport/PortUtil.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

// A raw port over an in-memory buffer: what a test appends is what the port has received.
class MemoryRawPort final : public BaseRawPort, public BaseRawPortProtocol {
public:
    MemoryRawPort() : BaseRawPort("memory", "memory") {}
    GenericCache<std::uint8_t> cache{65535};
    ByteBlock written;
    bool connected = true;
    int reads = 0;

    bool internalIsConnected() const override { return connected; }
    InterfaceType internalInterfaceType() const override { return InterfaceType::usb; }
    std::vector<std::string> internalIdentifiers() const override { return {"memory"}; }
    void internalCheckAvailability() override {}
    void internalFindDevice(std::int64_t, Completion c) override { c(std::nullopt); }
    void internalOpen(std::int64_t, Completion c) override {
        connected = true;
        c(std::nullopt);
    }
    void internalClose() override { connected = false; }
    void internalReadOnce(std::int64_t size, ReadCompletion c) override {
        ++reads;
        c(cache.take(static_cast<int>(size)), std::nullopt);
    }
    void internalReadOnce(ByteRange r, ReadCompletion c) override {
        ByteBlock b = cache.read(static_cast<int>(r.lower), static_cast<int>(r.upper));
        cache.remove(static_cast<int>(r.lower), static_cast<int>(r.upper));
        c(b, std::nullopt);
    }
    void internalReadOnceUnconsumed(std::int64_t size, ReadCompletion c) override {
        c(cache.read(static_cast<int>(size)), std::nullopt);
    }
    void internalWrite(const ByteBlock& data, std::int64_t, Completion c) override {
        written.insert(written.end(), data.begin(), data.end());
        c(std::nullopt);
    }
};

// A port class that supplies no hooks.
class HooklessPort final : public BaseRawPort {
public:
    HooklessPort() : BaseRawPort("x", "x") {}
};

// A parser that reports whatever range it is told to.
class FixedParser final : public CommandParser {
public:
    explicit FixedParser(CommandParserResult r) : result(r) {}
    CommandParserResult result;
    ByteBlock requestCommands() const override { return {0x01}; }
    CommandParserResult parse(ByteView) override { return result; }
};

const char* kFrame9 = "23 00 00 00 00 00 00 00 00";

}  // namespace

TEST(PortUtilTest, TakesOnlyTheRecognisedFrameAndLeavesTheRest) {
    MemoryRawPort port;
    // Noise, a frame, then a second frame for the next exchange.
    port.cache.append(bytesFromHex(std::string("FE FE ") + kFrame9 + " " + kFrame9));
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin, bytesFromHex("1B 06 01"));
    PortUtil::retrieveInformationImpl(port, parser, 100, true);
    EXPECT_EQ(hex(port.written), "1B0601");
    ASSERT_TRUE(parser.status());
    EXPECT_FALSE(parser.status()->hasError());
    EXPECT_EQ(hex(port.readOnceUnconsumed(100)), "FEFE" + hex(bytesFromHex(kFrame9)));

    OrvoASBPrinterStatusStrictParser strict(OrvoPrinterEmulation::kestrin);
    port.readOnce(2);
    PortUtil::retrieveInformationImpl(port, strict, 0, false);  // a spent budget still parses once
    EXPECT_TRUE(port.readOnceUnconsumed(100).empty());
}

// A rejected reply is taken out of the buffer with the error. Left there, it would sit in front of every
// later reply, and a parser that looks only at the start of the buffer would reject each of them in turn:
// one bad reply would fail every later exchange until the port is closed.
TEST(PortUtilTest, InvalidReplyIsBadResponseAndDoesNotFailTheNextExchange) {
    MemoryRawPort port;
    port.cache.append(bytesFromHex("FE 00 00"));
    OrvoASBPrinterStatusStrictParser parser(OrvoPrinterEmulation::kestrin);
    EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(port, parser, 100, false), Prelix10ErrorKind::badResponse,
                          "Bad response from device.");
    EXPECT_TRUE(port.readOnceUnconsumed(100).empty());

    // The device's next reply is read as it should be.
    port.cache.append(bytesFromHex(kFrame9));
    OrvoASBPrinterStatusStrictParser next(OrvoPrinterEmulation::kestrin);
    PortUtil::retrieveInformationImpl(port, next, 100, false);
    ASSERT_TRUE(next.status());
    EXPECT_FALSE(next.status()->hasError());
    EXPECT_TRUE(port.readOnceUnconsumed(100).empty());
}

TEST(PortUtilTest, RangesOutsideTheBufferAreRefused) {
    const CommandParserResult bad[] = {CommandParserResult::complete(-1, -1), CommandParserResult::complete(0, 3),
                                       CommandParserResult::complete(2, 1)};
    for (const auto& result : bad) {
        MemoryRawPort port;
        port.cache.append(bytesFromHex("01 02 03"));
        FixedParser parser(result);
        EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(port, parser, 100, false),
                              Prelix10ErrorKind::badResponse, "Bad response from device.");
    }
}

TEST(PortUtilTest, WaitsForTheSecondPieceAndTimesOutWithoutIt) {
    MemoryRawPort port;
    port.cache.append(bytesFromHex("23 00 00 00"));
    OrvoASBPrinterStatusNonStrictParser parser(OrvoPrinterEmulation::kestrin);
    const auto took = timed([&] {
        EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(port, parser, 20, false),
                              Prelix10ErrorKind::communication, "Request timed out.");
    });
    EXPECT_GE(took, 20ms);
    std::thread second([&] {
        std::this_thread::sleep_for(30ms);
        port.cache.append(bytesFromHex("00 00 00 00 00"));
    });
    PortUtil::retrieveInformationImpl(port, parser, 1000, false);
    second.join();
    EXPECT_TRUE(parser.status());
    port.connected = false;
    EXPECT_PRELIX10_ERROR(PortUtil::retrieveInformationImpl(port, parser, 1000, false),
                          Prelix10ErrorKind::communication, "Open failed.");
}

TEST(BaseRawPortTest, ReadsAndDrainFollowTheResponseCache) {
    MemoryRawPort port;
    port.cache.append(bytesFromHex("00 01 02 03 04 05"));
    EXPECT_EQ(hex(port.readOnce(ByteRange{2, 4})), "020304");
    EXPECT_EQ(hex(port.readOnceUnconsumed(10)), "000105");
    port.cache.clear();
    port.cache.append(ByteBlock(12, 0xAA));
    EXPECT_PRELIX10_ERROR(port.readUntilSize(20, 0), Prelix10ErrorKind::communication, "Request timed out.");
    port.cache.append(ByteBlock(12, 0xAA));
    EXPECT_EQ(port.readUntilSize(10, 0).size(), 10u);
    EXPECT_EQ(port.readOnceUnconsumed(100).size(), 2u);

    port.cache.clear();
    port.cache.append(ByteBlock(3000, 0x55));
    port.reads = 0;
    port.clearReadBuffer();
    EXPECT_EQ(port.reads, 4);  // 1024, 1024, 952, 0

    port.connected = false;
    EXPECT_PRELIX10_ERROR(port.clearReadBuffer(), Prelix10ErrorKind::invalidOperation, "Not opened.");
    port.close();  // closed: nothing happens
}

TEST(BaseRawPortTest, AClassWithoutHooksFailsSafely) {
    HooklessPort port;
    EXPECT_EQ(port.interfaceType(), InterfaceType::unknown);
    EXPECT_TRUE(port.identifiers().empty());
    EXPECT_FALSE(port.isConnected());
    EXPECT_PRELIX10_ERROR(port.write({0x00}, 10), Prelix10ErrorKind::invalidOperation, "Not opened.");
    try {
        port.readOnce(1);
        ADD_FAILURE() << "read without hooks";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown);
        EXPECT_TRUE(error.message().starts_with("Unexpected state at line ")) << error.message();
        EXPECT_TRUE(error.message().ends_with(" of HooklessPort.")) << error.message();
    }
}
