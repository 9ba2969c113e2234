#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "prelix10/core/NetworkInformation.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/platform/BleCentral.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/protocol/ControlInternalFileCommand.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareUpdaterTesting.hpp"
#include "prelix10/setting/OrvoPrinterSetting.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"
#include "support/FirmwareCloudEnvironment.hpp"
#include "support/LocalCloudServer.hpp"
#include "support/LoopbackLan.hpp"
#include "support/SimulatedBle.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterFirmware.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "support/VirtualPrinterSpooler.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using Prelix10Test::LocalCloudServer;
using namespace std::chrono_literals;

namespace {

constexpr const char* kUserDocument =
    R"({"title":"orvo_configuration","version":"2.1","configurations":[{"device_name":"main","print_type":"ascii"}],"notification":"keep"})";

// Hex with a space after every byte, so that a search matches whole bytes only.
std::string hexOf(const ByteBlock& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (const auto b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0x0F]);
        out.push_back(' ');
    }
    return out;
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

// The events an update raises, in order, with what the printer held when the transmit step began.
class RecordingDelegate final : public FirmwareUpdateDelegate {
  public:
    explicit RecordingDelegate(VirtualPrinterFirmware* printer = nullptr) : printer_(printer) {}
    void firmwareUpdateProgress(OrvoPrinterSettingFirmware&, FirmwareUpdateStep step) override {
        std::lock_guard guard(mutex_);
        events.push_back(describeEnumeration(step));
        if (step == FirmwareUpdateStep::transmit && printer_)
            fileBeforeTransmit = printer_->file("firmware.bin").has_value();
    }
    void firmwareUpdateTransmitComplete(OrvoPrinterSettingFirmware&) override {
        std::lock_guard guard(mutex_);
        events.push_back("complete");
    }
    void firmwareUpdate(OrvoPrinterSettingFirmware&, const Prelix10Error& error) override {
        std::lock_guard guard(mutex_);
        events.push_back("error: " + error.message());
    }
    std::vector<std::string> recorded() {
        std::lock_guard guard(mutex_);
        return events;
    }
    std::optional<bool> fileBeforeTransmit;

  private:
    VirtualPrinterFirmware* printer_;
    std::mutex mutex_;
    std::vector<std::string> events;
};

struct PrinterKind {
    std::string deviceModel;
    std::string firmwareText;
};
const PrinterKind kConfigDocumentPrinter{"Ginor65 (ORV-001)", "Ginor-67TKVer1.0"};
const PrinterKind kBlockPrinter{"Harlo599KKKY (ORV_T-001)", "Harlo599KKKYVer1.0"};

class PrinterSettingFirmwareTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cloud.setFirmwareList(
            {{"Ginor67TK", "pw", "main", "1.1", "0.1"}, {"Ginor67TK", "pw", "main", "0.9", "0.1"}});
        image = makeVirtualFirmwareImage("1.1", 5000);
        cloud.setFirmwareImage(image);
    }
    void TearDown() override {
        printer.reset();
        lan.reset();
        responder.reset();
        server.reset();
        firmwarePart.reset();
        spooler.reset();
        engine.reset();
    }

    // The virtual printer of the given kind on loopback, opened.
    std::shared_ptr<OrvoPrinterSettingFirmware> openPrinter(
        const PrinterKind& kind, std::optional<PrinterInformationRecord> known = std::nullopt,
        std::string mounted = "ETHERNET,USB-C,USB-C-I") {
        // A printer of an earlier round goes first, with its doubles.
        printer.reset();
        lan.reset();
        responder.reset();
        server.reset();
        firmwarePart.reset();
        spooler.reset();
        VirtualPrinterConfig config;
        config.firmwareText = kind.firmwareText;
        config.mountedInterfacesText = std::move(mounted);
        engine = std::make_unique<VirtualPrinterEngine>(config);
        firmwarePart = std::make_unique<VirtualPrinterFirmware>(*engine);
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
        spooler->setDocument(0x23, kUserDocument);
        server = std::make_unique<VirtualPrinterServer>(*engine);
        DiscoveryIdentity identity;
        identity.deviceModel = kind.deviceModel;
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
        printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false),
                                      std::move(known));
        printer->setOpenTimeout(5000);
        printer->open().get();
        auto setting = printer->setting();
        return setting ? setting->firmware() : nullptr;
    }

    std::size_t cloudRequests(const std::string& path) {
        std::size_t n = 0;
        for (const auto& request : cloud.requests()) n += request.path == path;
        return n;
    }

    LocalCloudServer cloud;
    Prelix10Test::FirmwareCloudEnvironment firmwareCloud{cloud};
    ByteBlock image;
    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterFirmware> firmwarePart;
    std::unique_ptr<VirtualPrinterSpooler> spooler;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
    std::shared_ptr<OrvoPrinter> printer;
};

TEST_F(PrinterSettingFirmwareTest, ConfigurationDocumentUpdateInstallsTheFileThenReportsTheNewVersion) {
    Prelix10DiagInfoUpload::shared().setIsEnabled(true);
    auto firmware = openPrinter(kConfigDocumentPrinter);
    ASSERT_TRUE(firmware);
    EXPECT_TRUE(firmware->isUpdatable());
    auto delegate = std::make_shared<RecordingDelegate>(firmwarePart.get());
    firmware->setUpdateDelegate(delegate);

    firmware->checkVersions().get();
    EXPECT_EQ(firmware->currentVersion(), "1.0");
    // The service lists the newest first: the first entry is taken, the second ignored.
    EXPECT_EQ(firmware->latestVersion(), "1.1");
    EXPECT_EQ(firmware->detailModel(), PrinterModelDetail::ginor67tk);
    firmware->update().get();

    EXPECT_EQ(firmwarePart->readyCount(), 1u);
    EXPECT_EQ(firmwarePart->file("firmware.bin"), image);
    ASSERT_EQ(firmwarePart->installDocuments().size(), 1u);
    EXPECT_EQ(firmwarePart->installedVersions(), std::vector<std::string>{"1.1"});
    // The document carries what the printer reported, not the new firmware's values.
    const auto document = nlohmann::json::parse(firmwarePart->installDocuments().front());
    EXPECT_EQ(document, nlohmann::json::parse(R"({"title":"orvo_configuration","version":"2.1",
        "firmwares":[{"action":"force","device_name":"main","path_type":"internal_file","path":"firmware.bin",
                      "print_type":"ascii","print_before_writing":"Firmware Update Start.",
                      "selftest_after_writing":"none"}],
        "configurations":[{"device_name":"main","selftest_after_writing":"version"}]})"));
    // Installing is not configuring: the user configuration stays as it was.
    EXPECT_EQ(spooler->document(0x23), kUserDocument);
    EXPECT_EQ(firmware->getCurrentVersion().get(), "1.1");
    EXPECT_EQ(delegate->recorded(), (std::vector<std::string>{"downloading", "transmitting", "complete"}));
    // The transmit step is reported before the printer has the file, as the transfer begins.
    EXPECT_EQ(delegate->fileBeforeTransmit, false);
    // One version check: the update trusted the one before it.
    EXPECT_EQ(cloudRequests("/v1/firmware/info"), 1u);
    EXPECT_EQ(cloudRequests("/v1/client/info"), 1u);
    EXPECT_EQ(cloudRequests("/v1/firmware/data"), 1u);
}

TEST_F(PrinterSettingFirmwareTest, AnInternalFileOneByteOverAPieceGoesAsTwoPiecesEachAnswered) {
    // The write command is 23 bytes of header and name, then the image.
    const std::size_t command = OrvoConfigFirmwareUpdater::kPieceSize + 1;
    image = makeVirtualFirmwareImage("1.1", command - 23 - 13);
    ASSERT_EQ(ControlInternalFileCommand::Orvo::createSendData("firmware.bin", image).size(), command);
    cloud.setFirmwareImage(image);
    auto firmware = openPrinter(kConfigDocumentPrinter);
    firmwarePart->setReplyFault(VirtualPrinterFirmware::ReplyFault::split);
    firmware->update().get();
    // Each piece waited for its own reply, which came in two parts and was put together.
    EXPECT_EQ(firmwarePart->replyOffsets(), (std::vector<std::size_t>{command - 1, command}));
    EXPECT_EQ(firmwarePart->file("firmware.bin"), image);
    EXPECT_EQ(firmware->currentVersion(), "1.1");
}

TEST_F(PrinterSettingFirmwareTest, AFailurePartWayLeavesThePrinterAsItWas) {
    struct Case {
        VirtualPrinterFirmware::ReplyFault fault;
        Prelix10ErrorKind kind;
        const char* message;
    } cases[] = {
        {VirtualPrinterFirmware::ReplyFault::invalidState, Prelix10ErrorKind::badResponse,
         "Bad response from device."},
        {VirtualPrinterFirmware::ReplyFault::silent, Prelix10ErrorKind::communication, "Write failed."},
    };
    image = makeVirtualFirmwareImage("1.1", 300 * 1024);
    cloud.setFirmwareImage(image);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto firmware = openPrinter(kConfigDocumentPrinter);
        auto delegate = std::make_shared<RecordingDelegate>();
        firmware->setUpdateDelegate(delegate);
        // The first piece is answered; the second is not, or wrongly.
        firmwarePart->setReplyFault(c.fault, 1);
        const auto started = std::chrono::steady_clock::now();
        const auto error = errorOf([&] { firmware->update().get(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), c.kind);
        EXPECT_EQ(error->message(), c.message);
        EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
        EXPECT_FALSE(firmwarePart->file("firmware.bin"));
        EXPECT_TRUE(firmwarePart->installDocuments().empty());
        // What the library leaves: the two pieces it wrote, as an unfinished file, and nothing installed.
        EXPECT_EQ(firmwarePart->partialFileSize(),
                  2 * OrvoConfigFirmwareUpdater::kPieceSize - (7 + std::string("firmware.bin").size() + 4));
        firmwarePart->discardPartial();
        EXPECT_EQ(spooler->document(0x23), kUserDocument);
        EXPECT_EQ(firmware->getCurrentVersion().get(), "1.0");
        EXPECT_EQ(delegate->recorded(), (std::vector<std::string>{"downloading", "transmitting",
                                                                  std::string("error: ") + c.message}));
    }
}

TEST_F(PrinterSettingFirmwareTest, ADocumentWithoutConfigurationsStopsBeforeAnyFirmwareByte) {
    for (const char* document : {R"({"title":"orvo_configuration","version":"2.1"})",
                                 R"({"title":"orvo_configuration","version":"2.1","configurations":[]})"}) {
        SCOPED_TRACE(document);
        auto firmware = openPrinter(kConfigDocumentPrinter);
        spooler->setDocument(0x23, document);
        const auto error = errorOf([&] { firmware->update().get(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::unknown);
        EXPECT_EQ(error->message(), "Unexpected state at line 13 of OrvoConfigFirmwareUpdater.");
        EXPECT_EQ(firmwarePart->readyCount(), 0u);
        EXPECT_EQ(firmwarePart->partialFileSize(), 0u);
    }
}

TEST_F(PrinterSettingFirmwareTest, AnUpdateSucceedsOnlyWhenThePrinterReportsTheNewVersion) {
    for (const auto* kind : {&kConfigDocumentPrinter, &kBlockPrinter}) {
        SCOPED_TRACE(kind->deviceModel);
        if (kind == &kBlockPrinter) cloud.setFirmwareList({{"Harlo586KKKY", "pw", "main", "1.1", "0.1"}});
        auto firmware = openPrinter(*kind);
        // The printer takes the image and the document, but keeps running its old firmware.
        firmwarePart->setInstallsImages(false);
        auto delegate = std::make_shared<RecordingDelegate>();
        firmware->setUpdateDelegate(delegate);
        const auto error = errorOf([&] { firmware->update().get(); });
        ASSERT_TRUE(error);
        // Its own error, not a write failure, and both versions in it.
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::badResponse);
        EXPECT_EQ(error->message(), "Firmware version mismatch: expected \"1.1\", the printer reports \"1.0\".");
        EXPECT_EQ(firmware->currentVersion(), "1.0");
        EXPECT_EQ(delegate->recorded().back(), "error: " + error->message());
    }
}

TEST_F(PrinterSettingFirmwareTest, BlockTransferSendsTheImageAsItIsAndWaitsForTheVersion) {
    cloud.setFirmwareList({{"Harlo586KKKY", "pw", "main", "1.1", "0.1"}});
    image = makeVirtualFirmwareImage("1.1", 300 * 1024);
    cloud.setFirmwareImage(image);
    auto firmware = openPrinter(kBlockPrinter);
    ASSERT_TRUE(firmware);
    auto delegate = std::make_shared<RecordingDelegate>();
    firmware->setUpdateDelegate(delegate);
    firmware->update().get();
    ASSERT_EQ(firmwarePart->blockImages().size(), 1u);
    EXPECT_EQ(firmwarePart->blockImages().front(), image);
    EXPECT_EQ(firmwarePart->readyCount(), 0u);
    EXPECT_EQ(firmware->currentVersion(), "1.1");
    EXPECT_EQ(delegate->recorded(), (std::vector<std::string>{"downloading", "transmitting", "complete"}));
}

TEST_F(PrinterSettingFirmwareTest, BlockTransferOverItsLimitFailsEvenAfterTheLastPiece) {
    cloud.setFirmwareList({{"Harlo586KKKY", "pw", "main", "1.1", "0.1"}});
    auto firmware = openPrinter(kBlockPrinter);
    FirmwareTransferLimits limits;
    limits.blockOverallLimit = 0;
    limits.blockSettleTime = 0ms;
    FirmwareUpdaterTesting::setLimits(limits);
    const auto error = errorOf([&] { firmware->update().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
    EXPECT_EQ(error->message(), "Write failed.");
    // The image was one piece and reached the printer whole.
    std::this_thread::sleep_for(100ms);
    ASSERT_EQ(firmwarePart->blockImages().size(), 1u);
    EXPECT_EQ(firmwarePart->blockImages().front(), image);
}

TEST(VozFirmwareUpdaterPlan, PiecesAndLimitsFollowTheLink) {
    FirmwareUpdaterTesting::reset();
    struct Case {
        InterfaceType link;
        std::size_t size, pieceSize, pieces;
        std::int64_t writeTimeout, overallLimit;
    } cases[] = {
        {InterfaceType::bluetoothLE, 1025, 512, 3, 3000, 9000},
        {InterfaceType::lan, 300 * 1024, 131072, 3, 15000, 300000},
        {InterfaceType::usb, 131072, 131072, 1, 15000, 300000},
    };
    for (const auto& c : cases) {
        const auto plan = VozFirmwareUpdater::plan(c.link, c.size);
        EXPECT_EQ(plan.pieceSize, c.pieceSize);
        EXPECT_EQ(plan.pieceCount, c.pieces);
        EXPECT_EQ(plan.writeTimeout, c.writeTimeout);
        EXPECT_EQ(plan.overallLimit, c.overallLimit);
    }
}

TEST_F(PrinterSettingFirmwareTest, ModelsWithoutFirmwareSupport) {
    // A model that takes no firmware object at all.
    auto none = openPrinter({"Harlo599 (ORV_T-001)", "Harlo599Ver1.0"});
    EXPECT_EQ(printer->information()->model, OrvoPrinterModel::harlo599ROP);
    EXPECT_FALSE(none);

    // A model without update support is refused before any traffic.
    auto firmware = openPrinter({"Harlo219 (ORV_T-001)", "Harlo219KKVer1.0"});
    ASSERT_TRUE(firmware);
    EXPECT_FALSE(firmware->isUpdatable());
    const auto sent = engine->captureSize(PrinterChannel::data);
    for (auto call : {+[](OrvoPrinterSettingFirmware& f) { f.checkVersions().get(); },
                      +[](OrvoPrinterSettingFirmware& f) { f.update().get(); }}) {
        const auto error = errorOf([&] { call(*firmware); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::unsupportedModel);
        EXPECT_EQ(error->message(), "Not supported model.");
    }
    EXPECT_EQ(engine->captureSize(PrinterChannel::data), sent);
    EXPECT_EQ(cloud.requestCount(), 0u);
}

TEST_F(PrinterSettingFirmwareTest, OlderRovanFirmwareNamesItsVariantWithoutAskingThePrinter) {
    struct Case {
        const char* version;
        PrinterModelDetail detail;
        bool asked;
    } cases[] = {
        {"0.9", PrinterModelDetail::rovan59, false},
        {"1.0", PrinterModelDetail::rovan59tk, true},
        {"1.10", PrinterModelDetail::rovan59tk, true},
    };
    const std::string request = hexOf({0x1B, 0x1D, 0x29, 0x49, 0x03, 0x00, 0x33, 0x00, 0x00});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        PrinterInformationRecord known;
        known.model = OrvoPrinterModel::Rovan;
        known.emulation = OrvoPrinterEmulation::kestrin;
        auto firmware =
            openPrinter({"Rovan59 (ORV-001)", std::string("Rovan59Ver") + c.version}, known, "USB-B,USB-C-I");
        firmware->checkVersions().get();
        EXPECT_EQ(firmware->detailModel(), c.detail);
        EXPECT_EQ(hexOf(engine->capture(PrinterChannel::data)).find(request) != std::string::npos, c.asked);
    }
}

TEST_F(PrinterSettingFirmwareTest, NoNetworkMeansNetworkUnavailableBeforeAnyTraffic) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    NetworkInformation::setProvider([] {
        return std::optional<std::vector<InterfaceAddressEntry>>(std::vector<InterfaceAddressEntry>{});
    });
    const auto sent = engine->captureSize(PrinterChannel::data);
    for (auto call : {+[](OrvoPrinterSettingFirmware& f) { f.checkVersions().get(); },
                      +[](OrvoPrinterSettingFirmware& f) { f.update().get(); }}) {
        const auto error = errorOf([&] { call(*firmware); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(error->message(), "Network unavailable.");
        EXPECT_EQ(static_cast<int>(error->errorCode()), 2001);
    }
    EXPECT_EQ(engine->captureSize(PrinterChannel::data), sent);
    EXPECT_EQ(cloud.requestCount(), 0u);
}

TEST_F(PrinterSettingFirmwareTest, AnEmptyVersionIsReadButFailsTheCheck) {
    auto firmware = openPrinter({"Ginor65 (ORV-001)", "Ginor-67TKVer"});
    EXPECT_EQ(firmware->getCurrentVersion().get(), "");
    firmware->setCurrentVersion("stale");
    const auto error = errorOf([&] { firmware->checkVersions().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::badResponse);
    EXPECT_EQ(error->message(), "Bad response from device.");
    EXPECT_EQ(firmware->currentVersion(), "");
    EXPECT_EQ(cloud.requestCount(), 0u);
}

TEST_F(PrinterSettingFirmwareTest, CloudFailuresAndTheChecksAnUpdateRepeats) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    auto delegate = std::make_shared<RecordingDelegate>();
    firmware->setUpdateDelegate(delegate);
    cloud.setFault(LocalCloudServer::Fault::status500);
    auto error = errorOf([&] { firmware->checkVersions().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::serverCommunication);
    EXPECT_EQ(static_cast<int>(error->errorCode()), 8001);
    EXPECT_FALSE(firmware->latestVersion());

    // After a failed check, the update checks again first; a failed download is reported to the delegate.
    cloud.clearRequests();
    cloud.setFault(LocalCloudServer::Fault::emptyList);
    error = errorOf([&] { firmware->update().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Unexpected state at line 261 of OrvoPrinterSettingFirmware.");
    EXPECT_EQ(cloudRequests("/v1/firmware/info"), 1u);
    EXPECT_EQ(delegate->recorded(), (std::vector<std::string>{"error: " + error->message()}));

    cloud.setFault(LocalCloudServer::Fault::none);
    firmware->checkVersions().get();
    cloud.setFault(LocalCloudServer::Fault::status404);
    error = errorOf([&] { firmware->update().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "The requested url may be incorrect.");
    EXPECT_EQ(delegate->recorded().size(), 3u);
    EXPECT_EQ(delegate->recorded()[1], "downloading");
    EXPECT_EQ(delegate->recorded()[2], "error: The requested url may be incorrect.");
    EXPECT_FALSE(firmwarePart->file("firmware.bin"));
}

TEST_F(PrinterSettingFirmwareTest, TheLogUploadNeitherStopsNorIsSentWhenSwitchedOff) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    // Switched off: no upload.
    firmware->update().get();
    EXPECT_EQ(cloudRequests("/v1/client/info"), 0u);
    // Switched on and refused by the service: the update goes on.
    Prelix10DiagInfoUpload::shared().setIsEnabled(true);
    cloud.setPostStatus(500);
    cloud.setFirmwareImage(makeVirtualFirmwareImage("1.1", 10));
    firmware->update().get();
    ASSERT_EQ(cloudRequests("/v1/client/info"), 1u);
    for (const auto& request : cloud.requests()) {
        if (request.path != "/v1/client/info") continue;
        const auto log = nlohmann::json::parse(request.body);
        EXPECT_EQ(log["printerInfo"]["model"], "Ginor67TK");
        EXPECT_EQ(log["printerInfo"]["productSerialNumber"], "VP0000001");
        EXPECT_EQ(log["printerInfo"]["currentVersion"], "1.1");
    }
}

TEST_F(PrinterSettingFirmwareTest, AReleasedDelegateHearsNothingAndTheUpdateStillRuns) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    auto delegate = std::make_shared<RecordingDelegate>();
    firmware->setUpdateDelegate(delegate);
    std::weak_ptr<RecordingDelegate> watch = delegate;
    delegate.reset();
    firmware->update().get();
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(firmware->currentVersion(), "1.1");
}

TEST_F(PrinterSettingFirmwareTest, CallsAfterCloseOrAfterThePrinterIsGoneAreNotOpened) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    printer->close().get();
    auto error = errorOf([&] { firmware->getCurrentVersion().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Not opened.");

    printer->open().get();
    firmware = printer->setting()->firmware();
    // The open's own queued work may hold the printer a moment longer.
    std::weak_ptr<OrvoPrinter> gone = printer;
    printer.reset();
    for (int i = 0; i < 200 && !gone.expired(); ++i) std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(gone.expired());
    for (auto call : {+[](OrvoPrinterSettingFirmware& f) { (void)f.getCurrentVersion().get(); },
                      +[](OrvoPrinterSettingFirmware& f) { f.checkVersions().get(); },
                      +[](OrvoPrinterSettingFirmware& f) { f.update().get(); }}) {
        auto future = std::async(std::launch::async, [&] { return errorOf([&] { call(*firmware); }); });
        ASSERT_EQ(future.wait_for(5s), std::future_status::ready);
        error = future.get();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::invalidOperation);
        EXPECT_EQ(error->message(), "Not opened.");
    }
}

}  // namespace

namespace {

// The block transfer over Bluetooth LE, at the simulated peripheral: every write it saw, with its type.
TEST(VozFirmwareUpdaterBluetoothLE, WritesWithoutResponseInPiecesOf512) {
    FirmwareTransferLimits limits;
    limits.blockSettleTime = 0ms;
    FirmwareUpdaterTesting::setLimits(limits);
    ModelDetection::installBluetoothLEModelDetector();
    VirtualPrinterConfig config;
    config.replyFraming = ReplyFraming::plain;
    auto engine = std::make_shared<VirtualPrinterEngine>(config);
    VirtualPrinterFirmware firmwarePart(*engine);
    auto central = SimulatedBleCentral::make();
    central->setAdvertisingInterval(5ms);
    BleBackend::install(central);
    SimulatedBlePeripheralConfig peripheralConfig;
    // Writes with response are small: the switch to writes without response is what makes 512-byte writes.
    peripheralConfig.mtuWithResponse = 20;
    peripheralConfig.mtuWithoutResponse = 512;
    auto peripheral = SimulatedBlePeripheral::make(peripheralConfig, engine);
    central->addPeripheral(peripheral);

    // The port finds the peripheral by its address, not through the advertisement scan a printer object's
    // construction installs.
    const auto savedLookup = BluetoothLEPortSettings::deviceLookup();
    BluetoothLEPortSettings::setDeviceLookup(nullptr);
    auto raw = OrvoDeviceManager::exclusiveOpenPort(InterfaceType::bluetoothLE, "00:11:62:AA:BB:CC", 3000);
    BluetoothLEPortSettings::setDeviceLookup(savedLookup);
    auto port = PrinterPortFactory::create(raw, OrvoPrinterEmulation::kestrin, false);
    const auto before = peripheral->writes().size();
    const ByteBlock image = makeVirtualFirmwareImage("1.1", 1025 - 13);
    VozFirmwareUpdater(port, nullptr).update(image);

    const auto writes = peripheral->writes();
    std::vector<std::size_t> sizes;
    ByteBlock sent;
    for (std::size_t i = before; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].type, BleWriteType::withoutResponse);
        sizes.push_back(writes[i].bytes.size());
        sent.insert(sent.end(), writes[i].bytes.begin(), writes[i].bytes.end());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{512, 512, 1}));
    EXPECT_EQ(sent, image);
    for (int i = 0; i < 100 && firmwarePart.blockImages().empty(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_EQ(firmwarePart.blockImages(), std::vector<Bytes>{image});

    port->close();
    OrvoDeviceManager::releasePort(&port->rawPort());
    peripheral->dropLink();
    BleBackend::install(nullptr);
    CentralManagerControl::shared().centralManager();
    FirmwareUpdaterTesting::reset();
}

}  // namespace

namespace {

// What the printer is left with when the download is cut short or the link drops during the transfer, on
// both update paths: never an installed image, and nothing but what the library actually sent.
TEST_F(PrinterSettingFirmwareTest, WhatThePrinterIsLeftWithAfterACutDownloadOrADroppedLink) {
    using Framing = LocalCloudServer::Framing;
    for (const auto* kind : {&kConfigDocumentPrinter, &kBlockPrinter}) {
        SCOPED_TRACE(kind->deviceModel);
        const bool block = kind == &kBlockPrinter;
        cloud.setFirmwareList({{block ? "Harlo586KKKY" : "Ginor67TK", "pw", "main", "1.1", "0.1"}});
        image = makeVirtualFirmwareImage("1.1", 300 * 1024);
        cloud.setFirmwareImage(image);

        // A download that ends at a bare close half-way: not a byte reaches the printer.
        cloud.setImageFraming(Framing::closeWithoutNotify, 0.5);
        auto firmware = openPrinter(*kind);
        auto error = errorOf([&] { firmware->update().get(); });
        ASSERT_TRUE(error);
        EXPECT_EQ(static_cast<int>(error->errorCode()), 8000);
        EXPECT_EQ(firmwarePart->readyCount(), 0u);
        EXPECT_EQ(firmwarePart->partialFileSize(), 0u);
        EXPECT_EQ(firmwarePart->partialImageSize(), 0u);
        EXPECT_TRUE(firmwarePart->blockImages().empty());
        EXPECT_TRUE(firmwarePart->installDocuments().empty());
        EXPECT_TRUE(firmwarePart->installedVersions().empty());
        cloud.setImageFraming(Framing::contentLength, 1.0);

        // The printer drops its link part-way through the image.
        firmware = openPrinter(*kind);
        server->setFaults(PrinterChannel::data, makeFaults([&](ConnectionFaults& f) {
                              f.closeAfterBytes = engine->captureSize(PrinterChannel::data) + 150 * 1024;
                          }));
        error = errorOf([&] { firmware->update().get(); });
        ASSERT_TRUE(error);
        EXPECT_TRUE(firmwarePart->installDocuments().empty());
        EXPECT_TRUE(firmwarePart->installedVersions().empty());
        EXPECT_TRUE(firmwarePart->blockImages().empty());
        EXPECT_FALSE(firmwarePart->file("firmware.bin"));
        // An unfinished transfer stays in the printer as the library left it, short of the whole image.
        const std::size_t partial = block ? firmwarePart->partialImageSize() : firmwarePart->partialFileSize();
        EXPECT_GT(partial, 0u);
        EXPECT_LT(partial, image.size());
        EXPECT_EQ(spooler->document(0x23), kUserDocument);
        // The firmware object and the printer agree on whether the printer is still open: it is not.
        EXPECT_FALSE(printer->isOpened());
        const auto later = errorOf([&] { (void)firmware->getCurrentVersion().get(); });
        EXPECT_EQ(later && later->message() == "Not opened.", !printer->isOpened())
            << (later ? later->message() : std::string("no error"));
    }
}

// A download that trickles holds the printer's queue no longer than it takes to close the printer.
TEST_F(PrinterSettingFirmwareTest, CloseEndsADownloadUnderWay) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    firmware->checkVersions().get();
    cloud.setFault(LocalCloudServer::Fault::trickle);
    cloud.setDelay(50ms);
    auto delegate = std::make_shared<RecordingDelegate>();
    firmware->setUpdateDelegate(delegate);
    auto update = firmware->update();
    // The download has begun once the service has the image request.
    for (int i = 0; i < 1000 && cloudRequests("/v1/firmware/data") == 0; ++i) std::this_thread::sleep_for(5ms);
    ASSERT_EQ(cloudRequests("/v1/firmware/data"), 1u);
    const auto started = std::chrono::steady_clock::now();
    printer->close().get();
    // 100 ms on an idle machine; the bound is far above it for a loaded one, and far below the trickle's
    // 250 s.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 3s);
    ASSERT_EQ(update.wait_for(5s), std::future_status::ready);
    const auto error = errorOf([&] { update.get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(static_cast<int>(error->errorCode()), 8000);
    EXPECT_EQ(firmwarePart->readyCount(), 0u);
}

// Waiting on a firmware or printer future inside an update event would never end: such a future fails at
// once instead, and nothing is queued for it.
TEST_F(PrinterSettingFirmwareTest, FuturesOnThePrintersOwnQueueFailAtOnce) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    struct OnQueue final : FirmwareUpdateDelegate {
        std::shared_ptr<OrvoPrinter> printer;
        std::vector<std::string> seen;
        void firmwareUpdateProgress(OrvoPrinterSettingFirmware& firmware, FirmwareUpdateStep step) override {
            if (step != FirmwareUpdateStep::download) return;
            const auto record = [&](auto&& call) {
                try {
                    call();
                    seen.push_back("no error");
                } catch (const Prelix10Error& error) {
                    seen.push_back(ErrorKinds::caseName(error.kind()));
                }
            };
            record([&] { (void)firmware.getCurrentVersion().get(); });
            record([&] { firmware.checkVersions().get(); });
            record([&] { firmware.update().get(); });
            record([&] { (void)printer->getStatus().get(); });
            record([&] { printer->print(std::string("x")).get(); });
        }
        void firmwareUpdateTransmitComplete(OrvoPrinterSettingFirmware&) override {}
        void firmwareUpdate(OrvoPrinterSettingFirmware&, const Prelix10Error&) override {}
    };
    auto delegate = std::make_shared<OnQueue>();
    delegate->printer = printer;
    firmware->setUpdateDelegate(delegate);
    auto update = firmware->update();
    ASSERT_EQ(update.wait_for(20s), std::future_status::ready);
    update.get();
    EXPECT_EQ(delegate->seen, std::vector<std::string>(5, "invalidOperation"));
    delegate->printer.reset();
    // Off the queue the same forms work as ever.
    EXPECT_EQ(firmware->getCurrentVersion().get(), "1.1");
}

// The service is reached over IPv6 as well: a host whose only usable address is IPv6 is not "Network
// unavailable.", while a link-local IPv6 address alone still is.
TEST_F(PrinterSettingFirmwareTest, AnIPv6OnlyHostReachesTheService) {
    auto firmware = openPrinter(kConfigDocumentPrinter);
    const auto only = [](std::string address) {
        return [address] {
            InterfaceAddressEntry entry;
            entry.name = "eth0";
            entry.isIPv6 = true;
            entry.isUp = true;
            entry.address = address;
            return std::optional<std::vector<InterfaceAddressEntry>>(std::vector<InterfaceAddressEntry>{entry});
        };
    };
    NetworkInformation::setProvider(only("2001:db8::7"));
    EXPECT_FALSE(errorOf([&] { firmware->checkVersions().get(); }));
    EXPECT_EQ(firmware->latestVersion(), "1.1");
    NetworkInformation::setProvider(only("fe80::1%eth0"));
    const auto error = errorOf([&] { firmware->checkVersions().get(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Network unavailable.");
}

}  // namespace
