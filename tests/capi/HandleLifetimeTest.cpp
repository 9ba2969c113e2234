// Handles of the C interface against reuse and against a release on another thread: a released handle
// never names a newer object, and a call that races a release either completes or fails with an argument
// error, never touching freed memory.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/capi/prelix10.h"

namespace {

// One kind of handle: how to make one, release it, and make a call on it.
struct Kind {
    const char* name;
    std::function<void*()> create;
    std::function<void(void*)> release;
    std::function<int(void*, prelix10_error**)> call;
};

std::vector<Kind> kinds() {
    static const int lan = PRELIX10_INTERFACE_LAN;
    static const int ble = PRELIX10_INTERFACE_BLUETOOTH_LE;
    return {
        {"printer builder", [] { return static_cast<void*>(prelix10_printer_builder_create(nullptr)); },
         [](void* h) { prelix10_printer_builder_release(static_cast<prelix10_printer_builder*>(h)); },
         [](void* h, prelix10_error** e) {
             return prelix10_printer_builder_style_bold(static_cast<prelix10_printer_builder*>(h), 1, e);
         }},
        {"document builder", [] { return static_cast<void*>(prelix10_document_builder_create(nullptr)); },
         [](void* h) { prelix10_document_builder_release(static_cast<prelix10_document_builder*>(h)); },
         [](void* h, prelix10_error** e) {
             return prelix10_document_builder_add_drawer_open(static_cast<prelix10_document_builder*>(h),
                                                              PRELIX10_DRAWER_1, 100, e);
         }},
        {"printer",
         [] {
             return static_cast<void*>(prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr));
         },
         [](void* h) { prelix10_printer_release(static_cast<prelix10_printer*>(h)); },
         [](void* h, prelix10_error** e) {
             int opened = -1;
             return prelix10_printer_is_opened(static_cast<prelix10_printer*>(h), &opened, e);
         }},
        {"discovery", [] { return static_cast<void*>(prelix10_discovery_create(&lan, 1, nullptr)); },
         [](void* h) { prelix10_discovery_release(static_cast<prelix10_discovery*>(h)); },
         [](void* h, prelix10_error** e) {
             int64_t time = 0;
             return prelix10_discovery_get_time(static_cast<prelix10_discovery*>(h), &time, e);
         }},
        {"setting device",
         [] {
             prelix10_setting_device* h = nullptr;
             prelix10_setting_device_create(ble, "00:11:22:33:44:55", 0, &h, nullptr);
             return static_cast<void*>(h);
         },
         [](void* h) { prelix10_setting_device_release(static_cast<prelix10_setting_device*>(h)); },
         [](void* h, prelix10_error** e) {
             int opened = -1;
             return prelix10_setting_device_is_opened(static_cast<prelix10_setting_device*>(h), &opened, e);
         }},
        {"wireless LAN setting",
         [] {
             prelix10_wlan_setting* h = nullptr;
             prelix10_wlan_setting_create(ble, "00:11:22:33:44:55", 0, &h, nullptr);
             return static_cast<void*>(h);
         },
         [](void* h) { prelix10_wlan_setting_release(static_cast<prelix10_wlan_setting*>(h)); },
         [](void* h, prelix10_error** e) {
             int has = -1;
             prelix10_wlan_setting_service_status status{};
             return prelix10_wlan_setting_get_service_status(static_cast<prelix10_wlan_setting*>(h), &has,
                                                             &status, e);
         }},
        {"setting device discovery",
         [] {
             prelix10_setting_device_discovery_manager* h = nullptr;
             prelix10_setting_device_discovery_manager_create(&ble, 1, &h, nullptr);
             return static_cast<void*>(h);
         },
         [](void* h) {
             prelix10_setting_device_discovery_manager_release(
                 static_cast<prelix10_setting_device_discovery_manager*>(h));
         },
         [](void* h, prelix10_error** e) {
             int64_t time = 0;
             return prelix10_setting_device_discovery_manager_discovery_time(
                 static_cast<prelix10_setting_device_discovery_manager*>(h), &time, e);
         }},
    };
}

// True when the call failed with an argument error naming an invalid handle.
bool refusedAsInvalidHandle(const Kind& kind, void* handle) {
    prelix10_error* error = nullptr;
    const int result = kind.call(handle, &error);
    const bool refused = result == PRELIX10_FAILED && error != nullptr && error->code == PRELIX10_ERROR_ARGUMENT &&
                         std::string(error->message).find("Invalid handle") != std::string::npos;
    prelix10_error_release(error);
    return refused;
}

}  // namespace

TEST(CApiHandles, AReleasedHandleNeverNamesANewerObject) {
    for (const auto& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        void* released = kind.create();
        ASSERT_NE(released, nullptr);
        kind.release(released);
        // Freed memory is handed out again at once by the allocator; a handle must not be.
        std::vector<void*> later;
        for (int i = 0; i < 32; ++i) {
            void* handle = kind.create();
            ASSERT_NE(handle, nullptr);
            EXPECT_NE(handle, released);
            later.push_back(handle);
        }
        EXPECT_TRUE(refusedAsInvalidHandle(kind, released));
        for (void* handle : later) {
            prelix10_error* error = nullptr;
            EXPECT_EQ(kind.call(handle, &error), PRELIX10_OK);
            prelix10_error_release(error);
            kind.release(handle);
            EXPECT_TRUE(refusedAsInvalidHandle(kind, handle));
        }
    }
}

TEST(CApiHandles, AStaleBuilderHandleLeavesTheNewBuilderUnchanged) {
    prelix10_printer_builder* first = prelix10_printer_builder_create(nullptr);
    prelix10_printer_builder_release(first);
    prelix10_printer_builder* second = prelix10_printer_builder_create(nullptr);
    prelix10_document_builder* document = prelix10_document_builder_create(nullptr);
    ASSERT_EQ(prelix10_document_builder_add_printer(document, second, nullptr), PRELIX10_OK);
    char* before = prelix10_document_builder_get_commands(document, nullptr);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(prelix10_printer_builder_style_bold(first, 1, nullptr), PRELIX10_FAILED);
    EXPECT_EQ(prelix10_printer_builder_action_print_text(first, "stale", nullptr), PRELIX10_FAILED);
    char* after = prelix10_document_builder_get_commands(document, nullptr);
    ASSERT_NE(after, nullptr);
    EXPECT_STREQ(after, before);
    prelix10_string_release(before);
    prelix10_string_release(after);
    prelix10_document_builder_release(document);
    prelix10_printer_builder_release(second);
}

// Several threads call on handles while another releases them. Each call either completes (it began
// before the release took the handle out) or is refused; under the sanitizers a use of freed memory or a
// data race fails the test.
TEST(CApiHandles, CallsRacingAReleaseEitherCompleteOrFailWithAnArgumentError) {
    constexpr int kRounds = 40;
    constexpr int kThreads = 6;
    for (int round = 0; round < kRounds; ++round) {
        prelix10_printer_builder* builder = prelix10_printer_builder_create(nullptr);
        prelix10_document_builder* document = prelix10_document_builder_create(nullptr);
        prelix10_printer* printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr);
        ASSERT_NE(builder, nullptr);
        ASSERT_NE(document, nullptr);
        ASSERT_NE(printer, nullptr);
        std::atomic<bool> stop{false};
        std::atomic<int> started{0};
        std::atomic<int> unexpected{0};
        std::vector<std::thread> callers;
        for (int t = 0; t < kThreads; ++t) {
            callers.emplace_back([&, t] {
                started.fetch_add(1);
                for (int i = 0; i < 400 && !stop.load(); ++i) {
                    prelix10_error* error = nullptr;
                    int result = PRELIX10_OK;
                    switch ((t + i) % 4) {
                        case 0:
                            result = prelix10_printer_builder_action_print_text(builder, "x", &error);
                            break;
                        case 1:
                            result = prelix10_document_builder_add_printer(document, builder, &error);
                            break;
                        case 2: {
                            char* identifier = prelix10_printer_get_identifier(printer, &error);
                            result = identifier != nullptr ? PRELIX10_OK : PRELIX10_FAILED;
                            prelix10_string_release(identifier);
                            break;
                        }
                        default:
                            result = prelix10_printer_set_timeout(printer, PRELIX10_TIMEOUT_PRINT, 1000 + i, &error);
                            break;
                    }
                    if (result != PRELIX10_OK &&
                        (error == nullptr || error->code != PRELIX10_ERROR_ARGUMENT)) {
                        unexpected.fetch_add(1);
                    }
                    prelix10_error_release(error);
                }
            });
        }
        while (started.load() < kThreads) std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(200 + 50 * round));
        prelix10_printer_builder_release(builder);
        prelix10_printer_release(printer);
        prelix10_document_builder_release(document);
        stop.store(true);
        for (auto& caller : callers) caller.join();
        EXPECT_EQ(unexpected.load(), 0) << "round " << round;
    }
}
