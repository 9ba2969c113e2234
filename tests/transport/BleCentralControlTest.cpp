#include <gtest/gtest.h>
#include <time.h>

#include <atomic>
#include <future>
#include <map>
#include <mutex>
#include <thread>

#include "prelix10/transport/BLEService.hpp"
#include "prelix10/transport/PeripheralControl.hpp"
#include "transport/BleFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

double threadCpuMilliseconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

class BleCentralControlTest : public BleFixture {
protected:
    // A peripheral connected through the shared control, and a control of its own.
    std::shared_ptr<PeripheralControl> connected(const std::shared_ptr<SimulatedBlePeripheral>& peripheral) {
        auto done = std::make_shared<std::promise<std::optional<Prelix10Error>>>();
        CentralManagerControl::shared().connect(peripheral, std::nullopt, 2000,
                                                [done](std::optional<Prelix10Error> e) { done->set_value(e); });
        EXPECT_FALSE(done->get_future().get().has_value());
        auto control = PeripheralControl::make(peripheral);
        auto services = std::make_shared<std::promise<std::optional<PeripheralControl::ControlError>>>();
        control->discoverServices(std::nullopt, 2000, [services](auto e) { services->set_value(e); });
        EXPECT_FALSE(services->get_future().get().has_value());
        service = peripheral->services()->front();
        control->discoverCharacteristics(std::nullopt, service, 2000);
        const auto characteristics = service->characteristics();
        for (const auto& c : *characteristics) {
            if (c->uuid() == BLEServices::writeCharacteristicUuid(BLEService::printService)) writeCharacteristic = c;
            if (c->uuid() == BLEServices::notifyCharacteristicUuid(BLEService::printService)) notifyCharacteristic = c;
        }
        return control;
    }
    std::shared_ptr<BleService> service;
    std::shared_ptr<BleCharacteristic> writeCharacteristic;
    std::shared_ptr<BleCharacteristic> notifyCharacteristic;
};

TEST_F(BleCentralControlTest, WaitForStateSleepsUntilTheStateIsKnown) {
    auto& control = CentralManagerControl::shared();
    EXPECT_EQ(control.waitForState(2000), BleManagerState::poweredOn);

    // Unknown throughout: unknown after the whole timeout, with the thread asleep, not spinning.
    central->setState(BleManagerState::unknown);
    const double cpuBefore = threadCpuMilliseconds();
    BleManagerState state{};
    const auto waited = elapsedDuring([&] { state = control.waitForState(300); });
    const double cpu = threadCpuMilliseconds() - cpuBefore;
    EXPECT_EQ(state, BleManagerState::unknown);
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(cpu, 60.0) << "the wait used " << cpu << " ms of processor time in " << waited.count() << " ms";

    // A state reported later ends the wait then.
    std::thread later([&] {
        std::this_thread::sleep_for(50ms);
        central->setState(BleManagerState::poweredOff);
    });
    const auto early = elapsedDuring([&] { state = control.waitForState(2000); });
    later.join();
    EXPECT_EQ(state, BleManagerState::poweredOff);
    EXPECT_LT(early, 1000ms);
}

TEST_F(BleCentralControlTest, ConnectTimesOutOnceAndDropsTheLateAnswer) {
    struct Case {
        const char* name;
        SimulatedBleFaults faults;
    };
    SimulatedBleFaults never;
    never.neverConnect = true;
    SimulatedBleFaults late;
    late.connectDelay = 250ms;
    for (const auto& c : {Case{"never", never}, Case{"late", late}}) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = std::string("00:11:62:00:00:0") + (c.name[0] == 'n' ? "1" : "2");
        auto peripheral = addPrinter(config, c.faults);
        auto calls = std::make_shared<std::atomic<int>>(0);
        auto first = std::make_shared<std::promise<std::optional<Prelix10Error>>>();
        const auto waited = elapsedDuring([&] {
            CentralManagerControl::shared().connect(peripheral, std::nullopt, 100,
                                                    [calls, first](std::optional<Prelix10Error> e) {
                                                        if (calls->fetch_add(1) == 0) first->set_value(e);
                                                    });
            const auto error = first->get_future().get();
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->message(), "Open failed.");
            EXPECT_EQ(error->kind(), Prelix10ErrorKind::communication);
        });
        EXPECT_GE(waited, 100ms);
        EXPECT_LT(waited, 250ms);
        std::this_thread::sleep_for(300ms);  // past the late answer
        EXPECT_EQ(calls->load(), 1);
        EXPECT_EQ(CentralManagerControl::shared().pendingConnectCount(), 0u);
    }
}

TEST_F(BleCentralControlTest, LaterScannerHearsWhatTheRunningScanSawAndTheScanEndsWithTheLast) {
    SimulatedBlePeripheralConfig config;
    config.address = "00:11:62:00:00:10";
    addPrinter(config);
    auto& control = CentralManagerControl::shared();
    int scannerA = 0;
    int scannerB = 0;
    std::atomic<int> seenByA{0};
    control.startScan(&scannerA, [&](auto&, auto&, int) { ++seenByA; });
    const auto until = std::chrono::steady_clock::now() + 2s;
    while (seenByA.load() == 0 && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(2ms);
    ASSERT_GT(seenByA.load(), 0);

    // B is told at once, on this thread, of what the scan has seen.
    int seenByBAtOnce = 0;
    const std::thread::id me = std::this_thread::get_id();
    control.startScan(&scannerB, [&](auto&, auto&, int) {
        if (std::this_thread::get_id() == me) ++seenByBAtOnce;
    });
    EXPECT_GT(seenByBAtOnce, 0);
    EXPECT_EQ(central->scanStarts(), 1u);

    control.stopScan(&scannerA);
    EXPECT_TRUE(central->isScanning());
    control.stopScan(&scannerB);
    EXPECT_FALSE(central->isScanning());
    EXPECT_EQ(control.scannerCount(), 0u);
}

TEST_F(BleCentralControlTest, LaterScannerHearsEachPeripheralOnceWithItsLatestAdvertisement) {
    SimulatedBlePeripheralConfig config;
    config.address = "00:11:62:00:00:11";
    auto first = addPrinter(config);
    config.address = "00:11:62:00:00:12";
    auto second = addPrinter(config);
    auto& control = CentralManagerControl::shared();
    int scannerA = 0;
    int scannerB = 0;
    std::mutex mutex;
    std::map<const BlePeripheral*, std::pair<int, int>> heardByA;  // advertisements, last RSSI
    control.startScan(&scannerA, [&](const std::shared_ptr<BlePeripheral>& p, auto&, int rssi) {
        std::lock_guard lock(mutex);
        auto& entry = heardByA[p.get()];
        ++entry.first;
        entry.second = rssi;
    });
    first->setRssi(-71);
    const auto heard = [&](int count) {
        std::lock_guard lock(mutex);
        return heardByA.size() == 2 && heardByA[first.get()].first >= count &&
               heardByA[second.get()].first >= count && heardByA[first.get()].second == -71;
    };
    const auto until = std::chrono::steady_clock::now() + 3s;
    while (!heard(5) && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(2ms);
    ASSERT_TRUE(heard(5));

    std::vector<std::pair<const BlePeripheral*, int>> replayed;
    const std::thread::id me = std::this_thread::get_id();
    control.startScan(&scannerB, [&](const std::shared_ptr<BlePeripheral>& p, auto&, int rssi) {
        if (std::this_thread::get_id() == me) replayed.emplace_back(p.get(), rssi);
    });
    ASSERT_EQ(replayed.size(), 2u);
    EXPECT_NE(replayed[0].first, replayed[1].first);
    for (const auto& [peripheral, rssi] : replayed) EXPECT_EQ(rssi, peripheral == first.get() ? -71 : -50);
    EXPECT_EQ(control.discoveredCount(), 2u);
    control.stopScan(&scannerA);
    control.stopScan(&scannerB);
    EXPECT_EQ(control.discoveredCount(), 0u);
}

TEST_F(BleCentralControlTest, AnswerAfterItsTimeoutNeverSignalsTheNextOperation) {
    // The first request's answer comes at 200 ms, after it gave up at 50 ms; the second request is never
    // answered, so it must time out even though an answer arrives while it waits.
    struct Case {
        const char* name;
        bool notify;
    };
    for (const auto& c : {Case{"notification switch", true}, Case{"write with response", false}}) {
        SCOPED_TRACE(c.name);
        SimulatedBlePeripheralConfig config;
        config.address = c.notify ? "00:11:62:00:00:20" : "00:11:62:00:00:21";
        auto peripheral = addPrinter(config);
        auto control = connected(peripheral);
        SimulatedBleFaults late;
        late.notifyDelay = 200ms;
        late.writeAcknowledgeDelay = 200ms;
        peripheral->setFaults(late);
        const auto first = errorOf([&] {
            if (c.notify) control->setNotifyValue(true, notifyCharacteristic, 50);
            else control->write({0x01}, writeCharacteristic, BleWriteType::withResponse, 50);
        });
        ASSERT_TRUE(first.has_value());
        SimulatedBleFaults silent;
        silent.neverAnswerNotify = true;
        silent.neverAcknowledgeWrite = true;
        peripheral->setFaults(silent);
        std::optional<Prelix10Error> second;
        const auto waited = elapsedDuring([&] {
            second = errorOf([&] {
                if (c.notify) control->setNotifyValue(true, notifyCharacteristic, 400);
                else control->write({0x02}, writeCharacteristic, BleWriteType::withResponse, 400);
            });
        });
        ASSERT_TRUE(second.has_value()) << "the late answer was taken for the second request";
        EXPECT_GE(waited, 400ms);
        if (c.notify) {
            EXPECT_EQ(second->errorCode(), Prelix10ErrorCode::bluetoothLeDeviceIsNotPaired);
        } else {
            EXPECT_EQ(second->message(), "Write failed.");
        }
        // A request that is never answered leaves its kind unusable on this control; the control of the next
        // open gets its own answers.
        peripheral->setFaults({});
        auto next = PeripheralControl::make(peripheral);
        EXPECT_FALSE(errorOf([&] {
            if (c.notify) next->setNotifyValue(true, notifyCharacteristic, 1000);
            else next->write({0x03}, writeCharacteristic, BleWriteType::withResponse, 1000);
        }));
    }
}

TEST_F(BleCentralControlTest, WriteWithoutResponseWaitsForRoomInPausedStepsAndNeedsNoAcknowledgement) {
    SimulatedBleFaults busy;
    busy.busy = true;
    busy.neverAcknowledgeWrite = true;
    auto peripheral = addPrinter({}, {});
    auto control = connected(peripheral);
    peripheral->setFaults(busy);
    const auto pollsBefore = peripheral->writeRoomPolls().size();
    std::optional<Prelix10Error> error;
    const auto waited = elapsedDuring([&] {
        error = errorOf([&] { control->write({0x41}, writeCharacteristic, BleWriteType::withoutResponse, 100); });
    });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message(), "Write failed.");
    EXPECT_GE(waited, 100ms);
    auto polls = peripheral->writeRoomPolls();
    polls.erase(polls.begin(), polls.begin() + static_cast<std::ptrdiff_t>(pollsBefore));
    EXPECT_GE(polls.size(), 5u);
    EXPECT_LE(polls.size(), 12u);
    for (auto gap : gapsOf(polls)) EXPECT_GE(gap, 10000) << "a room poll came early";
    EXPECT_TRUE(peripheral->writes().empty());

    busy.busy = false;
    peripheral->setFaults(busy);
    EXPECT_FALSE(errorOf([&] { control->write({0x42}, writeCharacteristic, BleWriteType::withoutResponse, 100); }));
    ASSERT_EQ(peripheral->writes().size(), 1u);
    EXPECT_EQ(hex(peripheral->writes().front().bytes), "42");

    // Not connected: fails at once, nothing sent.
    peripheral->dropLink();
    const auto quick = elapsedDuring([&] {
        EXPECT_TRUE(errorOf([&] { control->write({0x43}, writeCharacteristic, BleWriteType::withResponse, 1000); }));
    });
    EXPECT_LT(quick, 250ms);
    EXPECT_EQ(peripheral->writes().size(), 1u);
}

}  // namespace
}  // namespace Prelix10::Testing
