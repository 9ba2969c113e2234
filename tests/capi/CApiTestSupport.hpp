#pragma once

// What the C interface tests share: a virtual printer on loopback, and a report a C completion fills in
// that the test thread waits for with a bound.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/capi/prelix10.h"
#include "support/LoopbackLan.hpp"
#include "support/VirtualPrinterDiscovery.hpp"
#include "support/VirtualPrinterServer.hpp"

namespace Prelix10::Testing {

// A completion's report, copied while the completion runs (the records it receives are borrowed).
struct Report {
    std::mutex mutex;
    std::condition_variable condition;
    int calls = 0;
    bool hadError = false;
    std::string domain, message;
    int code = -1, detailCode = -1;
    std::vector<std::string> keys;
    bool hadStatus = false;
    prelix10_status_flags flags{};
    std::vector<std::uint8_t> bytes;
    bool hadBytes = false;
    std::optional<std::string> text;
    std::int64_t value = 0;

    void record(const prelix10_error* error) {
        if (error == nullptr) return;
        hadError = true;
        domain = error->domain;
        message = error->message;
        code = error->code;
        detailCode = error->detail_code;
        for (size_t i = 0; i < error->user_info_key_count; ++i) keys.emplace_back(error->user_info_keys[i]);
    }
    void finish() {
        std::lock_guard lock(mutex);
        ++calls;
        condition.notify_all();
    }
    // True when the completion ran within the time.
    bool wait(std::chrono::milliseconds bound = std::chrono::seconds(20)) {
        std::unique_lock lock(mutex);
        return condition.wait_for(lock, bound, [&] { return calls > 0; });
    }

    static void onError(void* context, const prelix10_error* error) {
        auto* self = static_cast<Report*>(context);
        self->record(error);
        self->finish();
    }
    static void onVoid(void* context) { static_cast<Report*>(context)->finish(); }
    static void onStatus(void* context, const prelix10_status* status, const prelix10_error* error) {
        auto* self = static_cast<Report*>(context);
        self->record(error);
        if (status != nullptr)
            self->hadStatus = prelix10_status_get_flags(status, &self->flags, nullptr) == PRELIX10_OK;
        self->finish();
    }
    static void onBytes(void* context, const uint8_t* data, size_t size, const prelix10_error* error) {
        auto* self = static_cast<Report*>(context);
        self->record(error);
        self->hadBytes = data != nullptr;
        if (data != nullptr) self->bytes.assign(data, data + size);
        self->finish();
    }
    static void onText(void* context, const char* text, const prelix10_error* error) {
        auto* self = static_cast<Report*>(context);
        self->record(error);
        if (text != nullptr) self->text = text;
        self->finish();
    }
    static void onInt(void* context, int64_t value, const prelix10_error* error) {
        auto* self = static_cast<Report*>(context);
        self->record(error);
        self->value = value;
        self->finish();
    }
};

// A virtual printer answering on 127.0.0.1, discovery included, with the LAN layer kept on loopback.
class VirtualPrinterFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        engine = std::make_unique<VirtualPrinterEngine>();
        server = std::make_unique<VirtualPrinterServer>(*engine);
        responder =
            std::make_unique<VirtualPrinterDiscovery>(std::vector<DiscoveryIdentity>{DiscoveryIdentity{}});
        lan = std::make_unique<LoopbackLan>(server->dataPort(), server->statusPort(), responder->port());
    }
    void TearDown() override {
        lan.reset();
        responder.reset();
        server.reset();
    }
    // A printer handle for the virtual printer by its address.
    prelix10_printer* makePrinter() {
        prelix10_printer* printer = prelix10_printer_create(PRELIX10_INTERFACE_LAN, "127.0.0.1", 0, nullptr);
        prelix10_printer_set_timeout(printer, PRELIX10_TIMEOUT_OPEN, 5000, nullptr);
        return printer;
    }
    // Opens, failing the test when that does not work.
    void open(prelix10_printer* printer) {
        Report opened;
        ASSERT_EQ(prelix10_printer_open(printer, Report::onError, &opened, nullptr), PRELIX10_OK);
        ASSERT_TRUE(opened.wait());
        ASSERT_FALSE(opened.hadError) << opened.message;
    }
    void close(prelix10_printer* printer) {
        Report closed;
        ASSERT_EQ(prelix10_printer_close(printer, Report::onVoid, &closed, nullptr), PRELIX10_OK);
        ASSERT_TRUE(closed.wait());
    }

    std::unique_ptr<VirtualPrinterEngine> engine;
    std::unique_ptr<VirtualPrinterServer> server;
    std::unique_ptr<VirtualPrinterDiscovery> responder;
    std::unique_ptr<LoopbackLan> lan;
};

}  // namespace Prelix10::Testing
