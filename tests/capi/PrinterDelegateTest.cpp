// The printer's delegate tables through the C interface: events bridged from the background monitor,
// and a clear that holds back every later call.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "CApiTestSupport.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

struct Events {
    std::mutex mutex;
    std::vector<std::string> names;
    std::atomic<bool> inside{false};
    std::atomic<int> calls{0};
    prelix10_printer* printer = nullptr;
    bool clearFromCallback = false;
    bool holdInCallback = false;

    void add(const char* name, prelix10_printer* from) {
        calls.fetch_add(1);
        inside.store(true);
        {
            std::lock_guard lock(mutex);
            names.emplace_back(from == printer ? name : "wrong printer");
        }
        if (holdInCallback) std::this_thread::sleep_for(300ms);
        if (clearFromCallback) prelix10_printer_set_printer_delegate(from, nullptr, nullptr);
        inside.store(false);
    }
    std::vector<std::string> snapshot() {
        std::lock_guard lock(mutex);
        return names;
    }
    bool waitFor(std::size_t count) {
        for (int i = 0; i < 200; ++i) {
            if (snapshot().size() >= count) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
};

#define EVENT(name) [](void* c, prelix10_printer* p) { static_cast<Events*>(c)->add(name, p); }

prelix10_printer_delegate table(Events& events) {
    prelix10_printer_delegate d{};
    d.context = &events;
    d.printer_is_ready = EVENT("ready");
    d.printer_did_have_error = EVENT("error");
    d.printer_is_paper_ready = EVENT("paper ready");
    d.printer_is_paper_empty = EVENT("paper empty");
    // printer_is_paper_near_empty stays NULL: a missing entry is skipped.
    d.printer_is_cover_open = EVENT("cover open");
    d.printer_is_cover_close = EVENT("cover close");
    return d;
}

class PrinterDelegates : public VirtualPrinterFixture {};

}  // namespace

TEST_F(PrinterDelegates, MonitorEventsReachTheTableWithTheirPrinterHandle) {
    prelix10_printer* printer = makePrinter();
    Events events;
    events.printer = printer;
    const auto d = table(events);
    ASSERT_EQ(prelix10_printer_set_printer_delegate(printer, &d, nullptr), PRELIX10_OK);
    engine->update([](PrinterState& s) { s.paperNearEmpty = true; });
    open(printer);
    ASSERT_TRUE(events.waitFor(3));
    EXPECT_EQ(events.snapshot(), (std::vector<std::string>{"ready", "paper ready", "cover close"}));

    engine->update([](PrinterState& s) { s.coverOpen = true; });
    ASSERT_TRUE(events.waitFor(5));
    const auto later = events.snapshot();
    EXPECT_NE(std::find(later.begin() + 3, later.end(), "cover open"), later.end());
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(PrinterDelegates, NoCallRunsOnceAClearHasReturned) {
    prelix10_printer* printer = makePrinter();
    Events events;
    events.printer = printer;
    events.holdInCallback = true;
    const auto d = table(events);
    ASSERT_EQ(prelix10_printer_set_printer_delegate(printer, &d, nullptr), PRELIX10_OK);
    open(printer);
    for (int i = 0; i < 200 && !events.inside.load(); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(events.inside.load());
    // The clear waits for the call under way on the monitor's thread.
    ASSERT_EQ(prelix10_printer_set_printer_delegate(printer, nullptr, nullptr), PRELIX10_OK);
    EXPECT_FALSE(events.inside.load());
    const int callsAtClear = events.calls.load();
    engine->update([](PrinterState& s) { s.coverOpen = true; });
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(events.calls.load(), callsAtClear);
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(PrinterDelegates, ACallbackMayClearItsOwnTableOrReleaseItsPrinter) {
    prelix10_printer* printer = makePrinter();
    Events events;
    events.printer = printer;
    events.clearFromCallback = true;
    const auto d = table(events);
    ASSERT_EQ(prelix10_printer_set_printer_delegate(printer, &d, nullptr), PRELIX10_OK);
    open(printer);
    ASSERT_TRUE(events.waitFor(1));
    std::this_thread::sleep_for(1000ms);
    // The first event cleared the table: the two that follow it in the same poll are not raised.
    EXPECT_EQ(events.snapshot(), std::vector<std::string>{"ready"});
    close(printer);

    // A delegate that releases its printer from an event on the monitor's thread: the printer goes away
    // cleanly, its connection closed, so another printer opens the same device.
    struct Releasing {
        std::atomic<int> events{0};
    } releasing;
    prelix10_printer_delegate releaser{};
    releaser.context = &releasing;
    releaser.printer_is_ready = [](void* c, prelix10_printer* p) {
        static_cast<Releasing*>(c)->events.fetch_add(1);
        prelix10_printer_release(p);
    };
    ASSERT_EQ(prelix10_printer_set_printer_delegate(printer, &releaser, nullptr), PRELIX10_OK);
    open(printer);
    for (int i = 0; i < 200 && releasing.events.load() == 0; ++i) std::this_thread::sleep_for(50ms);
    EXPECT_EQ(releasing.events.load(), 1);
    int opened = 0;
    EXPECT_EQ(prelix10_printer_is_opened(printer, &opened, nullptr), PRELIX10_FAILED);
    prelix10_printer* again = makePrinter();
    bool reopened = false;
    for (int attempt = 0; attempt < 50 && !reopened; ++attempt) {
        Report report;
        ASSERT_EQ(prelix10_printer_open(again, Report::onError, &report, nullptr), PRELIX10_OK);
        ASSERT_TRUE(report.wait());
        reopened = !report.hadError;
        if (!reopened) std::this_thread::sleep_for(100ms);
    }
    EXPECT_TRUE(reopened);
    close(again);
    prelix10_printer_release(again);
    EXPECT_EQ(releasing.events.load(), 1);
}
