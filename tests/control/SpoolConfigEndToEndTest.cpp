// Spooler and configuration requests over loopback TCP, through the LAN printer port of the maker's
// emulations, against the virtual printer's spooler and configuration store.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "../transport/LoopbackFixture.hpp"
#include "prelix10/control/OrvoPrinterControl.hpp"
#include "prelix10/transport/OrvoLANPrinterPort.hpp"
#include "support/CaptureWait.hpp"
#include "support/VirtualPrinterSpooler.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

const ByteBlock kJob = bytesFromHex("1B 40 48 65 6C 6C 6F 0A 1B 64 03");
const OrvoSpoolJobSettingsAdditionalInfo kHost{"", "", "", "shop app", "terminal 3", "Linux", "127.0.0.1"};

class SpoolConfigTest : public LoopbackFixture {
  protected:
    void SetUp() override {
        LoopbackFixture::SetUp();
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
        NetworkPortSettings::setPorts(LanPortNumbers{server->dataPort(), server->statusPort(), 22222});
        auto tcp = std::make_shared<TCPPort>("127.0.0.1", server->dataPort());
        tcp->setNicInformation(record());
        port = std::make_shared<OrvoLANPrinterPort>(tcp, false);
        port->setEmulation(OrvoPrinterEmulation::kestrin);
        port->open(3000);
        control = std::make_unique<OrvoPrinterControl>(port, true, true, false);
        // The open's last write may still be on its way: a capture cleared before it lands would catch it.
        EXPECT_TRUE(waitUntilCaptured(*engine, PrinterChannel::data, kAutomaticStatusOffHex));
        engine->clearCapture();
    }
    void TearDown() override {
        control.reset();
        port->close();
        NetworkPortSettings::setPorts(LanPortNumbers{});
        LoopbackFixture::TearDown();
    }

    std::unique_ptr<VirtualPrinterSpooler> spooler;
    std::shared_ptr<OrvoLANPrinterPort> port;
    std::unique_ptr<OrvoPrinterControl> control;
};

struct ExpectedError {
    Prelix10ErrorKind kind;
    Prelix10ErrorMessage message;
    Prelix10ErrorCode code;
};

void expectError(const std::function<void()>& call, const ExpectedError& expected) {
    try {
        call();
        ADD_FAILURE() << "no error";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), expected.kind) << error.description();
        EXPECT_EQ(error.message(), ErrorMessages::description(expected.message)) << error.description();
        EXPECT_EQ(error.errorCode(), expected.code) << error.description();
    }
}

}  // namespace

TEST_F(SpoolConfigTest, SpoolPrintReturnsTheJobIdAndTheJobCanBeAskedFor) {
    spooler->setNextJobId(42);
    EXPECT_EQ(control->printSpool(kJob, OrvoSpoolJobSettings(true, 60, "table \"7\""), kHost, 3000), 42);
    const auto jobs = spooler->jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(hex(jobs[0].data), hex(kJob));
    EXPECT_TRUE(jobs[0].retry);
    EXPECT_EQ(jobs[0].timeout, 60);
    const auto sent = nlohmann::json::parse(jobs[0].additionalInfo);
    EXPECT_EQ(sent["note"], "table \"7\"");
    EXPECT_EQ(sent["host_model"], "terminal 3");

    const OrvoSpoolJobStatus status = control->getSpoolJobStatus(42, 3000);
    EXPECT_EQ(status.jobId(), 42);
    EXPECT_EQ(status.jobState(), SpoolJobState::accepted);
    EXPECT_EQ(status.jobReceivedInterface(), SpoolJobReceivedInterface::lan);
    EXPECT_EQ(status.jobSettings(), OrvoSpoolJobSettings(true, 60, "table \"7\""));
    EXPECT_EQ(status.appInfo(), "shop app");
    EXPECT_EQ(status.hostIpAddress(), "127.0.0.1");

    EXPECT_EQ(control->printSpool(kJob, OrvoSpoolJobSettings(false, 0, ""), kHost, 3000), 43);
    const auto list = control->getSpoolJobStatusList(2000, 3000);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].jobId(), 43);
    EXPECT_EQ(control->getSpoolJobStatusList(0, 3000).size(), 0u);
    // Each request was written once, and none of them asked for a status block.
    EXPECT_EQ(spooler->requestCount(), 5u);
    EXPECT_EQ(engine->statusRequestCount(PrinterChannel::data), 0u);
}

TEST_F(SpoolConfigTest, RefusalsAndSpoolerStatesMapToTheirErrors) {
    const struct {
        std::uint8_t number;
        ExpectedError error;
    } refusals[] = {
        {3,
         {Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::spoolerIsDisabled,
          Prelix10ErrorCode::spoolerIsDisabled}},
        {2,
         {Prelix10ErrorKind::unprintable, Prelix10ErrorMessage::spoolerBufferIsNotEnough,
          Prelix10ErrorCode::spoolerBufferIsNotEnough}},
        {1,
         {Prelix10ErrorKind::argument, Prelix10ErrorMessage::badResponseFromDevice, Prelix10ErrorCode::none}},
        {0, {Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError, Prelix10ErrorCode::none}},
        {4, {Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError, Prelix10ErrorCode::none}},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(static_cast<int>(r.number));
        spooler->setRefusalNumber(r.number);
        expectError([&] { control->printSpool(kJob, OrvoSpoolJobSettings(false, 0, ""), kHost, 3000); },
                    r.error);
    }
    EXPECT_TRUE(spooler->jobs().empty());

    expectError([&] { control->getSpoolJobStatus(9, 3000); },
                {Prelix10ErrorKind::argument, Prelix10ErrorMessage::jobIdNotExist,
                 Prelix10ErrorCode::spoolerJobIdNotExists});
    spooler->setSpoolerEnabled(false);
    const ExpectedError disabled{Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::spoolerIsDisabled,
                                 Prelix10ErrorCode::spoolerIsDisabled};
    expectError([&] { control->getSpoolJobStatus(9, 3000); }, disabled);
    expectError([&] { control->getSpoolJobStatusList(5, 3000); }, disabled);
}

TEST_F(SpoolConfigTest, ArgumentsOutOfRangeAreRefusedBeforeAnythingIsSent) {
    const ExpectedError outOfRange{Prelix10ErrorKind::argument,
                                   Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification,
                                   Prelix10ErrorCode::none};
    std::string thirtyTwo;
    for (int i = 0; i < 32; ++i) thirtyTwo += "\xC3\xA9";  // 32 characters, 64 bytes
    const std::function<void()> refused[] = {
        [&] { control->getSpoolJobStatus(65536, 1000); },
        [&] { control->getSpoolJobStatus(-1, 1000); },
        [&] { control->getSpoolJobStatusList(2001, 1000); },
        [&] { control->getSpoolJobStatusList(-1, 1000); },
        [&] { control->getOrvoConfig(OrvoConfigArea::user, std::string(32, 'p'), 1000); },
        [&] { control->getOrvoConfig(OrvoConfigArea::factory, thirtyTwo, 1000); },
    };
    for (const auto& call : refused) expectError(call, outOfRange);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), "");

    // The limits themselves are sent.
    spooler->storeJob(StoredSpoolJob{65535, 6, 0, 4, false, 0, "", {}});
    EXPECT_EQ(control->getSpoolJobStatus(65535, 3000).jobId(), 65535);
    EXPECT_EQ(control->getSpoolJobStatusList(2000, 3000).size(), 1u);
    control->getOrvoConfig(OrvoConfigArea::user, thirtyTwo.substr(2), 3000);
    EXPECT_EQ(spooler->lastPassword(), thirtyTwo.substr(2));
    control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 3000);
    EXPECT_EQ(spooler->lastPassword(), "");
}

TEST_F(SpoolConfigTest, ConfigurationSetDetailMapping) {
    const struct {
        std::uint8_t result;
        std::uint8_t detail;
        std::optional<OrvoConfigurationSetResult> outcome;
        ExpectedError error;
    } cases[] = {
        {0x00, 0, OrvoConfigurationSetResult::applied, {}},
        {0x00, 1, OrvoConfigurationSetResult::accepted, {}},
        {0x00,
         2,
         std::nullopt,
         {Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError, Prelix10ErrorCode::none}},
        {0x01,
         5,
         std::nullopt,
         {Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigFormatError,
          Prelix10ErrorCode::orvoConfigurationFormatError}},
        {0x01,
         6,
         std::nullopt,
         {Prelix10ErrorKind::argument, Prelix10ErrorMessage::jsonFormatError,
          Prelix10ErrorCode::jsonFormatError}},
        {0x01,
         7,
         std::nullopt,
         {Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigParameterError,
          Prelix10ErrorCode::orvoConfigurationParameterError}},
        {0x01,
         8,
         std::nullopt,
         {Prelix10ErrorKind::argument, Prelix10ErrorMessage::orvoConfigSpecifiedFileError,
          Prelix10ErrorCode::orvoConfigurationSpecifiedFileError}},
        {0x01,
         10,
         std::nullopt,
         {Prelix10ErrorKind::authentication, Prelix10ErrorMessage::invalidPassword,
          Prelix10ErrorCode::invalidPassword}},
        {0x01,
         11,
         std::nullopt,
         {Prelix10ErrorKind::authentication, Prelix10ErrorMessage::needToChangePassword,
          Prelix10ErrorCode::needToChangePassword}},
        {0x01,
         0,
         std::nullopt,
         {Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError, Prelix10ErrorCode::none}},
        {0xFF,
         9,
         std::nullopt,
         {Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError, Prelix10ErrorCode::none}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.result) + "/" + std::to_string(c.detail));
        spooler->setSetReply(c.result, c.detail);
        if (c.outcome) {
            EXPECT_EQ(control->setOrvoConfig("{\"a\":1}", 3000), *c.outcome);
        } else {
            expectError([&] { control->setOrvoConfig("{\"a\":1}", 3000); }, c.error);
        }
    }
    EXPECT_EQ(spooler->document(0x23), "{\"a\":1}");
}

TEST_F(SpoolConfigTest, ALargeDocumentOverManyStatusBlocksComesBackIntact) {
    engine->configure([](VirtualPrinterConfig& c) { c.replyItemLimit = 500; });
    std::string document = "{\"items\":[";
    for (int i = 0; document.size() < 40 * 1024; ++i)
        document += (i ? ",\"" : "\"") + std::to_string(i) + " caf\xC3\xA9 \xE2\x82\xAC\"";
    document += "]}";
    spooler->setDocument(0x23, document);
    spooler->setDocument(0x3B, "{\"area\":\"factory\"}");
    EXPECT_EQ(control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 5000), document);
    EXPECT_EQ(control->getOrvoConfig(OrvoConfigArea::factory, std::string("secret"), 3000),
              "{\"area\":\"factory\"}");
}

TEST_F(SpoolConfigTest, ASilentPrinterTimesOutNearTheDeadline) {
    spooler->setSilent(true);
    const ExpectedError timedOut{Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut,
                                 Prelix10ErrorCode::none};
    const auto took = timed([&] { expectError([&] { control->getSpoolJobStatus(1, 300); }, timedOut); });
    EXPECT_GE(took, 300ms);
    // Well short of a second try's worth of waiting, with room for a loaded machine.
    EXPECT_LT(took, 1500ms);
    EXPECT_EQ(ErrorMessages::description(Prelix10ErrorMessage::requestTimedOut), "Request timed out.");
    expectError([&] { control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 100); }, timedOut);
    // The request went out once per call, never again while waiting. The second one may still be on its
    // way to the printer when its short wait ends, so the count is read once the printer has it.
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (spooler->requestCount() < 2u && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(5ms);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(spooler->requestCount(), 2u);
}

TEST_F(SpoolConfigTest, ADroppedConnectionFailsAtOnce) {
    spooler->setSilent(true);
    std::thread drop([&] {
        std::this_thread::sleep_for(100ms);
        server->dropConnections();
    });
    // Timed around the failing call itself: the error is what ends it.
    const auto took = timed([&] {
        try {
            control->getSpoolJobStatusList(5, 10000);
            ADD_FAILURE() << "no error";
        } catch (const Prelix10Error& error) {
            EXPECT_EQ(error.kind(), Prelix10ErrorKind::communication) << error.description();
            EXPECT_NE(error.message(), "Request timed out.");
        }
    });
    drop.join();
    EXPECT_LT(took, 2000ms);
}

TEST_F(SpoolConfigTest, GarbageRepliesAreBadResponses) {
    const Bytes garbage[] = {
        bytesFromHex("1B1D2920 05000000 39 0100 00 00"),  // spooler frame for no request
        bytesFromHex("1B1D2920 00000000"),                // no body at all
    };
    EXPECT_EQ(ErrorMessages::description(Prelix10ErrorMessage::badResponseFromDevice),
              "Bad response from device.");
    const ExpectedError bad{Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::badResponseFromDevice,
                            Prelix10ErrorCode::none};
    for (const auto& reply : garbage) {
        spooler->replaceNextReply(reply);
        expectError([&] { control->printSpool(kJob, OrvoSpoolJobSettings(false, 0, ""), kHost, 3000); }, bad);
    }
    spooler->replaceNextReply(bytesFromHex("1B1D2923 00000000"));
    expectError([&] { control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 3000); }, bad);
    spooler->replaceNextReply(bytesFromHex("1B1D2923 03000000 31 C328"));
    expectError([&] { control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 3000); }, bad);
    spooler->replaceNextReply(bytesFromHex("1B1D2923 02000000 30 00"));
    expectError([&] { control->setOrvoConfig("{}", 3000); }, bad);
    // The connection still serves the next request.
    EXPECT_EQ(control->getOrvoConfig(OrvoConfigArea::user, std::nullopt, 3000), "{}");
}

TEST_F(SpoolConfigTest, AReplyAnnouncingMoreThanCanArriveDoesNotStallLaterReplies) {
    spooler->replaceNextReply(bytesFromHex("1B1D2920 FFFFFFFF 31 0100 00"));
    expectError(
        [&] { control->getSpoolJobStatus(1, 200); },
        {Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut, Prelix10ErrorCode::none});
    spooler->setNextJobId(7);
    EXPECT_EQ(control->printSpool(kJob, OrvoSpoolJobSettings(false, 0, ""), kHost, 3000), 7);
    EXPECT_EQ(control->getSpoolJobStatus(7, 3000).jobId(), 7);
}

TEST_F(SpoolConfigTest, ModelsWithoutTheFeatureSendNothing) {
    OrvoPrinterControl plain(port, false, false, false);
    const ExpectedError unsupported{Prelix10ErrorKind::unsupportedModel,
                                    Prelix10ErrorMessage::notSupportedModel, Prelix10ErrorCode::none};
    expectError([&] { plain.printSpool(kJob, OrvoSpoolJobSettings(false, 0, ""), kHost, 1000); },
                unsupported);
    expectError([&] { plain.getSpoolJobStatus(1, 1000); }, unsupported);
    expectError([&] { plain.getSpoolJobStatusList(1, 1000); }, unsupported);
    expectError([&] { plain.setOrvoConfig("{}", 1000); }, unsupported);
    expectError([&] { plain.getOrvoConfig(OrvoConfigArea::user, std::nullopt, 1000); }, unsupported);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(hex(engine->capture(PrinterChannel::data)), "");
}
