// The setting device's C face against a simulated Bluetooth LE setting device that answers each write with
// "<" + the bytes + ">".

#include <gtest/gtest.h>

#include <chrono>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "capi/SettingFaceCallbacks.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/OrvoPrinterEmulation.hpp"
#include "prelix10/core/OrvoPrinterModel.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "support/Hex.hpp"
#include "wlan/SettingDeviceFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

Bytes bracketing(std::span<const std::uint8_t> in) {
    Bytes out{'<'};
    out.insert(out.end(), in.begin(), in.end());
    out.push_back('>');
    return out;
}

class SettingDeviceFaceTest : public SettingDeviceFixture {
  protected:
    void SetUp() override {
        SettingDeviceFixture::SetUp();
        peripheral = addSettingDevice(bracketing);
        ASSERT_EQ(prelix10_setting_device_create(3, kAddress, 0, &device, nullptr), PRELIX10_OK);
    }
    void TearDown() override {
        prelix10_setting_device_release(device);
        SettingDeviceFixture::TearDown();
    }

    std::optional<CopiedError> open() {
        Completion done;
        EXPECT_EQ(prelix10_setting_device_open(device, Completion::onError, &done, nullptr), PRELIX10_OK);
        EXPECT_TRUE(done.wait());
        return done.error;
    }
    void close() {
        Completion done;
        EXPECT_EQ(prelix10_setting_device_close(device, Completion::onVoid, &done, nullptr), PRELIX10_OK);
        EXPECT_TRUE(done.wait());
    }
    // One read: the bytes, or the error.
    Completion* read(int size) {
        auto* done = new Completion;
        reads.emplace_back(done);
        EXPECT_EQ(prelix10_setting_device_read(device, size, Completion::onBytes, done, nullptr),
                  PRELIX10_OK);
        EXPECT_TRUE(done->wait());
        return done;
    }
    std::vector<std::uint8_t> readAtLeast(std::size_t n) {
        std::vector<std::uint8_t> all;
        const auto until = std::chrono::steady_clock::now() + 3s;
        while (all.size() < n && std::chrono::steady_clock::now() < until) {
            auto* piece = read(64);
            if (!piece->bytes) break;
            all.insert(all.end(), piece->bytes->begin(), piece->bytes->end());
            if (all.size() < n) std::this_thread::sleep_for(10ms);
        }
        return all;
    }
    int intOf(int (*getter)(const prelix10_setting_device*, int*, prelix10_error**)) {
        int value = -1000;
        EXPECT_EQ(getter(device, &value, nullptr), PRELIX10_OK);
        return value;
    }

    std::shared_ptr<SimulatedBlePeripheral> peripheral;
    prelix10_setting_device* device = nullptr;
    std::vector<std::unique_ptr<Completion>> reads;
};

TEST_F(SettingDeviceFaceTest, PropertiesBeforeAndAfterTheOpen) {
    int type = 0, autoSwitch = -1;
    char* identifier = nullptr;
    ASSERT_EQ(prelix10_setting_device_connection_settings(device, &type, &identifier, &autoSwitch, nullptr),
              PRELIX10_OK);
    EXPECT_EQ(type, 3);
    EXPECT_STREQ(identifier, kAddress);
    EXPECT_EQ(autoSwitch, 0);
    prelix10_string_release(identifier);
    EXPECT_EQ(intOf(prelix10_setting_device_open_timeout), 10000);
    EXPECT_EQ(intOf(prelix10_setting_device_communication_timeout), 10000);
    EXPECT_EQ(intOf(prelix10_setting_device_ble_rssi), PRELIX10_SETTING_DEVICE_NO_RSSI);
    EXPECT_EQ(intOf(prelix10_setting_device_is_opened), 0);
    ASSERT_EQ(prelix10_setting_device_set_open_timeout(device, 4000, nullptr), PRELIX10_OK);
    ASSERT_EQ(prelix10_setting_device_set_communication_timeout(device, 3000, nullptr), PRELIX10_OK);
    EXPECT_EQ(intOf(prelix10_setting_device_open_timeout), 4000);
    EXPECT_EQ(intOf(prelix10_setting_device_communication_timeout), 3000);

    int has = -1, model = -1, emulation = -1;
    char* address = reinterpret_cast<char*>(this);
    ASSERT_EQ(
        prelix10_setting_device_information(device, &has, &model, &emulation, &address, nullptr, nullptr),
        PRELIX10_OK);
    EXPECT_EQ(has, 0);
    EXPECT_EQ(model, 0);
    EXPECT_EQ(address, nullptr);

    ASSERT_EQ(open(), std::nullopt);
    EXPECT_EQ(intOf(prelix10_setting_device_is_opened), 1);
    ASSERT_EQ(
        prelix10_setting_device_information(device, &has, &model, &emulation, &address, nullptr, nullptr),
        PRELIX10_OK);
    EXPECT_EQ(has, 1);
    EXPECT_EQ(model, static_cast<int>(OrvoPrinterModel::Ginor_7));
    EXPECT_EQ(emulation, static_cast<int>(OrvoPrinterEmulation::kestrin));
    ASSERT_NE(address, nullptr);
    prelix10_string_release(address);
    char* description = nullptr;
    ASSERT_EQ(prelix10_setting_device_description(device, &description, nullptr), PRELIX10_OK);
    EXPECT_NE(std::string(description).find("isOpened : true"), std::string::npos) << description;
    prelix10_string_release(description);
    close();
}

TEST_F(SettingDeviceFaceTest, BytesGoBothWaysOnlyWhileOpen) {
    // Closed: write and read fail with the state error, the read with no data.
    Completion write;
    const uint8_t at[] = {'A', 'T', 0x0D};
    ASSERT_EQ(
        prelix10_setting_device_write(device, at, sizeof at, 1000, Completion::onError, &write, nullptr),
        PRELIX10_OK);
    ASSERT_TRUE(write.wait());
    ASSERT_TRUE(write.error);
    EXPECT_EQ(write.error->code, PRELIX10_ERROR_INVALID_OPERATION);
    EXPECT_EQ(write.error->message, "Not opened.");
    auto* closedRead = read(10);
    EXPECT_EQ(closedRead->bytes, std::nullopt);
    ASSERT_TRUE(closedRead->error);
    EXPECT_EQ(closedRead->error->message, "Not opened.");

    ASSERT_EQ(open(), std::nullopt);
    Completion sent;
    ASSERT_EQ(prelix10_setting_device_write(device, at, sizeof at, 2000, Completion::onError, &sent, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(sent.wait());
    EXPECT_EQ(sent.error, std::nullopt);
    EXPECT_EQ(hex(readAtLeast(5)), hex({'<', 'A', 'T', 0x0D, '>'}));
    // Nothing more has come: an empty block, which is still a block.
    auto* empty = read(10);
    EXPECT_EQ(empty->error, std::nullopt);
    ASSERT_TRUE(empty->bytes);
    EXPECT_TRUE(empty->bytes->empty());
    // An empty write is allowed without a pointer.
    Completion nothing;
    ASSERT_EQ(prelix10_setting_device_write(device, nullptr, 0, 1000, Completion::onError, &nothing, nullptr),
              PRELIX10_OK);
    ASSERT_TRUE(nothing.wait());
    EXPECT_EQ(hex(peripheral->receivedBytes()), "41540D");
    close();
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
}

TEST_F(SettingDeviceFaceTest, ABorrowedRecordCanBeCopiedAndAMistakenReleaseOfItDoesNoHarm) {
    struct Seen {
        Completion done;
        prelix10_error* copy = nullptr;
    } seen;
    const auto onError = [](void* context, const prelix10_error* error) {
        auto* self = static_cast<Seen*>(context);
        self->copy = prelix10_error_copy(error);
        prelix10_error_release(const_cast<prelix10_error*>(error));
        self->done.finish();
    };
    const uint8_t byte = 0x41;
    ASSERT_EQ(prelix10_setting_device_write(device, &byte, 1, 100, onError, &seen, nullptr), PRELIX10_OK);
    ASSERT_TRUE(seen.done.wait());
    const auto copied = takeError(seen.copy);
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->message, "Not opened.");
}

TEST_F(SettingDeviceFaceTest, TheOpenCompletionClosesAndReleasesItsOwnDevice) {
    Completion closed;
    Completion opened;
    opened.then = [&] {
        // On the device's queue, under its lock: the close is queued behind this completion.
        EXPECT_EQ(prelix10_setting_device_close(device, Completion::onVoid, &closed, nullptr), PRELIX10_OK);
        prelix10_setting_device_release(device);
        device = nullptr;
    };
    ASSERT_EQ(prelix10_setting_device_open(device, Completion::onError, &opened, nullptr), PRELIX10_OK);
    ASSERT_TRUE(opened.wait());
    EXPECT_EQ(opened.error, std::nullopt);
    ASSERT_TRUE(closed.wait());
    EXPECT_EQ(closed.callCount(), 1);
    for (int i = 0; i < 200 && OrvoDeviceManager::registeredCount() != registeredBefore; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
}

TEST_F(SettingDeviceFaceTest, ReleasingTheHandleWithAnOpenInFlightStillCompletesItOnce) {
    Completion opened;
    ASSERT_EQ(prelix10_setting_device_open(device, Completion::onError, &opened, nullptr), PRELIX10_OK);
    prelix10_setting_device_release(device);
    device = nullptr;
    ASSERT_TRUE(opened.wait());
    EXPECT_EQ(opened.error, std::nullopt);
    // The last hold went with the open's end: the device is closed and given back.
    for (int i = 0; i < 400 && OrvoDeviceManager::registeredCount() != registeredBefore; ++i)
        std::this_thread::sleep_for(5ms);
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(opened.callCount(), 1);
}

}  // namespace
}  // namespace Prelix10::Testing
