#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <limits>
#include <thread>

#include <unistd.h>

#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

class RecordingDelegate : public OrvoDeviceDiscoveryManagerDelegate {
public:
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        std::lock_guard guard(mutex);
        if (finished) findsAfterEnd++;
        printers.push_back(std::move(printer));
        changed.notify_all();
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        std::lock_guard guard(mutex);
        finishes++;
        finished = true;
        changed.notify_all();
    }
    bool waitFor(std::function<bool()> condition, std::chrono::milliseconds limit = 5000ms) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, condition);
    }
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::shared_ptr<OrvoPrinter>> printers;
    int finishes = 0;
    int findsAfterEnd = 0;
    bool finished = false;
};

DiscoveryIdentity second() {
    DiscoveryIdentity id;
    id.macAddress = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    id.ipAddress = {127, 0, 0, 2};
    id.deviceModel = "Kelto59 (ESP-001)";
    id.responseVersion = "RS1.0";
    return id;
}

class LanDiscoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}, second()});
        lan = std::make_unique<LoopbackLan>(9, 9, responder->port());
    }
    void TearDown() override {
        lan.reset();
        responder.reset();
    }
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
};

}  // namespace

TEST_F(LanDiscoveryTest, FindsEachVirtualPrinterOnceWithModelAndIdentifiers) {
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 2; }));
    // Further request cycles bring the same replies again; the duplicate filter keeps them away.
    std::this_thread::sleep_for(1200ms);
    manager->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finished; }));
    std::lock_guard guard(delegate->mutex);
    ASSERT_EQ(delegate->printers.size(), 2u);
    EXPECT_EQ(delegate->finishes, 1);
    EXPECT_EQ(delegate->findsAfterEnd, 0);
    EXPECT_GE(responder->requestCount(), 4u);
    std::map<std::string, std::shared_ptr<OrvoPrinter>> byMac;
    for (auto& p : delegate->printers) byMac[p->connectionSettings().identifier()] = p;
    const auto ginor = byMac.at("001162AABBCC");
    EXPECT_EQ(ginor->connectionSettings().interfaceType(), InterfaceType::lan);
    EXPECT_TRUE(ginor->connectionSettings().autoSwitchInterface());
    EXPECT_FALSE(ginor->isOpened());
    EXPECT_EQ(ginor->informationRecord()->model, OrvoPrinterModel::Ginor_6);
    EXPECT_EQ(ginor->informationRecord()->emulation, OrvoPrinterEmulation::kestrin);
    EXPECT_EQ(ginor->informationRecord()->connectionIdentifier.macAddress, "001162AABBCC");
    EXPECT_EQ(ginor->informationRecord()->nicInformation->ipAddress, "127.0.0.1");
    // The shared printer information carries the same values.
    const auto shared = ginor->information();
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->model, OrvoPrinterModel::Ginor_6);
    EXPECT_EQ(shared->connectionIdentifier->macAddress, "001162AABBCC");
    ASSERT_TRUE(shared->nicInformation);
    EXPECT_EQ(std::get<std::string>(*shared->nicInformation->value("ipAddress")), "127.0.0.1");
    EXPECT_EQ(shared->detail().lan->ipAddress, "127.0.0.1");
    EXPECT_EQ(shared->detail().lan->macAddress, "001162AABBCC");
    ASSERT_TRUE(shared->modelDetectionInformation);
    EXPECT_FALSE(shared->modelDetectionInformation->isEstimated);
    const auto kelto = byMac.at("0A1B2C3D4E5F");
    EXPECT_EQ(kelto->informationRecord()->model, OrvoPrinterModel::kelto59);
    EXPECT_EQ(kelto->informationRecord()->emulation, OrvoPrinterEmulation::escPos);
    // The request sent last is the version 1 request.
    EXPECT_EQ(responder->lastRequest(), DiscoveryCommand::makeRequest(false));
}

TEST_F(LanDiscoveryTest, RestartReportsAgainAndEndsPrecedeNewFinds) {
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->startDiscovery();
    try {
        manager->startDiscovery();
        ADD_FAILURE() << "started twice";
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Already started.");
    }
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 2; }));
    manager->stopDiscovery();
    manager->startDiscovery();  // waits for the first run's end
    {
        std::lock_guard guard(delegate->mutex);
        EXPECT_EQ(delegate->finishes, 1);
        delegate->finished = false;
    }
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 4; }));
    manager->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finishes == 2; }));
}

TEST_F(LanDiscoveryTest, DiscoveryTimeEndsTheRunByItself) {
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(std::vector<int>{4, 4, 9});
    EXPECT_TRUE(std::dynamic_pointer_cast<LANOrvoDeviceDiscoveryManager>(manager));
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->setDiscoveryTime(0);
    manager->startDiscovery();
    EXPECT_TRUE(delegate->waitFor([&] { return delegate->finished; }, 2000ms));
}

TEST_F(LanDiscoveryTest, LooksPrintersUpByAddressAndByMac) {
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto byIp = manager->findDevice({"127.0.0.2"}, 3000);
    EXPECT_EQ(byIp->connectionSettings().identifier(), "0A1B2C3D4E5F");
    auto byMac = manager->findDevice({"0a-1B-2c-3D-4e-5F"}, 3000);
    EXPECT_EQ(byMac->informationRecord()->nicInformation->ipAddress, "127.0.0.2");
    auto first = manager->findDevice({OrvoConnectionSettings::FIRST_FOUND_DEVICE()}, 3000);
    EXPECT_TRUE(first);
    const auto start = std::chrono::steady_clock::now();
    try {
        manager->findDevice({"00:00:00:00:00:01"}, 700);
        ADD_FAILURE() << "found a printer that does not exist";
    } catch (const Prelix10Error& error) {
        EXPECT_EQ(error.kind(), Prelix10ErrorKind::notFound);
        EXPECT_EQ(error.message(), "Device not found.");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3000ms);
}

TEST_F(LanDiscoveryTest, RepliesFromElsewhereAndMalformedRepliesAreIgnored) {
    // Bad datagrams from the responder itself come first: they must not hide the printers behind them.
    Bytes noMac = encodeDiscoveryReply({});
    noMac[34] = 0; noMac[35] = 44;  // NIC section too short for the MAC address
    Bytes garbage(400, 0xEE);
    responder->setPrefixDatagrams({noMac, garbage});
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto found = manager->findDevice({"127.0.0.2"}, 3000);
    EXPECT_EQ(found->connectionSettings().identifier(), "0A1B2C3D4E5F");

    // A host that got no request (another port) answers on its own: nothing is reported.
    responder->setPrefixDatagrams({});
    responder->setAnswerFromOtherPort(true);
    auto delegate = std::make_shared<RecordingDelegate>();
    auto discovery = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
    discovery->setDelegate(delegate);
    discovery->startDiscovery();
    std::this_thread::sleep_for(1200ms);
    EXPECT_GE(responder->requestCount(), 4u);
    discovery->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finished; }));
    std::lock_guard guard(delegate->mutex);
    EXPECT_TRUE(delegate->printers.empty());
}

TEST_F(LanDiscoveryTest, ModelRulesOfTheReply) {
    DiscoveryIdentity id;
    id.deviceModel.reset();
    EXPECT_FALSE(LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView(encodeDiscoveryReply(id))));
    // A model that asks for a detailed name is found by it, and only with it.
    id.deviceModel = "Harlo599KZ (ORV-001)";
    id.nameDetail.reset();
    EXPECT_FALSE(LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView(encodeDiscoveryReply(id))));
    id.nameDetail = "Harlo599KZ";
    auto printer = LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView(encodeDiscoveryReply(id)));
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->informationRecord()->model, OrvoPrinterModel::harlo599KZ);
    // That model needs reply version 4.0.0.
    id.responseVersion = "RS3.9.9";
    EXPECT_FALSE(LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView(encodeDiscoveryReply(id))));
    // An unknown model is still reported, with emulation unknown.
    id.deviceModel = "Something (XYZ)";
    id.responseVersion = "RS1.0.0";
    printer = LANOrvoDeviceDiscoveryManager::discoverOrvoPrinter(ByteView(encodeDiscoveryReply(id)));
    ASSERT_TRUE(printer);
    EXPECT_EQ(printer->informationRecord()->model, OrvoPrinterModel::unknown);
}

TEST(LanDiscovery, VersionComparisonAndBroadcastAddress) {
    using L = LANOrvoDeviceDiscoveryManager;
    EXPECT_TRUE(L::isVersion("1.0", "1.0.0"));
    EXPECT_FALSE(L::isVersion("0.9", "1.0.0"));
    EXPECT_TRUE(L::isVersion("RS4.0.1", "4.0.0"));
    EXPECT_FALSE(L::isVersion("4.0.0", "4.0.1"));
    EXPECT_TRUE(L::isVersion("10.0.0", "9.9.9"));
    EXPECT_FALSE(L::isVersion(std::nullopt, "1.0.0"));
    EXPECT_EQ(L::getDirectedBroadcastAddress("10.0.5.7", "255.255.0.0"), "10.0.255.255");
    EXPECT_EQ(L::getDirectedBroadcastAddress("192.168.1.20", "255.255.255.0"), "192.168.1.255");
    for (auto [ip, mask] : {std::pair{"192.168.1.300", "255.255.255.0"}, std::pair{"10.0.0.1", "255.255.0"}}) {
        try {
            L::getDirectedBroadcastAddress(ip, mask);
            ADD_FAILURE();
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.message(), "Unexpected state at line 280 of LANOrvoDeviceDiscoveryManager.");
        }
    }
}

TEST(LanDiscovery, NoNetworkMeansNetworkUnavailable) {
    NetworkInformation::setProvider([] { return std::optional<std::vector<InterfaceAddressEntry>>(std::vector<InterfaceAddressEntry>{}); });
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
    try {
        manager->startDiscovery();
        ADD_FAILURE();
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.kind(), Prelix10ErrorKind::illegalDeviceState);
        EXPECT_EQ(e.message(), "Network unavailable.");
        EXPECT_EQ(e.errorCode(), Prelix10ErrorCode::networkUnavailable);
    }
    // A lookup checks nothing and ends with "Device not found.".
    try {
        std::make_shared<LANOrvoDeviceDiscoveryManager>()->findDevice({"127.0.0.1"}, 100);
        ADD_FAILURE();
    } catch (const Prelix10Error& e) {
        EXPECT_EQ(e.message(), "Device not found.");
    }
    NetworkInformation::setProvider(nullptr);
}

TEST(DiscoveryFactory, InterfaceLists) {
    auto expectArgument = [](auto make, const char* message) {
        try {
            make();
            ADD_FAILURE() << message;
        } catch (const Prelix10Error& e) {
            EXPECT_EQ(e.kind(), Prelix10ErrorKind::argument);
            EXPECT_EQ(e.message(), message);
        }
    };
    expectArgument([] { OrvoDeviceDiscoveryManagerFactory::create(std::vector<int>{7, 9}); }, "Interface is not specified.");
    expectArgument([] { OrvoDeviceDiscoveryManagerFactory::create(std::vector<int>{0}); }, "Not Supported interface.");
    expectArgument([] { OrvoDeviceDiscoveryManagerFactory::create(std::vector<InterfaceType>{}); },
                   "Interface is not specified.");
}

TEST_F(LanDiscoveryTest, CompositeFiltersFindsOnceAndEndsAfterEveryMember) {
    auto first = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto second = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto composite = std::make_shared<MultipleOrvoDeviceDiscoveryManager>(
        std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>>{first, second});
    auto delegate = std::make_shared<RecordingDelegate>();
    composite->setDelegate(delegate);
    composite->startDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 2; }));
    std::this_thread::sleep_for(700ms);
    composite->stopDiscovery();
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->finished; }));
    std::lock_guard guard(delegate->mutex);
    EXPECT_EQ(delegate->printers.size(), 2u);  // both members found both printers
    EXPECT_EQ(delegate->finishes, 1);
    EXPECT_FALSE(first->isOperating());
    EXPECT_FALSE(second->isOperating());
}

TEST_F(LanDiscoveryTest, CompositeWhoseMembersEndAtOnceStillEnds) {
    auto composite = std::make_shared<MultipleOrvoDeviceDiscoveryManager>(
        std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>>{std::make_shared<LANOrvoDeviceDiscoveryManager>(),
                                                                 std::make_shared<LANOrvoDeviceDiscoveryManager>()});
    auto delegate = std::make_shared<RecordingDelegate>();
    composite->setDelegate(delegate);
    composite->setDiscoveryTime(0);
    composite->startDiscovery();
    EXPECT_TRUE(delegate->waitFor([&] { return delegate->finished; }, 3000ms));
}

TEST_F(LanDiscoveryTest, DroppingTheManagerStopsItsRun) {
    auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
    auto delegate = std::make_shared<RecordingDelegate>();
    manager->setDelegate(delegate);
    manager->startDiscovery();  // no time limit
    ASSERT_TRUE(delegate->waitFor([&] { return delegate->printers.size() >= 2; }));
    std::weak_ptr<OrvoDeviceDiscoveryManager> weak = manager;
    manager.reset();
    // The run holds the manager only while it reports a find: the manager goes, and its loops stop sending.
    for (int i = 0; i < 100 && !weak.expired(); ++i) std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(weak.expired());
    std::this_thread::sleep_for(100ms);
    const auto requests = responder->requestCount();
    std::this_thread::sleep_for(1200ms);  // more than two request cycles
    EXPECT_EQ(responder->requestCount(), requests);
}

TEST_F(LanDiscoveryTest, HugeDiscoveryTimesAndTimeoutsMeanPracticallyNever) {
    for (const std::int64_t time : {std::numeric_limits<std::int64_t>::max(), std::int64_t{9'300'000'000'000}}) {
        auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
        auto delegate = std::make_shared<RecordingDelegate>();
        manager->setDelegate(delegate);
        manager->setDiscoveryTime(time);
        manager->startDiscovery();
        EXPECT_FALSE(delegate->waitFor([&] { return delegate->finished; }, 300ms)) << time;
        manager->stopDiscovery();
        EXPECT_TRUE(delegate->waitFor([&] { return delegate->finished; })) << time;
    }
    // A lookup with such a timeout still runs until it finds its printer.
    auto manager = std::make_shared<LANOrvoDeviceDiscoveryManager>();
    auto found = manager->findDevice({"127.0.0.2"}, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(found->connectionSettings().identifier(), "0A1B2C3D4E5F");
}

// Process exit while a discovery without a time limit runs: in a child process, which must end by itself
// (an alarm kills it otherwise) and cleanly (a sanitizer report changes its exit code).
TEST_F(LanDiscoveryTest, ProcessExitsWhileADiscoveryRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const bool dropManager : {true, false}) {
        EXPECT_EXIT(
            {
                auto manager = OrvoDeviceDiscoveryManagerFactory::create(InterfaceType::lan);
                auto delegate = std::make_shared<RecordingDelegate>();
                manager->setDelegate(delegate);
                manager->startDiscovery();
                if (!delegate->waitFor([&] { return !delegate->printers.empty(); })) std::_Exit(3);
                // Either the app drops the manager, or it still holds it when the process exits.
                static std::shared_ptr<OrvoDeviceDiscoveryManager> held;
                if (dropManager) manager.reset();
                else held = manager;
                ::alarm(3);
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << (dropManager ? "manager dropped" : "manager held");
    }
}
