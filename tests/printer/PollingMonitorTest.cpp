#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/core/Log.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PollingMonitor.hpp"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

// Records every event of the four delegates as a line of text, in order.
class Recorder : public PrinterDelegate, public DrawerDelegate, public InputDeviceDelegate, public DisplayDelegate {
public:
    void communicationErrorDidOccur(OrvoPrinter&, const Prelix10Error& e) override { add("error:" + e.message()); }
    void printerIsReady(OrvoPrinter&) override { add("ready"); }
    void printerDidHaveError(OrvoPrinter&) override { add("hasError"); }
    void printerIsPaperReady(OrvoPrinter&) override { add("paperReady"); }
    void printerIsPaperNearEmpty(OrvoPrinter&) override { add("paperNearEmpty"); }
    void printerIsPaperEmpty(OrvoPrinter&) override { add("paperEmpty"); }
    void printerIsCoverOpen(OrvoPrinter&) override { add("coverOpen"); }
    void printerIsCoverClose(OrvoPrinter&) override { add("coverClose"); }
    void drawerDidSwitch(OrvoPrinter&, bool signal) override { add(signal ? "drawer:on" : "drawer:off"); }
    void drawerDidSwitchStatusDetails(OrvoPrinter&, std::shared_ptr<const OrvoPrinterStatusDetail> d) override {
        add(d ? "drawerDetail" : "drawerDetail:null");
    }
    void inputDeviceDidConnect(OrvoPrinter&) override { add("input:connect"); }
    void inputDeviceDidDisconnect(OrvoPrinter&) override { add("input:disconnect"); }
    void inputDeviceDidReceive(OrvoPrinter&, const ByteBlock& data) override {
        add("input:data:" + std::string(data.begin(), data.end()));
    }
    void displayDidConnect(OrvoPrinter&) override { add("display:connect"); }
    void displayDidDisconnect(OrvoPrinter&) override { add("display:disconnect"); }

    std::vector<std::string> events() {
        std::lock_guard guard(mutex_);
        return events_;
    }
    std::size_t count() {
        std::lock_guard guard(mutex_);
        return events_.size();
    }
    // Waits (bounded) until at least n events have come.
    bool waitFor(std::size_t n, std::chrono::milliseconds limit = 5000ms) {
        std::unique_lock guard(mutex_);
        return changed_.wait_for(guard, limit, [&] { return events_.size() >= n; });
    }
    // The events after the first `from`.
    std::vector<std::string> since(std::size_t from) {
        std::lock_guard guard(mutex_);
        return {events_.begin() + static_cast<std::ptrdiff_t>(std::min(from, events_.size())), events_.end()};
    }

protected:
    void add(std::string event) {
        {
            std::lock_guard guard(mutex_);
            events_.push_back(std::move(event));
        }
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
};

using Events = std::vector<std::string>;

class PollingMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<VirtualPrinterEngine>();
        server = std::make_unique<VirtualPrinterServer>(*engine);
        responder = std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
        recorder = std::make_shared<Recorder>();
    }
    void TearDown() override {
        lan.reset();
        responder.reset();
        server.reset();
    }
    std::shared_ptr<OrvoPrinter> openPrinter() {
        auto printer = OrvoPrinter::create(OrvoConnectionSettings(InterfaceType::lan, "127.0.0.1", false));
        printer->setOpenTimeout(5000);
        printer->open().get();
        return printer;
    }
    // Waits one and a half poll periods: long enough for one more poll, too short for an event storm.
    static void settle() { std::this_thread::sleep_for(800ms); }
    static bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            if (std::chrono::steady_clock::now() >= until) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
    std::shared_ptr<Recorder> recorder;
};

}  // namespace

TEST_F(PollingMonitorTest, PrinterEventsInOrderOnFirstPollThenOnlyOnChange) {
    auto printer = openPrinter();
    printer->setPrinterDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(3));
    settle();
    EXPECT_EQ(recorder->events(), (Events{"ready", "paperReady", "coverClose"}));

    const struct {
        std::function<void(PrinterState&)> change;
        Events expected;
    } steps[] = {
        {[](PrinterState& s) { s.paperNearEmpty = true; }, {"paperNearEmpty"}},
        {[](PrinterState& s) { s.paperNearEmpty = false; }, {}},
        {[](PrinterState& s) { s.paperNearEmpty = true; }, {"paperNearEmpty"}},
        {[](PrinterState& s) { s.coverOpen = true; }, {"hasError", "coverOpen"}},
        {[](PrinterState& s) { s.coverOpen = false; }, {"ready", "coverClose"}},
        {[](PrinterState& s) { s.paperEmpty = true; }, {"hasError", "paperEmpty"}},
        {[](PrinterState& s) { s.paperEmpty = false; s.errorForced = true; }, {"paperReady"}},
    };
    for (const auto& step : steps) {
        const auto before = recorder->count();
        engine->update(step.change);
        if (!step.expected.empty()) {
            ASSERT_TRUE(recorder->waitFor(before + step.expected.size()));
        }
        settle();
        EXPECT_EQ(recorder->since(before), step.expected);
    }
    printer->close().get();
}

TEST_F(PollingMonitorTest, DrawerEventsOnFirstPollAndOnChangeOfAnyField) {
    auto printer = openPrinter();
    printer->setDrawerDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(2));
    settle();
    EXPECT_EQ(recorder->events(), (Events{"drawer:off", "drawerDetail"}));

    const struct {
        std::function<void(PrinterState&)> change;
        Events expected;
    } steps[] = {
        {[](PrinterState& s) { s.drawerSignal = true; }, {"drawer:on"}},
        {[](PrinterState& s) { s.externalDeviceConnected[2] = true; }, {"drawerDetail"}},  // detail only
        {[](PrinterState& s) { s.paperNearEmpty = true; }, {}},  // nothing the drawer manager compares
        {[](PrinterState& s) { s.drawerSignal = false; }, {"drawer:off"}},
    };
    for (const auto& step : steps) {
        const auto before = recorder->count();
        engine->update(step.change);
        if (!step.expected.empty()) {
            ASSERT_TRUE(recorder->waitFor(before + step.expected.size()));
        }
        settle();
        EXPECT_EQ(recorder->since(before), step.expected);
    }
    printer->close().get();
}

TEST_F(PollingMonitorTest, AccessoryConnectionAndStoredData) {
    engine->configure([](VirtualPrinterConfig& c) { c.inputDeviceStoredData.clear(); });  // zero bytes stored
    auto printer = openPrinter();
    printer->setInputDeviceDelegate(recorder);
    printer->setDisplayDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(2));
    settle();
    // Zero bytes of stored data raise nothing.
    EXPECT_EQ(recorder->events(), (Events{"input:connect", "display:connect"}));

    auto before = recorder->count();
    engine->queueStoredData({'4', '9', '0', '1', '2', '3', '4'});
    ASSERT_TRUE(recorder->waitFor(before + 1));
    std::this_thread::sleep_for(1500ms);  // several more polls
    EXPECT_EQ(recorder->since(before), (Events{"input:data:4901234"}));  // exactly once

    before = recorder->count();
    engine->configure([](VirtualPrinterConfig& c) {
        c.displayStatus = 0x00;
        c.inputDeviceStatus = 0x00;
    });
    ASSERT_TRUE(recorder->waitFor(before + 2));
    settle();
    EXPECT_EQ(recorder->since(before), (Events{"input:disconnect", "display:disconnect"}));
    printer->close().get();
}

TEST_F(PollingMonitorTest, StoredDataIsRaisedOncePerPollEvenWhenTheStatusReplyNeverComes) {
    // The input device's status request goes unanswered: its part of the poll never completes, and the
    // poll keeps reading until its time is up.
    engine->configure([](VirtualPrinterConfig& c) {
        c.inputDeviceStatusSilent = true;
        c.inputDeviceStoredData = {'A', 'B'};
    });
    auto printer = openPrinter();
    printer->setInputDeviceDelegate(recorder);
    // The poll's events come when it ends, after its ten seconds.
    ASSERT_TRUE(recorder->waitFor(1, 12000ms));
    std::this_thread::sleep_for(1000ms);  // the next poll is still reading
    EXPECT_EQ(recorder->events(), (Events{"input:data:AB"}));
    printer->close().get();
}

TEST_F(PollingMonitorTest, NoIoWithoutDelegateAndALateDelegateTakesEffectAtTheNextPoll) {
    auto printer = openPrinter();
    const auto statusBefore = engine->statusRequestCount();
    const auto accessoryBefore = engine->accessoryRequestCount();
    const auto bytesBefore = engine->captureSize(PrinterChannel::data) + engine->captureSize(PrinterChannel::status);
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(engine->statusRequestCount(), statusBefore);
    EXPECT_EQ(engine->accessoryRequestCount(), accessoryBefore);
    EXPECT_EQ(engine->captureSize(PrinterChannel::data) + engine->captureSize(PrinterChannel::status), bytesBefore);

    const auto set = std::chrono::steady_clock::now();
    printer->setPrinterDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(3, 2000ms));
    EXPECT_LT(std::chrono::steady_clock::now() - set, 1500ms);
    EXPECT_EQ(engine->accessoryRequestCount(), accessoryBefore);  // a printer delegate reads only the status

    // Cleared again: no more I/O.
    printer->setPrinterDelegate({});
    settle();
    const auto cleared = engine->statusRequestCount();
    std::this_thread::sleep_for(1200ms);
    EXPECT_EQ(engine->statusRequestCount(), cleared);
    printer->close().get();
}

TEST_F(PollingMonitorTest, PollsComeAtMostOncePerHalfSecond) {
    auto printer = openPrinter();
    printer->setPrinterDelegate(recorder);
    printer->setInputDeviceDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(1));
    // Unrelated bytes from the printer (automatic status blocks) must not speed the loop up.
    const auto statusStart = engine->statusRequestCount();
    const auto accessoryStart = engine->accessoryRequestCount();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 6; ++i) {
        engine->sendRaw({0x00, 0x01, 0x02});
        std::this_thread::sleep_for(500ms);
    }
    const auto elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto polls = engine->statusRequestCount() - statusStart;
    const auto maxPolls = static_cast<std::size_t>(elapsed / 0.5) + 1;
    EXPECT_LE(polls, maxPolls);
    EXPECT_GE(polls, 3u);  // and it does keep polling
    // Two accessory requests (status and stored data) per poll.
    EXPECT_LE(engine->accessoryRequestCount() - accessoryStart, 2 * maxPolls);
    printer->close().get();
}

TEST_F(PollingMonitorTest, APollIsSkippedWhileAnOperationHoldsThePrinter) {
    auto printer = openPrinter();
    printer->setPrinterDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(3));
    // A completion runs under the printer's lock: hold it for two seconds.
    std::promise<void> held;
    const auto before = engine->statusRequestCount();
    printer->getStatus([&](std::shared_ptr<const OrvoPrinterStatus>, std::optional<Prelix10Error>) {
        std::this_thread::sleep_for(2000ms);
        held.set_value();
    });
    held.get_future().get();
    EXPECT_EQ(engine->statusRequestCount() - before, 1u);  // only the operation's own request
    const auto events = recorder->count();
    ASSERT_TRUE(waitUntil([&] { return engine->statusRequestCount() > before + 1; }, 2000ms));  // polls resume
    EXPECT_EQ(recorder->count(), events);  // no event for the skipped passes
    printer->close().get();
}

TEST_F(PollingMonitorTest, AFailedPollRaisesTheErrorOnEveryManagerAndClosesThePrinter) {
    auto printer = openPrinter();
    printer->setPrinterDelegate(recorder);
    printer->setDrawerDelegate(recorder);
    printer->setInputDeviceDelegate(recorder);
    // No display delegate: its manager exists all the same and raises into nothing.
    ASSERT_TRUE(recorder->waitFor(6));
    settle();
    const auto before = recorder->count();
    server->setFaults(PrinterChannel::data, makeFaults([](ConnectionFaults& f) { f.refuse = true; }));
    server->setFaults(PrinterChannel::status, makeFaults([](ConnectionFaults& f) { f.refuse = true; }));
    server->dropConnections();
    ASSERT_TRUE(recorder->waitFor(before + 3, 15000ms));
    ASSERT_TRUE(waitUntil([&] { return !printer->isOpened(); }, 5000ms));
    settle();
    const auto errors = recorder->since(before);
    ASSERT_EQ(errors.size(), 3u);
    for (const auto& e : errors) EXPECT_EQ(e.rfind("error:", 0), 0u) << e;
    EXPECT_TRUE(waitUntil([] { return PollingMonitor::runningLoops() == 0; }, 2000ms));
    // Nothing after it, and the printer can be closed again harmlessly.
    printer->close().get();
    EXPECT_EQ(recorder->count(), before + 3);
}

namespace {

// Calls a blocking operation of the printer from inside its event.
class BlockingDelegate : public PrinterDelegate {
public:
    void printerIsReady(OrvoPrinter& printer) override {
        try {
            auto status = printer.getStatus().get();
            gotStatus = status != nullptr;
        } catch (...) {
        }
        done.set_value();
    }
    bool gotStatus = false;
    std::promise<void> done;
};

}  // namespace

TEST_F(PollingMonitorTest, ADelegateMayWaitForAnOperationOfThePrinter) {
    auto printer = openPrinter();
    auto delegate = std::make_shared<BlockingDelegate>();
    auto done = delegate->done.get_future();
    printer->setPrinterDelegate(delegate);
    ASSERT_EQ(done.wait_for(5s), std::future_status::ready);  // a deadlock would never get here
    EXPECT_TRUE(delegate->gotStatus);
    printer->close().get();
}

TEST_F(PollingMonitorTest, NoEventFollowsCloseAndReopenedPrintersHaveOneMonitor) {
    auto printer = openPrinter();
    printer->setPrinterDelegate(recorder);
    printer->setDrawerDelegate(recorder);
    printer->setInputDeviceDelegate(recorder);
    ASSERT_TRUE(recorder->waitFor(6));
    // Close and reopen quickly, again and again, while the monitor runs.
    for (int i = 0; i < 6; ++i) {
        printer->close().get();
        const auto atClose = recorder->count();
        engine->update([](PrinterState& s) { s.coverOpen = !s.coverOpen; });
        std::this_thread::sleep_for(std::chrono::milliseconds(40 * i));
        EXPECT_EQ(recorder->count(), atClose) << "event after close, round " << i;
        printer->open().get();
        std::this_thread::sleep_for(std::chrono::milliseconds(60 * i));
    }
    EXPECT_TRUE(waitUntil([] { return PollingMonitor::runningLoops() == 1; }, 2000ms));
    printer->close().get();
    const auto atClose = recorder->count();
    engine->update([](PrinterState& s) { s.paperEmpty = true; });
    EXPECT_TRUE(waitUntil([] { return PollingMonitor::runningLoops() == 0; }, 1500ms));
    std::this_thread::sleep_for(700ms);
    EXPECT_EQ(recorder->count(), atClose);
}

TEST_F(PollingMonitorTest, ClosingFromInsideAnEventEndsTheMonitor) {
    struct Closer : PrinterDelegate {
        void printerIsReady(OrvoPrinter& printer) override { printer.close().get(); }
    };
    auto printer = openPrinter();
    auto closer = std::make_shared<Closer>();
    printer->setPrinterDelegate(closer);
    EXPECT_TRUE(waitUntil([&] { return !printer->isOpened(); }));
    EXPECT_TRUE(waitUntil([] { return PollingMonitor::runningLoops() == 0; }, 2000ms));
}

TEST_F(PollingMonitorTest, DestroyingThePrinterWhileItsMonitorPollsEndsTheMonitor) {
    {
        auto printer = openPrinter();
        printer->setPrinterDelegate(recorder);
        printer->setInputDeviceDelegate(recorder);
        ASSERT_TRUE(recorder->waitFor(2));
        std::this_thread::sleep_for(230ms);
    }
    EXPECT_TRUE(waitUntil([] { return PollingMonitor::runningLoops() == 0; }, 1000ms));
    // The connection is released: another object opens the same printer.
    auto again = openPrinter();
    EXPECT_TRUE(again->isOpened());
    again->close().get();
}

TEST_F(PollingMonitorTest, ProcessExitWithAMonitoringPrinterDoesNotHang) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            auto printer = openPrinter();
            printer->setPrinterDelegate(recorder);
            recorder->waitFor(3);
            static std::shared_ptr<OrvoPrinter> kept = printer;  // still open and monitoring at exit
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

namespace {

class LineSink : public LogSink {
public:
    void initialize(const std::string&) override {}
    void setHeader(const std::string&) override {}
    void log(const std::string& line) override {
        std::lock_guard guard(mutex);
        lines.push_back(line);
    }
    std::size_t countContaining(const std::string& text) {
        std::lock_guard guard(mutex);
        std::size_t n = 0;
        for (const auto& line : lines) n += line.find(text) != std::string::npos ? 1 : 0;
        return n;
    }
    std::mutex mutex;
    std::vector<std::string> lines;
};

}  // namespace

TEST(PollingMonitorStart, AStartFailureIsLoggedOnce) {
    auto& logger = Prelix10Logger::shared();
    const auto previousSink = OrvoLoggerWrapper::sink();
    auto sink = std::make_shared<LineSink>();
    OrvoLoggerWrapper::setSink(sink);
    logger.start();
    // A second start while the first run is still counted as operating is refused. The first run of a monitor
    // whose printer is gone ends at once, so the pair is tried until the refusal is seen.
    std::optional<Prelix10Error> refusal;
    for (int attempt = 0; attempt < 50 && !refusal; ++attempt) {
        auto monitor = std::make_shared<PollingMonitor>(std::weak_ptr<OrvoPrinter>{});
        monitor->startMonitoring();
        try {
            monitor->startMonitoring();
        } catch (const Prelix10Error& error) {
            refusal = error;
        }
        monitor->stopMonitoring();
    }
    logger.stop();
    OrvoLoggerWrapper::setSink(previousSink);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (PollingMonitor::runningLoops() > 0 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(5ms);
    if (!refusal) GTEST_SKIP() << "every first run ended before the second start";
    EXPECT_EQ(refusal->message(), "Unexpected state at line 8 of PollingMonitor.");
    EXPECT_EQ(sink->countContaining("Unexpected state at line 8 of PollingMonitor."), 1u);
}

namespace {

// Holds its first event until released, so that the test can change the slot while the rest of the same
// poll's events wait to be raised.
class HoldingRecorder : public Recorder {
public:
    void printerIsReady(OrvoPrinter& printer) override {
        Recorder::printerIsReady(printer);
        std::unique_lock guard(holdMutex_);
        held_ = true;
        holdChanged_.notify_all();
        holdChanged_.wait_for(guard, 10s, [&] { return released_; });
    }
    bool waitUntilHeld() {
        std::unique_lock guard(holdMutex_);
        return holdChanged_.wait_for(guard, 10s, [&] { return held_; });
    }
    void release() {
        {
            std::lock_guard guard(holdMutex_);
            released_ = true;
        }
        holdChanged_.notify_all();
    }

private:
    std::mutex holdMutex_;
    std::condition_variable holdChanged_;
    bool held_ = false;
    bool released_ = false;
};

}  // namespace

// The slot is read when each event is raised: a delegate replaced or cleared after the poll saw the change gets
// none of that poll's later events.
TEST_F(PollingMonitorTest, EachEventGoesToTheDelegateInTheSlotWhenItIsRaised) {
    for (const bool replaced : {true, false}) {
        SCOPED_TRACE(replaced ? "replaced" : "cleared");
        auto printer = openPrinter();
        auto first = std::make_shared<HoldingRecorder>();
        auto second = std::make_shared<Recorder>();
        printer->setPrinterDelegate(first);
        ASSERT_TRUE(first->waitUntilHeld());
        printer->setPrinterDelegate(replaced ? std::weak_ptr<PrinterDelegate>(second) : std::weak_ptr<PrinterDelegate>{});
        first->release();
        if (replaced) {
            ASSERT_TRUE(second->waitFor(2));
            EXPECT_EQ(second->events(), (Events{"paperReady", "coverClose"}));
        } else {
            settle();
        }
        EXPECT_EQ(first->events(), (Events{"ready"}));
        printer->close().get();
    }
}
