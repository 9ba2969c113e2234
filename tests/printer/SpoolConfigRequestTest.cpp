// The spooler and configuration requests of the printer object, end to end: over loopback TCP against the
// virtual printer's spooler and configuration store, and over the simulated accessory.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "../transport/AccessoryFixture.hpp"
#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoLogger.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "support/Hex.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "support/VirtualPrinterSpooler.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace Prelix10::VelmarCommand;

namespace {

std::string receipt(const std::string& text) {
    VelmarCommandBuilder root;
    PrinterBuilder printer;
    printer.actionPrintText(text).actionCut(Printer::CutType::Partial);
    DocumentBuilder document;
    document.addPrinter(printer);
    root.addDocument(document);
    return root.getCommands();
}

template <typename F>
std::optional<Prelix10Error> errorOf(F&& f) {
    try {
        f();
    } catch (const Prelix10Error& error) {
        return error;
    }
    return std::nullopt;
}

void expectError(const std::optional<Prelix10Error>& error, Prelix10ErrorKind kind, const std::string& message) {
    ASSERT_TRUE(error) << "no error";
    EXPECT_EQ(error->kind(), kind) << error->description();
    EXPECT_EQ(error->message(), message) << error->description();
}

// Puts the host facts the tests change back to their defaults.
struct HostFactsReset {
    ~HostFactsReset() { HostFacts::resetDeviceFacts(); }
};

class SpoolConfigRequestTest : public ::testing::Test {
protected:
    void SetUp() override { start(DiscoveryIdentity{}); }
    void start(const DiscoveryIdentity& identity) {
        TearDown();
        engine = std::make_unique<VirtualPrinterEngine>();
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
        server = std::make_unique<VirtualPrinterServer>(*engine);
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
    }
    void TearDown() override {
        if (printer) printer->close().get();
        printer.reset();
        lan.reset();
        responder.reset();
        server.reset();
        spooler.reset();
        engine.reset();
    }
    void openPrinter() {
        printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
        printer->setOpenTimeout(5000);
        printer->setOrvoConfigurationTimeout(5000);
        printer->open().get();
    }
    // Reads the configuration with the password while logging to the files, and checks that the request was
    // logged with the password masked and the password's bytes appear nowhere.
    void expectPasswordMasked(const std::string& password);

    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterSpooler> spooler;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
    std::shared_ptr<OrvoPrinter> printer;
};

}  // namespace

TEST_F(SpoolConfigRequestTest, SpoolPrintSendsTheHostFactsAndTheJobMakesARoundTrip) {
    HostFactsReset reset;
    // Texts with quotes, backslashes and control characters still give the printer strict JSON.
    HostFacts::setApplicationDisplayName(std::string("Shop \"Till\" \\ 2\n"));
    HostFacts::setDeviceModel(std::string("Terminal\t\x01"));
    HostFacts::setOperatingSystem(std::string("Linux6.1.0-test"));
    openPrinter();
    spooler->setNextJobId(7);

    std::promise<std::pair<std::int64_t, std::optional<Prelix10Error>>> done;
    printer->print(receipt("Table 4\n"), OrvoSpoolJobSettings(true, 5000, "table \"4\""),
                   [&](std::int64_t jobId, std::optional<Prelix10Error> error) { done.set_value({jobId, error}); });
    const auto [jobId, error] = done.get_future().get();
    ASSERT_FALSE(error) << error->description();
    EXPECT_EQ(jobId, 7);

    const auto jobs = spooler->jobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_NE(hex(jobs[0].data).find(hex(ByteBlock{'T', 'a', 'b', 'l', 'e', ' ', '4'})), std::string::npos);
    EXPECT_EQ(jobs[0].timeout, 3600);
    const auto sent = nlohmann::json::parse(jobs[0].additionalInfo, nullptr, false);
    ASSERT_FALSE(sent.is_discarded()) << jobs[0].additionalInfo;
    EXPECT_EQ(sent["title"], "OrvoSpoolJobSettingsAdditionalInfo");
    EXPECT_EQ(sent["version"], "1.0.0");
    EXPECT_EQ(sent["note"], "table \"4\"");
    EXPECT_EQ(sent["app_info"], "Shop \"Till\" \\ 2\n");
    EXPECT_EQ(sent["host_model"], "Terminal\t\x01");
    EXPECT_EQ(sent["host_OS"], "Linux6.1.0-test");
    EXPECT_EQ(sent["host_IP"], "127.0.0.1");  // the local address on the printer's network
    EXPECT_TRUE(jobs[0].additionalInfo.ends_with("\"\n}"));

    // The printer reports the job back with what was sent.
    const auto status = printer->getSpoolJobStatus(7).get();
    EXPECT_EQ(status.jobId(), 7);
    EXPECT_EQ(status.jobState(), SpoolJobState::accepted);
    EXPECT_EQ(status.jobReceivedInterface(), SpoolJobReceivedInterface::lan);
    EXPECT_EQ(status.appInfo(), "Shop \"Till\" \\ 2\n");
    EXPECT_EQ(status.hostIpAddress(), "127.0.0.1");
    EXPECT_EQ(status.jobSettings(), OrvoSpoolJobSettings(true, 3600, "table \"4\""));
    EXPECT_EQ(printer->print(receipt("Table 5\n"), OrvoSpoolJobSettings(false, 0, "")).get(), 8);
    const auto list = printer->getSpoolJobStatusList(10).get();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[1].jobId(), 8);

    expectError(errorOf([&] { printer->getSpoolJobStatus(99).get(); }), Prelix10ErrorKind::argument,
                "Specified JobID does not exist.");
}

TEST_F(SpoolConfigRequestTest, ARefusedOrFailedSpoolPrintCompletesWithMinusOne) {
    auto spoolPrint = [&](const std::string& command) {
        std::promise<std::pair<std::int64_t, std::optional<Prelix10Error>>> done;
        printer->print(command, OrvoSpoolJobSettings(false, 0, ""),
                       [&](std::int64_t id, std::optional<Prelix10Error> error) { done.set_value({id, error}); });
        return done.get_future().get();
    };
    printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
    auto [closedId, closedError] = spoolPrint(receipt("x"));
    EXPECT_EQ(closedId, -1);
    expectError(closedError, Prelix10ErrorKind::invalidOperation, "Not opened.");

    openPrinter();
    spooler->setRefusalNumber(2);
    auto [refusedId, refused] = spoolPrint(receipt("x"));
    EXPECT_EQ(refusedId, -1);
    expectError(refused, Prelix10ErrorKind::unprintable, "Spooler buffer is not enough.");
    spooler->setRefusalNumber(std::nullopt);
    auto [badId, bad] = spoolPrint("{not a command document");
    EXPECT_EQ(badId, -1);
    EXPECT_TRUE(bad);
    EXPECT_TRUE(spooler->jobs().empty());
    EXPECT_EQ(spoolPrint(receipt("x")).first, 1);
}

TEST_F(SpoolConfigRequestTest, ConfigurationOfEachAreaIsReadAndWritten) {
    const std::string current = R"({"title":"orvo_configuration","version":"1.0","notification":"on"})";
    const std::string defaults = R"({"title":"orvo_configuration","version":"0.9"})";
    spooler->setDocument(0x23, current);
    spooler->setDocument(0x3B, defaults);
    openPrinter();

    EXPECT_EQ(printer->getOrvoConfiguration(std::string("s3cret")).get(), current);
    EXPECT_EQ(spooler->lastPassword(), "s3cret");
    // The default configuration is read without a password, whatever the last read carried.
    EXPECT_EQ(printer->getDefaultOrvoConfiguration().get(), defaults);
    EXPECT_EQ(spooler->lastPassword(), "");
    EXPECT_EQ(printer->getOrvoConfiguration(std::nullopt).get(), current);
    EXPECT_EQ(spooler->lastPassword(), "");

    const std::string updated = R"({"title":"orvo_configuration","version":"1.1"})";
    EXPECT_EQ(printer->setOrvoConfiguration(updated).get(), OrvoConfigurationSetResult::applied);
    EXPECT_EQ(spooler->document(0x23), updated);
    spooler->setSetReply(0x00, 1);
    std::promise<std::pair<OrvoConfigurationSetResult, std::optional<Prelix10Error>>> accepted;
    printer->setOrvoConfiguration(updated, [&](OrvoConfigurationSetResult result, std::optional<Prelix10Error> e) {
        accepted.set_value({result, e});
    });
    const auto [result, acceptedError] = accepted.get_future().get();
    EXPECT_FALSE(acceptedError);
    EXPECT_EQ(result, OrvoConfigurationSetResult::accepted);
}

TEST_F(SpoolConfigRequestTest, ModelsWithoutSpoolerOrStoreAreRefusedByTheControl) {
    DiscoveryIdentity telva;
    telva.deviceModel = "Telva65 (ORV-001)";
    telva.nameDetail = "Telva65";
    start(telva);
    openPrinter();
    ASSERT_EQ(printer->informationRecord()->model, OrvoPrinterModel::Telva_6);
    const std::vector<std::function<void()>> calls = {
        [&] { printer->print(receipt("x"), OrvoSpoolJobSettings(false, 0, "")).get(); },
        [&] { printer->getSpoolJobStatus(1).get(); },
        [&] { printer->getSpoolJobStatusList(1).get(); },
        [&] { printer->setOrvoConfiguration("{}").get(); },
        [&] { printer->getOrvoConfiguration(std::string("pw")).get(); },
        [&] { printer->getDefaultOrvoConfiguration().get(); },
    };
    for (const auto& call : calls) expectError(errorOf(call), Prelix10ErrorKind::unsupportedModel, "Not supported model.");
    EXPECT_EQ(spooler->requestCount(), 0u);
    EXPECT_TRUE(printer->isOpened());

    printer->close().get();
    for (const auto& call : calls) expectError(errorOf(call), Prelix10ErrorKind::invalidOperation, "Not opened.");
}

namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// "54, 72, 30" for "Tr0": how a byte block shows the text in a log line.
std::string loggedBytes(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (!out.empty()) out += ", ";
        out += hex(ByteBlock{c});
    }
    return out;
}

}  // namespace

TEST_F(SpoolConfigRequestTest, TheConfigurationPasswordNeverReachesTheLogFiles) {
    // 31 characters of a letter and twelve combining marks each: 775 bytes, as long as the control lets through.
    std::string longest;
    for (int i = 0; i < 31; ++i) {
        longest += static_cast<char>('a' + i % 26);
        for (int k = 0; k < 12; ++k) longest += "\xCC\x81";
    }
    ASSERT_EQ(longest.size(), 775u);
    for (const std::string& password : {std::string("Tr0ub4dor&3"), longest}) {
        SCOPED_TRACE(password.size());
        expectPasswordMasked(password);
    }
    // One character of more bytes than any real password: refused before anything is sent.
    std::string oneHuge = "a";
    for (int k = 0; k < 2100; ++k) oneHuge += "\xCC\x81";
    openPrinter();
    const auto error = errorOf([&] { printer->getOrvoConfiguration(oneHuge).get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
    printer->close().get();
}

void SpoolConfigRequestTest::expectPasswordMasked(const std::string& password) {
    // The file logger of this process, in the process's own private directory.
    if (!sharedOrvoLogger()) initOrvoLog((PrivateFileManager::getPrivateDirectory() / "logs").string());
    const auto fileLogger = sharedOrvoLogger();
    ASSERT_TRUE(fileLogger);
    const auto previousSink = OrvoLoggerWrapper::sink();
    OrvoLoggerWrapper::setSink(std::make_shared<OrvoLoggerSink>());
    auto& logger = Prelix10Logger::shared();
    logger.start();

    openPrinter();
    EXPECT_EQ(printer->getOrvoConfiguration(password).get(), "{}");
    EXPECT_EQ(spooler->lastPassword(), password);
    printer->close().get();

    logger.stop();
    OrvoLoggerWrapper::setSink(previousSink);
    fileLogger->waitUntilWritten();

    const auto files = fileLogger->listFiles();
    ASSERT_FALSE(files.empty());
    bool sawRequest = false;
    for (const auto& name : files) {
        const std::string text = readAll(fileLogger->getFullPath(name));
        EXPECT_EQ(text.find(password), std::string::npos) << name;
        EXPECT_EQ(text.find(loggedBytes(password)), std::string::npos) << name;
        // The request itself is logged, with the password masked.
        const auto total = std::to_string(password.size() + 9);
        if (text.find("Write - [1B, 1D, 29, 23, " + hex(ByteBlock{static_cast<std::uint8_t>((password.size() + 1) & 0xFF)}) +
                      ", " + hex(ByteBlock{static_cast<std::uint8_t>((password.size() + 1) >> 8)}) + ", 00, 00, 31, ***") != std::string::npos &&
            text.find("(" + total + " bytes)") != std::string::npos)
            sawRequest = true;
    }
    EXPECT_TRUE(sawRequest);
}

namespace {

class AccessorySpoolTest : public AccessoryFixture {
protected:
    void SetUp() override {
        AccessoryFixture::SetUp();
        engine->configure([](VirtualPrinterConfig& c) { c.automaticStatus = true; });
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
        addPrinter();
    }
    void TearDown() override {
        if (printer) printer->close().get();
        printer.reset();
        AccessoryFixture::TearDown();
    }
    std::unique_ptr<VirtualPrinterSpooler> spooler;
    std::shared_ptr<OrvoPrinter> printer;
};

}  // namespace

TEST_F(AccessorySpoolTest, OverBluetoothTheHostAddressIsEmpty) {
    PrinterInformationRecord information;
    information.model = OrvoPrinterModel::Ginor_6;
    information.emulation = OrvoPrinterEmulation::kestrin;
    printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::bluetooth, "00:11:62:AA:BB:CC", false),
                                  information);
    printer->setOpenTimeout(5000);
    printer->open().get();
    EXPECT_EQ(printer->print(receipt("x"), OrvoSpoolJobSettings(false, 10, "")).get(), 1);
    const auto jobs = spooler->jobs();
    ASSERT_EQ(jobs.size(), 1u);
    const auto sent = nlohmann::json::parse(jobs[0].additionalInfo);
    EXPECT_EQ(sent["host_IP"], "");
    EXPECT_EQ(printer->getSpoolJobStatus(1).get().hostIpAddress(), "");
}

// A printer that answers late: the answer to a job-status request that timed out reaches the next request,
// which must not take another job's record as its own.
TEST_F(SpoolConfigRequestTest, ALateAnswerForAnotherJobIsRefused) {
    StoredSpoolJob seven;
    seven.jobId = 7;
    StoredSpoolJob eight;
    eight.jobId = 8;
    spooler->storeJob(seven);
    spooler->storeJob(eight);
    openPrinter();
    printer->setGetStatusTimeout(1000);
    spooler->setRepliesOneRequestLate(true);
    const auto timedOut = errorOf([&] { printer->getSpoolJobStatus(7).get(); });
    ASSERT_TRUE(timedOut);
    EXPECT_EQ(timedOut->message(), "Request timed out.");
    const auto refused = errorOf([&] { printer->getSpoolJobStatus(8).get(); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->kind(), Prelix10ErrorKind::badResponse);
    spooler->setRepliesOneRequestLate(false);
    EXPECT_EQ(printer->getSpoolJobStatus(8).get().jobId(), 8);
    printer->close().get();
}
