// The printer-setting and firmware faces against the virtual printer on loopback and the local cloud service.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <atomic>
#include <thread>
#include <vector>

#include "capi/SettingFaceCallbacks.hpp"
#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareUpdater.hpp"
#include "support/FirmwareCloudEnvironment.hpp"
#include "support/LocalCloudServer.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterFirmware.hpp"
#include "support/VirtualPrinterServer.hpp"
#include "support/VirtualPrinterSpooler.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;
using Prelix10Test::LocalCloudServer;
using Strings = std::vector<std::string>;

// The update events as text, in order; what a test asks of them runs inside the event.
struct UpdateEvents {
    std::mutex mutex;
    Strings events;
    std::function<void(prelix10_printer_setting_firmware* lent)> onProgress;

    void add(std::string event) {
        std::lock_guard lock(mutex);
        events.push_back(std::move(event));
    }
    Strings recorded() {
        std::lock_guard lock(mutex);
        return events;
    }

    static prelix10_firmware_update_delegate table() {
        prelix10_firmware_update_delegate table{};
        table.firmware_update_progress = [](void* context, prelix10_printer_setting_firmware* firmware,
                                            int step) {
            auto* self = static_cast<UpdateEvents*>(context);
            self->add(firmware == nullptr ? "progress without firmware" : "progress " + std::to_string(step));
            if (self->onProgress) self->onProgress(firmware);
        };
        table.firmware_update_transmit_complete = [](void* context,
                                                     prelix10_printer_setting_firmware* firmware) {
            static_cast<UpdateEvents*>(context)->add(firmware == nullptr ? "complete without firmware"
                                                                         : "complete");
        };
        table.firmware_update_error_did_occur = [](void* context, prelix10_printer_setting_firmware*,
                                                   const prelix10_error* error) {
            const auto copied = copyError(error);
            static_cast<UpdateEvents*>(context)->add(copied ? "error: " + copied->message
                                                            : "error without record");
        };
        return table;
    }
};

class PrinterSettingFaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cloud.setFirmwareList({{"Ginor67TK", "pw", "main", "1.1", "0.1"}});
        cloud.setFirmwareImage(makeVirtualFirmwareImage("1.1", 5000));

        VirtualPrinterConfig config;
        config.firmwareText = "Ginor-67TKVer1.0";
        config.mountedInterfacesText = "ETHERNET,USB-C,USB-C-I";
        engine = std::make_unique<VirtualPrinterEngine>(config);
        firmwarePart = std::make_unique<VirtualPrinterFirmware>(*engine);
        spooler = std::make_unique<VirtualPrinterSpooler>(*engine);
        spooler->setDocument(
            0x23,
            R"({"title":"orvo_configuration","version":"2.1","configurations":[{"device_name":"main"}]})");
        server = std::make_unique<VirtualPrinterServer>(*engine);
        DiscoveryIdentity identity;
        identity.deviceModel = "Ginor65 (ORV-001)";
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{identity});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
        printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
        printer->setOpenTimeout(5000);
        printerHandle = CApi::newHandle<prelix10_printer>(printer);
    }
    void TearDown() override {
        CApi::releaseHandle(printerHandle);
        printer.reset();
        lan.reset();
        responder.reset();
        server.reset();
        spooler.reset();
        firmwarePart.reset();
        engine.reset();
    }

    // The firmware handle of the opened printer, through the C face.
    prelix10_printer_setting_firmware* openedFirmware() {
        printer->open().get();
        return firmwareHandle();
    }
    prelix10_printer_setting_firmware* firmwareHandle() {
        prelix10_printer_setting* setting = nullptr;
        EXPECT_EQ(prelix10_printer_get_setting(printerHandle, &setting, nullptr), PRELIX10_OK);
        if (setting == nullptr) return nullptr;
        prelix10_printer_setting_firmware* firmware = nullptr;
        EXPECT_EQ(prelix10_printer_setting_get_firmware(setting, &firmware, nullptr), PRELIX10_OK);
        prelix10_printer_setting_release(setting);
        return firmware;
    }

    static std::optional<std::string> ownedText(int result, char* text) {
        EXPECT_EQ(result, PRELIX10_OK);
        if (text == nullptr) return std::nullopt;
        std::string out(text);
        prelix10_string_release(text);
        return out;
    }
    static std::optional<std::string> currentVersion(const prelix10_printer_setting_firmware* firmware) {
        char* text = nullptr;
        const int result = prelix10_printer_setting_firmware_current_version(firmware, &text, nullptr);
        return ownedText(result, text);
    }
    static std::optional<std::string> latestVersion(const prelix10_printer_setting_firmware* firmware) {
        char* text = nullptr;
        const int result = prelix10_printer_setting_firmware_latest_version(firmware, &text, nullptr);
        return ownedText(result, text);
    }

    LocalCloudServer cloud;
    Prelix10Test::FirmwareCloudEnvironment firmwareCloud{cloud};
    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterFirmware> firmwarePart;
    std::unique_ptr<VirtualPrinterSpooler> spooler;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
    std::shared_ptr<OrvoPrinter> printer;
    prelix10_printer* printerHandle = nullptr;
};

TEST_F(PrinterSettingFaceTest, VersionCheckThenUpdateWithItsEventsThroughTheCFace) {
    auto* firmware = openedFirmware();
    ASSERT_NE(firmware, nullptr);
    int updatable = 0;
    ASSERT_EQ(prelix10_printer_setting_firmware_is_updatable(firmware, &updatable, nullptr), PRELIX10_OK);
    EXPECT_EQ(updatable, 1);
    EXPECT_EQ(latestVersion(firmware), std::nullopt);

    UpdateEvents events;
    // The firmware an event lends is the same object; the receiver's release of it does nothing.
    events.onProgress = [&](prelix10_printer_setting_firmware* lent) {
        prelix10_printer_setting_firmware_release(lent);
        int lentUpdatable = 0;
        EXPECT_EQ(prelix10_printer_setting_firmware_is_updatable(lent, &lentUpdatable, nullptr), PRELIX10_OK);
    };
    const auto table = UpdateEvents::table();
    ASSERT_EQ(prelix10_printer_setting_firmware_set_update_delegate(firmware, &table, &events, nullptr),
              PRELIX10_OK);

    Completion check;
    ASSERT_EQ(
        prelix10_printer_setting_firmware_check_versions(firmware, Completion::onError, &check, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(check.wait());
    EXPECT_EQ(check.error, std::nullopt);
    EXPECT_EQ(currentVersion(firmware), "1.0");
    EXPECT_EQ(latestVersion(firmware), "1.1");

    Completion update;
    ASSERT_EQ(prelix10_printer_setting_firmware_update(firmware, Completion::onError, &update, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(update.wait());
    EXPECT_EQ(update.error, std::nullopt);
    EXPECT_EQ(events.recorded(), (Strings{"progress 0", "progress 1", "complete"}));
    EXPECT_EQ(firmwarePart->installedVersions(), Strings{"1.1"});

    Completion read;
    ASSERT_EQ(
        prelix10_printer_setting_firmware_get_current_version(firmware, Completion::onText, &read, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(read.wait());
    EXPECT_EQ(read.text, "1.1");
    EXPECT_EQ(read.error, std::nullopt);
    EXPECT_EQ(read.callCount(), 1);

    // The two versions are the app's to change.
    ASSERT_EQ(prelix10_printer_setting_firmware_set_current_version(firmware, "0.1", nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_printer_setting_firmware_set_latest_version(firmware, nullptr, nullptr), PRELIX10_OK);
    EXPECT_EQ(currentVersion(firmware), "0.1");
    EXPECT_EQ(latestVersion(firmware), std::nullopt);
    prelix10_printer_setting_firmware_release(firmware);
}

TEST_F(PrinterSettingFaceTest, AFailedDownloadReachesTheErrorEventAndTheCompletionAsOneRecord) {
    auto* firmware = openedFirmware();
    ASSERT_NE(firmware, nullptr);
    UpdateEvents events;
    const auto table = UpdateEvents::table();
    ASSERT_EQ(prelix10_printer_setting_firmware_set_update_delegate(firmware, &table, &events, nullptr),
              PRELIX10_OK);
    Completion check;
    ASSERT_EQ(
        prelix10_printer_setting_firmware_check_versions(firmware, Completion::onError, &check, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(check.wait());
    ASSERT_EQ(check.error, std::nullopt);

    cloud.setFault(LocalCloudServer::Fault::status404);
    Completion update;
    ASSERT_EQ(prelix10_printer_setting_firmware_update(firmware, Completion::onError, &update, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(update.wait());
    ASSERT_TRUE(update.error);
    EXPECT_EQ(update.error->domain, "Prelix10.PRELIX10Error");
    EXPECT_EQ(update.error->code, PRELIX10_ERROR_SERVER_COMMUNICATION);
    EXPECT_EQ(update.error->message, "The requested url may be incorrect.");
    EXPECT_EQ(update.error->detailCode, 8001);
    EXPECT_EQ(update.error->keys, Strings{PRELIX10_ERROR_DETAIL_ERROR_CODE_KEY});
    EXPECT_EQ(events.recorded(), (Strings{"progress 0", "error: The requested url may be incorrect."}));

    // Released, the handle takes its events with it: the next update, through another handle, tells nobody.
    prelix10_printer_setting_firmware_release(firmware);
    cloud.setFault(LocalCloudServer::Fault::none);
    auto* other = firmwareHandle();
    ASSERT_NE(other, nullptr);
    Completion again;
    ASSERT_EQ(prelix10_printer_setting_firmware_update(other, Completion::onError, &again, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(again.wait());
    EXPECT_EQ(again.error, std::nullopt);
    EXPECT_EQ(events.recorded().size(), 2u);
    prelix10_printer_setting_firmware_release(other);
}

TEST_F(PrinterSettingFaceTest, ACompletionMayStartTheNextOperationAndReleaseEveryHandle) {
    auto* firmware = openedFirmware();
    ASSERT_NE(firmware, nullptr);
    UpdateEvents events;
    // The table is cleared from inside its first event: nothing after it is heard.
    events.onProgress = [&](prelix10_printer_setting_firmware* lent) {
        EXPECT_EQ(prelix10_printer_setting_firmware_set_update_delegate(lent, nullptr, nullptr, nullptr),
                  PRELIX10_OK);
    };
    const auto table = UpdateEvents::table();
    ASSERT_EQ(prelix10_printer_setting_firmware_set_update_delegate(firmware, &table, &events, nullptr),
              PRELIX10_OK);

    Completion update;
    // The update's completion releases the handle it ran through.
    update.then = [&] { prelix10_printer_setting_firmware_release(firmware); };
    Completion check;
    check.then = [&] {
        // On the printer's queue, under its lock: the update is queued behind this completion, not run in it.
        EXPECT_EQ(prelix10_printer_setting_firmware_update(firmware, Completion::onError, &update, nullptr),
                  PRELIX10_OK);
        // The app's last hold on the printer goes too: the queued update keeps it until it has run.
        CApi::releaseHandle(printerHandle);
        printerHandle = nullptr;
        printer.reset();
    };
    ASSERT_EQ(
        prelix10_printer_setting_firmware_check_versions(firmware, Completion::onError, &check, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(check.wait());
    ASSERT_TRUE(update.wait());
    EXPECT_EQ(update.error, std::nullopt);
    EXPECT_EQ(update.callCount(), 1);
    EXPECT_EQ(events.recorded(), Strings{"progress 0"});
    EXPECT_EQ(firmwarePart->installedVersions(), Strings{"1.1"});
}

TEST_F(PrinterSettingFaceTest, NoSettingBeforeTheFirstOpenAndNotOpenedOnceThePrinterIsGone) {
    prelix10_printer_setting* setting = reinterpret_cast<prelix10_printer_setting*>(this);
    ASSERT_EQ(prelix10_printer_get_setting(printerHandle, &setting, nullptr), PRELIX10_OK);
    EXPECT_EQ(setting, nullptr);

    auto* firmware = openedFirmware();
    ASSERT_NE(firmware, nullptr);
    std::weak_ptr<OrvoPrinter> gone = printer;
    CApi::releaseHandle(printerHandle);
    printerHandle = nullptr;
    printer.reset();
    for (int i = 0; i < 200 && !gone.expired(); ++i) std::this_thread::sleep_for(5ms);
    ASSERT_TRUE(gone.expired());
    Completion read;
    ASSERT_EQ(
        prelix10_printer_setting_firmware_get_current_version(firmware, Completion::onText, &read, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(read.wait(5s));
    EXPECT_EQ(read.text, std::nullopt);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->code, PRELIX10_ERROR_INVALID_OPERATION);
    EXPECT_EQ(read.error->message, "Not opened.");
    prelix10_printer_setting_firmware_release(firmware);
}

// Once a clear or a release of the firmware handle returns, no event of the old table runs any more: the
// application may free the table's context straight after.
TEST_F(PrinterSettingFaceTest, ClearAndReleaseWaitForAnEventUnderWay) {
    for (const bool release : {false, true}) {
        SCOPED_TRACE(release ? "release" : "clear");
        printer->close().get();
        auto* firmware = openedFirmware();
        ASSERT_NE(firmware, nullptr);
        auto events = std::make_unique<UpdateEvents>();
        std::atomic<bool> entered{false};
        std::atomic<bool> left{false};
        events->onProgress = [&](prelix10_printer_setting_firmware*) {
            if (entered.exchange(true)) return;
            std::this_thread::sleep_for(300ms);
            left = true;
        };
        const auto table = UpdateEvents::table();
        ASSERT_EQ(prelix10_printer_setting_firmware_set_update_delegate(firmware, &table, events.get(), nullptr),
                  PRELIX10_OK);
        Completion update;
        ASSERT_EQ(prelix10_printer_setting_firmware_update(firmware, Completion::onError, &update, nullptr),
                  PRELIX10_OK);
        for (int i = 0; i < 1000 && !entered; ++i) std::this_thread::sleep_for(5ms);
        ASSERT_TRUE(entered);
        if (release) {
            prelix10_printer_setting_firmware_release(firmware);
        } else {
            ASSERT_EQ(prelix10_printer_setting_firmware_set_update_delegate(firmware, nullptr, nullptr, nullptr),
                      PRELIX10_OK);
        }
        EXPECT_TRUE(left);
        // Freed as an application would; an event that still ran would touch freed memory.
        events.reset();
        ASSERT_TRUE(update.wait());
        if (!release) prelix10_printer_setting_firmware_release(firmware);
    }
}

}  // namespace
}  // namespace Prelix10::Testing
