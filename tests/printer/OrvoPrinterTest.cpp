#include <gtest/gtest.h>

#include <chrono>
#include <dirent.h>
#include <thread>
#include <unistd.h>

#include "prelix10/builder/VelmarCommandBuilder.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "support/Hex.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace Prelix10::VelmarCommand;
using namespace std::chrono_literals;

namespace {

std::size_t threadCount() {
    std::size_t n = 0;
    if (DIR* dir = ::opendir("/proc/self/task")) {
        while (auto* entry = ::readdir(dir))
            if (entry->d_name[0] != '.') ++n;
        ::closedir(dir);
    }
    return n;
}

std::string receiptDocument() {
    VelmarCommandBuilder root;
    PrinterBuilder printer;
    printer.styleAlignment(Printer::Alignment::Center).actionPrintText("Corner Cafe\n").actionCut(Printer::CutType::Partial);
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

class OrvoPrinterTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<VirtualPrinterEngine>();
        server = std::make_unique<VirtualPrinterServer>(*engine);
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
    }
    void TearDown() override {
        lan.reset();
        responder.reset();
        server.reset();
    }
    std::shared_ptr<OrvoPrinter> makePrinter() {
        auto printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
        printer->setOpenTimeout(5000);
        return printer;
    }

    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
};

}  // namespace

TEST_F(OrvoPrinterTest, EveryOperationButOpenAndCloseNeedsAnOpenPrinter) {
    auto printer = makePrinter();
    const std::vector<std::function<void()>> operations = {
        [&] { printer->print(receiptDocument()).get(); },
        [&] { printer->print(ByteBlock{0x41}).get(); },
        [&] { printer->write(ByteBlock{0x41}, 1000).get(); },
        [&] { printer->read(10).get(); },
        [&] { printer->getStatus().get(); },
    };
    for (const auto& operation : operations) {
        auto error = errorOf(operation);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::invalidOperation);
        EXPECT_EQ(error->message(), "Not opened.");
        EXPECT_EQ(error->errorCode(), Prelix10ErrorCode::none);
    }
    printer->close().get();  // closing a closed printer only completes
    EXPECT_EQ(engine->captureSize(PrinterChannel::data), 0u);
}

TEST_F(OrvoPrinterTest, OnePrintRequestEndToEndInBothForms) {
    auto printer = makePrinter();
    // Completion form.
    std::promise<std::optional<Prelix10Error>> opened;
    printer->open([&](std::optional<Prelix10Error> error) { opened.set_value(error); });
    auto openError = opened.get_future().get();
    ASSERT_FALSE(openError) << openError->description();
    EXPECT_TRUE(printer->isOpened());
    EXPECT_EQ(printer->informationRecord()->model, OrvoPrinterModel::Ginor_6);
    EXPECT_EQ(printer->informationRecord()->emulation, OrvoPrinterEmulation::kestrin);
    EXPECT_FALSE(printer->informationRecord()->modelDetectionInformation->isEstimated());

    std::promise<std::optional<Prelix10Error>> printed;
    printer->print(receiptDocument(), [&](std::optional<Prelix10Error> error) { printed.set_value(error); });
    auto printError = printed.get_future().get();
    ASSERT_FALSE(printError) << printError->description();
    const std::string received = hex(engine->printedData());
    EXPECT_NE(received.find(hex(ByteBlock{'C', 'o', 'r', 'n', 'e', 'r', ' ', 'C', 'a', 'f', 'e'})), std::string::npos)
        << received;
    EXPECT_GE(engine->etbMarkerCount(), 1u);

    std::promise<std::shared_ptr<const OrvoPrinterStatus>> statusPromise;
    printer->getStatus([&](std::shared_ptr<const OrvoPrinterStatus> status, std::optional<Prelix10Error>) {
        statusPromise.set_value(status);
    });
    auto status = statusPromise.get_future().get();
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->hasError());

    // Awaitable form.
    engine->update([](PrinterState& s) { s.paperNearEmpty = true; });
    printer->print(receiptDocument()).get();
    EXPECT_TRUE(printer->getStatus().get()->paperNearEmpty());
    auto again = errorOf([&] { printer->open().get(); });
    ASSERT_TRUE(again);
    EXPECT_EQ(again->message(), "Already Opened.");
    printer->close().get();
    EXPECT_FALSE(printer->isOpened());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);
}

TEST_F(OrvoPrinterTest, TheSameDeviceOpensOnceInTheProcess) {
    auto first = makePrinter();
    first->open().get();
    auto second = makePrinter();
    auto error = errorOf([&] { second->open().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::inUse);
    EXPECT_EQ(error->message(), "The device is in use by another process.");
    first->close().get();
    second->open().get();
    second->close().get();
}

TEST_F(OrvoPrinterTest, CloseReleasesEverythingAndLeavesNoThread) {
    // Let the pool threads of earlier work wind down first, then count.
    {
        auto warm = makePrinter();
        warm->open().get();
        warm->close().get();
    }
    std::this_thread::sleep_for(6s);
    const std::size_t before = threadCount();
    {
        auto printer = makePrinter();
        printer->open().get();
        printer->print(receiptDocument()).get();
        printer->close().get();
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);
    }
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (threadCount() > before && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(50ms);
    EXPECT_LE(threadCount(), before);
}

TEST_F(OrvoPrinterTest, ErrorsWhenThePrinterIsAbsentRefusesOrTimesOut) {
    // Absent: nobody answers the lookup.
    responder->setSilent(true);
    auto printer = makePrinter();
    printer->setOpenTimeout(800);
    auto absent = errorOf([&] { printer->open().get(); });
    ASSERT_TRUE(absent);
    EXPECT_EQ(absent->kind(), Prelix10ErrorKind::notFound) << absent->description();
    EXPECT_EQ(absent->message(), "Device not found.");
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);

    // Refuses: the printer answers the lookup but takes no connection.
    responder->setSilent(false);
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.refuse = true; }));
    printer->setOpenTimeout(2000);
    auto refused = errorOf([&] { printer->open().get(); });
    ASSERT_TRUE(refused);
    // A printer whose port refuses every connection is taken as held by another host.
    EXPECT_EQ(refused->kind(), Prelix10ErrorKind::inUse) << refused->description();
    EXPECT_EQ(refused->message(), "The device is in use by another host.");
    EXPECT_FALSE(printer->isOpened());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);

    // Times out: the printer never reports the job as printed.
    server->setFaults(PrinterChannel::data, ConnectionFaults{});
    printer->setOpenTimeout(5000);
    printer->open().get();
    engine->configure([](VirtualPrinterConfig& c) { c.countsEtb = false; });
    printer->setPrintTimeout(700);
    auto timedOut = errorOf([&] { printer->print(receiptDocument()).get(); });
    ASSERT_TRUE(timedOut);
    EXPECT_EQ(timedOut->kind(), Prelix10ErrorKind::unprintable);
    EXPECT_EQ(timedOut->message(), "Print timed out.");
    EXPECT_EQ(timedOut->errorCode(), Prelix10ErrorCode::printingTimeout);
    EXPECT_TRUE(printer->isOpened());  // a failed print leaves the connection open
    printer->close().get();
}

TEST_F(OrvoPrinterTest, DestroyingAnOpenPrinterReleasesTheDevice) {
    {
        auto printer = makePrinter();
        printer->open().get();
    }
    auto next = makePrinter();
    next->open().get();
    next->close().get();
}

TEST_F(OrvoPrinterTest, APrinterFoundByDiscoveryOpensWithoutDetection) {
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto found = manager->findDevice({"00:11:62:aa:bb:cc"}, 3000);
    // The lookup ends on the first reply; its second request may still be on its way to the responder.
    std::this_thread::sleep_for(200ms);
    const auto requestsBefore = responder->requestCount();
    found->open().get();
    EXPECT_EQ(found->informationRecord()->model, OrvoPrinterModel::Ginor_6);
    // Only the lookup of the MAC address asked the network; no detection round followed it.
    EXPECT_LE(responder->requestCount() - requestsBefore, 2u);
    found->print(ByteBlock{'h', 'i', '\n'}).get();
    EXPECT_NE(hex(engine->printedData()).find("68690A"), std::string::npos);
    found->close().get();
}

TEST_F(OrvoPrinterTest, ModelsThatMayNotBeOpenedAreRefusedAndReleased) {
    struct Case {
        const char* deviceModel;
        const char* why;
    };
    const Case cases[] = {
        {"Zunel59 (ORV_T-001)", "the model's record forbids opening"},
        {"Unheard Of (XYZ-001)", "no model is detected"},
    };
    for (const auto& c : cases) {
        DiscoveryIdentity id;
        id.deviceModel = c.deviceModel;
        responder.reset();
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{id});
        lan.reset();
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
        auto printer = makePrinter();
        auto error = errorOf([&] { printer->open().get(); });
        ASSERT_TRUE(error) << c.why;
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::unsupportedModel) << c.why;
        EXPECT_EQ(error->message(), "Not supported model.") << c.why;
        EXPECT_FALSE(printer->isOpened());
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u) << c.why;
    }
}

TEST_F(OrvoPrinterTest, CompileErrorsEndThePrintAndKeepThePrinterOpen) {
    auto printer = makePrinter();
    printer->open().get();
    const auto before = engine->captureSize(PrinterChannel::data);
    auto error = errorOf([&] { printer->print(std::string("{ not a document")).get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->errorCode(), Prelix10ErrorCode::jsonFormatError) << error->description();
    EXPECT_EQ(engine->captureSize(PrinterChannel::data), before);
    EXPECT_TRUE(printer->isOpened());
    // A changed timeout applies to the operations that start after it.
    printer->setPrintTimeout(5000);
    printer->print(receiptDocument()).get();
    printer->close().get();
}

TEST_F(OrvoPrinterTest, APrinterThatNeverAnswersTimesTheStatusOut) {
    server->setFaults(PrinterChannel::data, makeFaults([](auto& f) { f.silent = true; }));
    server->setFaults(PrinterChannel::status, makeFaults([](auto& f) { f.silent = true; }));
    auto printer = makePrinter();
    printer->open().get();
    printer->setGetStatusTimeout(600);
    const auto start = std::chrono::steady_clock::now();
    auto error = errorOf([&] { printer->getStatus().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication) << error->description();
    EXPECT_EQ(error->message(), "Request timed out.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_TRUE(printer->isOpened());
    printer->close().get();
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);
}

namespace {

class CountingSink : public LogSink {
public:
    void initialize(const std::string&) override {}
    void setHeader(const std::string&) override {}
    void log(const std::string& line) override {
        std::lock_guard guard(mutex);
        lines.push_back(line);
    }
    std::vector<std::string> linesContaining(const std::string& text) {
        std::lock_guard guard(mutex);
        std::vector<std::string> out;
        for (const auto& line : lines)
            if (line.find(text) != std::string::npos) out.push_back(line);
        return out;
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

}  // namespace

TEST_F(OrvoPrinterTest, LargeBlocksCostTheCallerNothingAndAreLoggedBounded) {
    auto& logger = Prelix10Logger::shared();
    auto previousSink = OrvoLoggerWrapper::sink();
    auto sink = std::make_shared<CountingSink>();
    OrvoLoggerWrapper::setSink(sink);
    auto printer = makePrinter();
    const ByteBlock block(6 * 1024 * 1024, 0x41);

    // Logging off: the public calls describe nothing and log nothing; the queued bodies report "Not opened.".
    logger.stop();
    const auto describedBefore = Util::describedByteBlocks();
    auto rawPrinted = printer->print(block);
    auto written = printer->write(block, 1000);
    EXPECT_EQ(Util::describedByteBlocks(), describedBefore);
    EXPECT_EQ(errorOf([&] { rawPrinted.get(); })->message(), "Not opened.");
    EXPECT_EQ(errorOf([&] { written.get(); })->message(), "Not opened.");
    EXPECT_TRUE(sink->linesContaining("Impl(").empty());

    // Logging on: each call logs one line with the block's length and its first bytes only.
    logger.start();
    printer->print(block, [](std::optional<Prelix10Error>) {});
    printer->write(block, 1000, [](std::optional<Prelix10Error>) {});
    printer->close().get();
    logger.stop();
    OrvoLoggerWrapper::setSink(previousSink);
    for (const char* site : {"printImpl(raw:completion:) ", "writeImpl(data:timeout:completion:) "}) {
        const auto lines = sink->linesContaining(site);
        ASSERT_EQ(lines.size(), 2u) << site;  // the call's parameters, then the state error
        EXPECT_LT(lines[0].size(), 400u) << site;
        EXPECT_NE(lines[0].find("Parameter - [41, 41, "), std::string::npos) << lines[0].substr(0, 400);
        EXPECT_NE(lines[0].find("...] (6291456 bytes)"), std::string::npos) << lines[0].substr(0, 400);
    }
}

// Process exit right after a printer was dropped inside its own completion: the last reference goes on the
// printer's queue, which closes the connection and releases the device while the main thread exits. The
// child must end by itself (an alarm kills it otherwise) and cleanly (a sanitizer report changes its exit code).
TEST_F(OrvoPrinterTest, ProcessExitsRightAfterAPrinterIsDroppedInItsCompletion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // The virtual printer goes during exit, after the library's own exit work: its threads are joined.
            static auto* fixture = this;
            std::atexit([] {
                fixture->server.reset();
                fixture->responder.reset();
            });
            auto holder = std::make_shared<std::shared_ptr<OrvoPrinter>>(makePrinter());
            (*holder)->open().get();
            std::promise<void> completed;
            (*holder)->print(ByteBlock{'h', 'i', '\n'}, [holder, &completed](std::optional<Prelix10Error>) {
                holder->reset();  // the app's last reference
                completed.set_value();
            });
            holder.reset();
            completed.get_future().get();
            ::alarm(3);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(OrvoPrinterTest, AnEscPosPrinterOpensOverTheLanAndPrints) {
    engine->configure([](VirtualPrinterConfig& c) {
        c.dialect = PrinterDialect::escPos;
        c.replyFraming = ReplyFraming::plain;
    });
    lan.reset();
    responder.reset();
    DiscoveryIdentity identity;
    identity.deviceCommandSet = "ESC/POS";
    identity.deviceModel = "Kelto59 (ESP-001)";
    identity.nameDetail = "Kelto59";
    responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity});
    lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());

    auto printer = makePrinter();
    auto openError = errorOf([&] { printer->open().get(); });
    ASSERT_FALSE(openError) << openError->description();
    EXPECT_EQ(printer->informationRecord()->emulation, OrvoPrinterEmulation::escPos);
    printer->print(receiptDocument()).get();
    EXPECT_EQ(engine->state().etbCounter, 1);
    const std::string received = hex(engine->printedData());
    EXPECT_NE(received.find(hex(ByteBlock{'C', 'o', 'r', 'n', 'e', 'r', ' ', 'C', 'a', 'f', 'e'})), std::string::npos)
        << received;
    EXPECT_FALSE(printer->getStatus().get()->hasError());
    printer->close().get();
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), 0u);
}
