#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoLogger.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/discovery/BluetoothLEOrvoSettingDeviceDiscoveryManager.hpp"
#include "prelix10/transport/SettingDevicePort.hpp"
#include "prelix10/wlan/OrvoWLanSetting.hpp"
#include "prelix10/wlan/WLanSettingControl.hpp"
#include "support/Hex.hpp"
#include "support/SimulatedWLanModule.hpp"
#include "wlan/SettingDeviceFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;

const std::string kPassPhrase = "Zq7-pass-Phrase-41";

SimulatedWLanModule::AccessPoint shop() {
    SimulatedWLanModule::AccessPoint ap;
    ap.ssid = "shop";
    ap.bssid = "10:20:30:40:50:60";
    ap.channel = 11;
    ap.indicator = -58;
    ap.security = "WPA2-PSK";
    ap.passPhrase = kPassPhrase;
    return ap;
}

class WLanSettingTest : public SettingDeviceFixture {
protected:
    void SetUp() override {
        SettingDeviceFixture::SetUp();
        module = std::make_shared<SimulatedWLanModule>();
        module->setAccessPoints({shop()});
        auto config = settingDeviceConfig(kAddress, kModel, false, 0x2B);
        config.notifyLength = 20;  // replies come in many notifications
        peripheral = addSettingDevice(config, module->handler());
    }

    std::shared_ptr<OrvoWLanSetting> openedSetting() {
        auto setting = OrvoWLanSetting::create(bleSettings());
        EXPECT_EQ(errorOfFuture(setting->open()), std::nullopt);
        return setting;
    }

    std::shared_ptr<SimulatedWLanModule> module;
    std::shared_ptr<SimulatedBlePeripheral> peripheral;
};

// The same with the module's echo off and on (ATE1): an echoed request line is no part of its reply, and must
// bring no secret into the log.
class WLanSettingEchoTest : public WLanSettingTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        WLanSettingTest::SetUp();
        module->setEcho(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(Echo, WLanSettingEchoTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "On" : "Off"; });

TEST_F(WLanSettingTest, InitialSettingSendsModeUnknownThenApply) {
    auto setting = openedSetting();
    ASSERT_EQ(errorOfFuture(setting->initSetting()), std::nullopt);
    EXPECT_EQ(module->requests(), (Strings{"ATWPROF=0", "ATWSET=1"}));
    EXPECT_EQ(module->state().mode, '0');
    EXPECT_TRUE(module->state().applied);
    setting->close().get();
}

TEST_P(WLanSettingEchoTest, ConnectionSetUpThenCurrentInformation) {
    auto setting = openedSetting();
    ASSERT_EQ(errorOfFuture(setting->setupConnection(
                  APInfo(WLanMode::infrastructure, "shop", WLanSecurityType::wpa2Personal, kPassPhrase))),
              std::nullopt);
    EXPECT_EQ(module->requests(),
              (Strings{"ATWPROF=1", "ATWSSID=shop", "ATWSEC=2", "ATWPSK=" + kPassPhrase, "ATWSET=1"}));
    const auto state = module->state();
    EXPECT_EQ(state.ssid, "shop");
    EXPECT_EQ(state.passPhrase, kPassPhrase);
    EXPECT_TRUE(state.applied);

    auto info = setting->loadCurrentInfo().get();
    const auto requests = module->requests();
    ASSERT_EQ(requests.size(), 9u);
    EXPECT_EQ(Strings(requests.begin() + 5, requests.end()),
              (Strings{"ATW", "ATWINSPECT", "ATWSEC?", "ATWSSID?"}));
    EXPECT_EQ(info.description(),
              "ssid : shop, mode : infrastructure, channel : 11, bssid : 10:20:30:40:50:60, securityType : wpa2Personal, "
              "rssi : -58, isPassedSsid : true, isPassedSecurityType : true, isPassedSecurityKey : true");
    setting->close().get();
}

TEST_F(WLanSettingTest, AnOpenNetworkSendsAnEmptyPassPhrase) {
    auto setting = openedSetting();
    ASSERT_EQ(errorOfFuture(setting->setupConnection(APInfo(WLanMode::accessPoint, "kiosk", WLanSecurityType::open, ""))),
              std::nullopt);
    EXPECT_EQ(module->requests(), (Strings{"ATWPROF=2", "ATWSSID=kiosk", "ATWSEC=0", "ATWPSK=", "ATWSET=1"}));
    const auto received = hex(peripheral->receivedBytes());
    EXPECT_NE(received.find(hex({'A', 'T', 'W', 'P', 'S', 'K', '=', 0x0D, 'A'})), std::string::npos);
    setting->close().get();
}

TEST_P(WLanSettingEchoTest, ScanGivesTheAccessPointsInReplyOrder) {
    auto hostile = shop();
    hostile.ssid = "caf\xC3\xA9 = bar";  // a separator in the SSID: that line is ignored, its entry closes later
    auto other = shop();
    other.ssid = "\xE6\x97\xA5\xE6\x9C\xAC";
    other.security = "OPEN";
    module->setAccessPoints({shop(), other, hostile, shop()});
    auto setting = openedSetting();
    const auto found = setting->fetchNearbyAccessPointInfo().get();
    EXPECT_EQ(module->requests(), (Strings{"ATWS"}));
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].description(), "ssid : shop, bssid : 10:20:30:40:50:60, channel : 11, rssi : -58, security : WPA2-PSK");
    EXPECT_EQ(found[1].ssid, other.ssid);
    EXPECT_EQ(found[1].security, "OPEN");
    // The hostile entry's four lines and the next entry's SSID make five keys: an entry with that next SSID.
    EXPECT_EQ(found[2].ssid, "shop");

    module->setScanTimesOut(true);
    EXPECT_EQ(setting->fetchNearbyAccessPointInfo().get().size(), 3u);
    setting->close().get();
}

TEST_F(WLanSettingTest, ErrorsEndTheSequence) {
    auto setting = openedSetting();
    setting->setCommunicationTimeout(600);
    module->failCommand("ATWPROF");
    auto error = errorOfFuture(setting->initSetting());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::badResponse);
    EXPECT_EQ(error->message(), "Bad response from device.");
    EXPECT_EQ(module->requests(), (Strings{"ATWPROF=0"}));

    // A query answered with ERROR never completes: the budget runs out.
    module->failCommand("ATWINSPECT");
    const auto start = std::chrono::steady_clock::now();
    error = errorOfFuture(setting->loadCurrentInfo());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
    EXPECT_EQ(error->message(), "Request timed out.");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 550ms);
    EXPECT_EQ(module->requests().back(), "ATWINSPECT");

    // A scan answered with a plain ERROR times out too.
    module->failCommand("ATWS");
    error = errorOfFuture(setting->fetchNearbyAccessPointInfo());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Request timed out.");
    setting->close().get();
}

TEST_F(WLanSettingTest, ASecurityReplyWithoutItsValueIsABadResponse) {
    auto setting = openedSetting();
    module->omitLines({"Security"});
    const auto error = errorOfFuture(setting->loadCurrentInfo());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::badResponse);
    EXPECT_EQ(module->requests(), (Strings{"ATW", "ATWINSPECT", "ATWSEC?"}));
    setting->close().get();
}

TEST_F(WLanSettingTest, TheBudgetIsReadWhenTheCallIsMade) {
    auto setting = openedSetting();
    module->setSilent(true);
    setting->setCommunicationTimeout(300);
    const auto start = std::chrono::steady_clock::now();
    auto pending = setting->loadCurrentInfo();
    setting->setCommunicationTimeout(60000);
    const auto error = errorOfFuture(std::move(pending), 5s);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message(), "Request timed out.");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    EXPECT_EQ(module->requests(), (Strings{"ATW"}));
    setting->close().get();
}

TEST_F(WLanSettingTest, OperationsNeedAnOpenDeviceAndReopenAttachesANewControl) {
    auto setting = OrvoWLanSetting::create(bleSettings());
    auto error = errorOfFuture(setting->initSetting());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::invalidOperation);
    EXPECT_EQ(error->message(), "Not opened.");
    EXPECT_TRUE(peripheral->writes().empty());

    ASSERT_EQ(errorOfFuture(setting->open()), std::nullopt);
    setting->close().get();
    std::promise<std::pair<bool, std::optional<Prelix10Error>>> answer;
    setting->loadCurrentInfo([&answer](std::optional<CurrentWLanInfo> info, std::optional<Prelix10Error> e) {
        answer.set_value({info.has_value(), e});
    });
    const auto [hasInfo, closedError] = answer.get_future().get();
    EXPECT_FALSE(hasInfo);
    ASSERT_TRUE(closedError);
    EXPECT_EQ(closedError->message(), "Not opened.");
    EXPECT_TRUE(module->requests().empty());

    ASSERT_EQ(errorOfFuture(setting->open()), std::nullopt);
    EXPECT_EQ(setting->fetchNearbyAccessPointInfo().get().size(), 1u);
    setting->close().get();
}

TEST_F(WLanSettingTest, ServiceStatusComesFromTheAdvertisedSettingService) {
    // Found by discovery: the advertisement carried the setting service and status byte 0x2B.
    auto information = std::make_shared<BluetoothLEInformation>();
    information->modelName = kModel;
    information->address = "0011625E7701";
    information->capWLanSettingService = true;
    information->wLanSettingServiceStatus = WLanSettingServiceStatus::fromFlags(0x0B);
    auto device = BluetoothLEOrvoSettingDeviceDiscoveryManager::createSettingDevice(information);
    ASSERT_TRUE(device);
    device->setCommunicationTimeout(1234);
    auto setting = OrvoWLanSetting::create(*device);
    ASSERT_TRUE(setting->serviceStatus());
    EXPECT_EQ(*setting->serviceStatus(), WLanSettingServiceStatus(true, false, true, true));
    EXPECT_EQ(setting->communicationTimeout(), 10000);  // the defaults, not the device's
    EXPECT_EQ(setting->connectionSettings().identifier(), "0011625E7701");

    information->capWLanSettingService = false;  // a status parsed, but the service not announced
    EXPECT_FALSE(OrvoWLanSetting::create(*device)->serviceStatus());
    EXPECT_FALSE(OrvoWLanSetting::create(bleSettings())->serviceStatus());
}

// Line breaks or NUL in an SSID or pass phrase would end the request early and run the rest as a command of its
// own; other controls, bytes that are not UTF-8, unnamed modes and lengths past 802.11's are refused too, with the
// other input checks, before anything is sent.
TEST_F(WLanSettingTest, InputChecksRefuseBeforeAnythingIsSent) {
    using T = WLanSecurityType;
    const std::string family = "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7";
    std::string thirteenFamilies;
    for (int i = 0; i < 13; ++i) thirteenFamilies += family;  // 13 characters, 65 code points
    struct Case {
        APInfo info;
        bool passes;
    };
    const Case cases[] = {
        {APInfo(WLanMode::infrastructure, "shop", T::open, "x"), false},
        {APInfo(WLanMode::unknown, "shop", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::unknown, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::accessPoint, "shop", T::automatic, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "1234567"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, std::string(65, 'a')), false},
        {APInfo(WLanMode::infrastructure, "net\rATWSET=1", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "net\nx", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, std::string("net\0x", 5), T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "1234\rATWPROF=2"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "12345678\n"), false},
        {APInfo(static_cast<WLanMode>(0x0D), "shop", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "caf\xE9", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "1234567\xFF"), false},
        {APInfo(WLanMode::infrastructure, "\xC0\xAFshop", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "net\bx", T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "12345678\x7F"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "1234\x1B" "5678"), false},
        {APInfo(WLanMode::infrastructure, std::string(33, 's'), T::wpa2Personal, "12345678"), false},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, std::string(64, 'g')), false},
        {APInfo(WLanMode::infrastructure, std::string(32, 's'), T::wpa2Personal, std::string(63, 'g')), true},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, std::string(32, '0') + std::string(32, 'F')), true},
        {APInfo(WLanMode::infrastructure, "shop", T::open, ""), true},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, "12345678"), true},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa2Personal, std::string(64, 'a')), true},
        {APInfo(WLanMode::infrastructure, "shop", T::automatic, "12345678"), true},
        {APInfo(WLanMode::infrastructure, "shop", T::wpa3SAE, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x83\x91\xE3\x82\xB9"
                                                              "\xE3\x83\xAF\xE3\x83\xBC\xE3\x83\x89"), true},
        {APInfo(WLanMode::accessPoint, "shop", T::wpaPersonal, thirteenFamilies), true},
    };
    for (const auto& c : cases) {
        std::optional<Prelix10Error> error;
        try {
            Lupek599WLanSettingControl::checkInputAPInfo(c.info);
        } catch (const Prelix10Error& e) {
            error = e;
        }
        EXPECT_EQ(!error, c.passes) << c.info.description() << " " << c.info.password.size();
        if (error) {
            EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
            EXPECT_EQ(error->message(), "Specified argument value is out of specification.");
        }
    }

    auto setting = openedSetting();
    for (const auto& c : cases) {
        if (c.passes) continue;
        const auto error = errorOfFuture(setting->setupConnection(c.info));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
    }
    EXPECT_TRUE(peripheral->writes().empty());
    EXPECT_TRUE(module->requests().empty());
    setting->close().get();
}

TEST_P(WLanSettingEchoTest, ThePassPhraseNeverReachesTheLog) {
    // New for each run, so that the files of earlier runs cannot hide or fake a find.
    const std::string kPassPhrase =
        "Zq7-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007) + "-Phrase";
    SimulatedWLanModule::AccessPoint joined = shop();
    joined.passPhrase = kPassPhrase;
    module->setAccessPoints({joined});
    auto& logger = Prelix10Logger::shared();
    logger.start();
    auto setting = openedSetting();
    const auto error = errorOfFuture(setting->setupConnection(
        APInfo(WLanMode::infrastructure, "shop", WLanSecurityType::wpa2Personal, kPassPhrase)));
    setting->close().get();
    logger.stop();
    ASSERT_FALSE(error);
    EXPECT_EQ(module->state().passPhrase, kPassPhrase);
    auto fileLogger = sharedOrvoLogger();
    ASSERT_TRUE(fileLogger);
    fileLogger->waitUntilWritten();

    std::string all;
    const auto directory = PrivateFileManager::location();
    ASSERT_TRUE(directory);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*directory)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    // Logging was on: the SSID request's bytes are there, the pass phrase's request only by its length.
    EXPECT_NE(all.find(Util::describe(ByteBlock{'A', 'T', 'W', 'S', 'S', 'I', 'D', '='}).substr(1, 20)), std::string::npos);
    EXPECT_NE(all.find("Write - ***"), std::string::npos);
    if (GetParam()) {
        EXPECT_NE(all.find("Received - ***"), std::string::npos);
    }
    const ByteBlock secret(kPassPhrase.begin(), kPassPhrase.end());
    const auto described = Util::describe(secret);
    for (const std::string& form : {kPassPhrase, hex(secret), described.substr(1, described.size() - 2),
                                    described.substr(13, 24), kPassPhrase.substr(2, 10)}) {
        EXPECT_EQ(all.find(form), std::string::npos) << form;
    }
}

// A port straight to the module, for the control alone: each read takes what the module has answered, after
// the given number of empty reads per request.
class ModulePort final : public SettingDevicePort {
public:
    ModulePort(std::shared_ptr<SimulatedWLanModule> module, int emptyReads) : module_(std::move(module)), emptyReads_(emptyReads) {}
    RawPort& rawPort() const override { std::abort(); }
    std::shared_ptr<RawPort> sharedRawPort() const override { return nullptr; }
    void initialize(std::int64_t) override {}
    bool isConnected() const override { return true; }
    void close() override {}
    ByteBlock readOnce(std::int64_t size) override {
        ++reads;
        if (skip_ > 0) {
            --skip_;
            return {};
        }
        const auto n = std::min<std::size_t>(static_cast<std::size_t>(size), pending_.size());
        ByteBlock out(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(n));
        return out;
    }
    void waitForIncomingBytes(std::chrono::milliseconds) override {}
    void clearReadBuffer() override { pending_.clear(); }
    void write(const ByteBlock& data, std::int64_t) override {
        const auto reply = module_->receive(data);
        pending_.insert(pending_.end(), reply.begin(), reply.end());
        skip_ = emptyReads_;
    }
    void writeConcealed(const ByteBlock& data, std::int64_t timeout) override { write(data, timeout); }

    int reads = 0;

private:
    std::shared_ptr<SimulatedWLanModule> module_;
    const int emptyReads_;
    int skip_ = 0;
    std::deque<std::uint8_t> pending_;
};

TEST(Lupek599WLanSettingControl, ABudgetOfZero) {
    const APInfo ap(WLanMode::infrastructure, "shop", WLanSecurityType::wpa2Personal, "12345678");
    {
        // Every reply complete in the first read: the whole sequence succeeds.
        auto module = std::make_shared<SimulatedWLanModule>();
        auto port = std::make_shared<ModulePort>(module, 0);
        Lupek599WLanSettingControl control(port);
        control.setupConnection(ap, 0);
        control.initSetting(0);
        EXPECT_EQ(control.loadCurrentInfo(0).ssid, "shop");
        EXPECT_EQ(module->requests().size(), 11u);
    }
    {
        // The first read finds nothing: the first request ends the operation.
        auto module = std::make_shared<SimulatedWLanModule>();
        auto port = std::make_shared<ModulePort>(module, 1);
        Lupek599WLanSettingControl control(port);
        try {
            control.setupConnection(ap, 0);
            FAIL() << "no time out";
        } catch (const Prelix10Error& error) {
            EXPECT_EQ(error.kind(), Prelix10ErrorKind::communication);
            EXPECT_EQ(error.message(), "Request timed out.");
        }
        EXPECT_EQ(module->requests(), (Strings{"ATWPROF=1"}));
        EXPECT_EQ(port->reads, 1);
    }
}

TEST(Lupek599WLanSettingControl, PollsAtItsIntervalWhileAReplyIsIncomplete) {
    auto module = std::make_shared<SimulatedWLanModule>();
    auto port = std::make_shared<ModulePort>(module, 3);
    Lupek599WLanSettingControl control(port);
    const auto start = std::chrono::steady_clock::now();
    control.initSetting(5000);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(port->reads, 8);  // three empty reads and the reply, twice
    EXPECT_GE(elapsed, 600ms);  // 0.1 s after each of the six incomplete reads

    BaseWLanSettingControl base(port);
    try {
        base.initSetting(100);
        FAIL() << "the base control worked";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::unknown);
    }
}

}  // namespace
}  // namespace Prelix10::Testing
