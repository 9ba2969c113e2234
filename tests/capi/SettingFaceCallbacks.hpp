#pragma once

// Completion targets for the C functions of the setting faces: each records what its callback received,
// copied, and lets a test wait for it with a bound.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/capi/prelix10.h"

namespace Prelix10::Testing {

// What an error record said, copied out of the borrowed record.
struct CopiedError {
    std::string domain;
    int code = -1;
    std::string message;
    int detailCode = 0;
    std::vector<std::string> keys;
};

inline std::optional<CopiedError> copyError(const prelix10_error* error) {
    if (error == nullptr) return std::nullopt;
    CopiedError out;
    out.domain = error->domain ? error->domain : "";
    out.code = error->code;
    out.message = error->message ? error->message : "";
    out.detailCode = error->detail_code;
    for (std::size_t i = 0; i < error->user_info_key_count; ++i)
        out.keys.emplace_back(error->user_info_keys[i]);
    return out;
}

// The error a failed call handed out, released after copying.
inline std::optional<CopiedError> takeError(prelix10_error* error) {
    auto copy = copyError(error);
    prelix10_error_release(error);
    return copy;
}

// One completion: how often it ran, its error, and its value in the form the test needs.
struct Completion {
    std::mutex mutex;
    std::condition_variable changed;
    int calls = 0;
    std::optional<CopiedError> error;
    std::optional<std::string> text;
    std::optional<std::vector<std::uint8_t>> bytes;
    // Runs inside the callback, after the values were recorded and before the waiters are woken.
    std::function<void()> then;

    void finish() {
        if (then) then();
        std::lock_guard lock(mutex);
        ++calls;
        changed.notify_all();
    }
    bool wait(std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return calls > 0; });
    }
    int callCount() {
        std::lock_guard lock(mutex);
        return calls;
    }

    // Callbacks of each completion shape; the context is a Completion.
    static void onError(void* context, const prelix10_error* error) {
        auto* self = static_cast<Completion*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->error = copyError(error);
        }
        self->finish();
    }
    static void onVoid(void* context) { static_cast<Completion*>(context)->finish(); }
    static void onText(void* context, const char* text, const prelix10_error* error) {
        auto* self = static_cast<Completion*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->error = copyError(error);
            if (text != nullptr) self->text = text;
        }
        self->finish();
    }
    static void onBytes(void* context, const uint8_t* data, size_t size, const prelix10_error* error) {
        auto* self = static_cast<Completion*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->error = copyError(error);
            if (data != nullptr) self->bytes = std::vector<std::uint8_t>(data, data + size);
        }
        self->finish();
    }
};

}  // namespace Prelix10::Testing
