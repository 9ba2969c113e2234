// The discovery through the C interface, against the virtual printer's discovery responder on loopback.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "CApiTestSupport.hpp"

using namespace Prelix10;
using namespace Prelix10::Testing;
using namespace std::chrono_literals;

namespace {

struct Found {
    std::mutex mutex;
    std::vector<prelix10_printer*> printers;
    prelix10_discovery* discovery = nullptr;
    Report finished;
    bool wrongDiscovery = false;
    bool releaseOnFind = false;
    std::atomic<int> calls{0};
};

prelix10_discovery_delegate table(Found& found) {
    prelix10_discovery_delegate d{};
    d.context = &found;
    d.did_find_printer = [](void* c, prelix10_discovery* discovery, prelix10_printer* printer) {
        auto* self = static_cast<Found*>(c);
        self->calls.fetch_add(1);
        if (discovery != self->discovery) self->wrongDiscovery = true;
        {
            std::lock_guard lock(self->mutex);
            self->printers.push_back(printer);
        }
        if (self->releaseOnFind) prelix10_discovery_release(discovery);
    };
    d.did_finish_discovery = [](void* c, prelix10_discovery*) { static_cast<Found*>(c)->finished.finish(); };
    return d;
}

class DiscoveryFace : public VirtualPrinterFixture {};

}  // namespace

TEST_F(DiscoveryFace, FindsThePrinterAsAnOwnedHandleThatOpens) {
    const int lan = PRELIX10_INTERFACE_LAN;
    Found found;
    found.discovery = prelix10_discovery_create(&lan, 1, nullptr);
    ASSERT_NE(found.discovery, nullptr);
    const auto d = table(found);
    int64_t time = 0;
    EXPECT_EQ(prelix10_discovery_get_time(found.discovery, &time, nullptr), PRELIX10_OK);
    EXPECT_EQ(time, -1);
    ASSERT_EQ(prelix10_discovery_set_delegate(found.discovery, &d, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_discovery_set_time(found.discovery, 1500, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_discovery_start(found.discovery, nullptr), PRELIX10_OK);
    ASSERT_TRUE(found.finished.wait());
    prelix10_discovery_release(found.discovery);
    EXPECT_FALSE(found.wrongDiscovery);
    ASSERT_EQ(found.printers.size(), 1u);

    prelix10_printer* printer = found.printers.front();
    char* model = prelix10_printer_get_model_name(printer, nullptr);
    ASSERT_NE(model, nullptr);
    EXPECT_STRNE(model, "unknown");
    prelix10_string_release(model);
    char* ip = nullptr;
    EXPECT_EQ(prelix10_printer_get_ip_address(printer, &ip, nullptr), PRELIX10_OK);
    ASSERT_NE(ip, nullptr);
    EXPECT_STREQ(ip, "127.0.0.1");
    prelix10_string_release(ip);
    // The handle outlives its discovery and reaches the printer it names.
    open(printer);
    close(printer);
    prelix10_printer_release(printer);
}

TEST_F(DiscoveryFace, AReleasedOrClearedDiscoveryCallsNothingMore) {
    const int lan = PRELIX10_INTERFACE_LAN;
    // Released from its own find: no end report follows, and nothing hangs.
    Found releasing;
    releasing.releaseOnFind = true;
    releasing.discovery = prelix10_discovery_create(&lan, 1, nullptr);
    const auto d = table(releasing);
    prelix10_discovery_set_delegate(releasing.discovery, &d, nullptr);
    ASSERT_EQ(prelix10_discovery_start(releasing.discovery, nullptr), PRELIX10_OK);
    for (int i = 0; i < 100 && releasing.calls.load() == 0; ++i) std::this_thread::sleep_for(50ms);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(releasing.calls.load(), 1);
    EXPECT_EQ(releasing.finished.calls, 0);
    {
        std::lock_guard lock(releasing.mutex);
        for (auto* printer : releasing.printers) prelix10_printer_release(printer);
    }

    // Cleared before the run starts: the run goes on and ends, reporting to nobody.
    Found cleared;
    cleared.discovery = prelix10_discovery_create(&lan, 1, nullptr);
    const auto table2 = table(cleared);
    prelix10_discovery_set_delegate(cleared.discovery, &table2, nullptr);
    prelix10_discovery_set_delegate(cleared.discovery, nullptr, nullptr);
    prelix10_discovery_set_time(cleared.discovery, 500, nullptr);
    ASSERT_EQ(prelix10_discovery_start(cleared.discovery, nullptr), PRELIX10_OK);
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(cleared.calls.load(), 0);
    EXPECT_EQ(cleared.finished.calls, 0);
    EXPECT_EQ(prelix10_discovery_stop(cleared.discovery, nullptr), PRELIX10_OK);
    prelix10_discovery_release(cleared.discovery);
}
