#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"
#include "support/Hex.hpp"
#include "wlan/SettingDeviceFixture.hpp"

namespace Prelix10::Testing {
namespace {

using namespace std::chrono_literals;

class OrvoSettingDeviceTest : public SettingDeviceFixture {
protected:
    // The device answers every write with "<" + the bytes + ">".
    static Bytes bracketing(std::span<const std::uint8_t> in) {
        Bytes out{'<'};
        out.insert(out.end(), in.begin(), in.end());
        out.push_back('>');
        return out;
    }

    static PrinterInformationRecord knownModel(OrvoPrinterModel model, OrvoPrinterEmulation emulation) {
        PrinterInformationRecord record;
        record.model = model;
        record.emulation = emulation;
        return record;
    }

    // Reads until n bytes have come or the limit passed.
    static ByteBlock readAtLeast(const std::shared_ptr<OrvoSettingDevice>& device, std::size_t n) {
        ByteBlock all;
        const auto until = std::chrono::steady_clock::now() + 3s;
        while (all.size() < n && std::chrono::steady_clock::now() < until) {
            auto piece = device->read(1024).get();
            all.insert(all.end(), piece.begin(), piece.end());
            if (all.size() < n) std::this_thread::sleep_for(10ms);
        }
        return all;
    }

    static bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = 3000ms) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > until) return false;
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }
};

TEST_F(OrvoSettingDeviceTest, OtherInterfacesAreNotSupportedAndLeaveTheRegistryAlone) {
    addSettingDevice();
    for (auto type : {InterfaceType::lan, InterfaceType::usb, InterfaceType::bluetooth}) {
        auto device = OrvoSettingDevice::create(OrvoConnectionSettings(type, kAddress, false));
        const auto error = errorOfFuture(device->open());
        ASSERT_TRUE(error) << static_cast<int>(type);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::argument);
        EXPECT_EQ(error->message(), "Not Supported interface.");
        EXPECT_FALSE(device->isOpened());
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
    }
    EXPECT_EQ(peripherals[0]->connectCount(), 0u);
}

TEST_F(OrvoSettingDeviceTest, OpensExchangesBytesClosesAndReopens) {
    auto peripheral = addSettingDevice(bracketing);
    auto device = OrvoSettingDevice::create(bleSettings());
    EXPECT_EQ(device->bleRssi(), -127);

    ASSERT_EQ(errorOfFuture(device->open()), std::nullopt);
    EXPECT_TRUE(device->isOpened());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore + 1);
    const auto information = device->informationRecord();
    ASSERT_TRUE(information);
    EXPECT_EQ(information->model, OrvoPrinterModel::Ginor_7);
    EXPECT_EQ(information->emulation, OrvoPrinterEmulation::kestrin);

    ASSERT_EQ(errorOfFuture(device->write({'A', 'T', 0x0D}, 2000)), std::nullopt);
    EXPECT_EQ(hex(readAtLeast(device, 5)), hex({'<', 'A', 'T', 0x0D, '>'}));
    EXPECT_EQ(hex(peripheral->receivedBytes()), "41540D");

    // A second open of the same object fails and changes nothing.
    const auto again = errorOfFuture(device->open());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->kind(), Prelix10ErrorKind::invalidOperation);
    EXPECT_EQ(again->message(), "Already Opened.");
    EXPECT_TRUE(device->isOpened());

    // Another object for the same device is refused while this one holds it.
    // (A connected device no longer advertises: the refusal comes when the lookup gives up.)
    auto other = OrvoSettingDevice::create(bleSettings("001162-5e7701"));
    other->setOpenTimeout(300);
    const auto inUse = errorOfFuture(other->open());
    ASSERT_TRUE(inUse);
    EXPECT_EQ(inUse->kind(), Prelix10ErrorKind::inUse);
    EXPECT_EQ(inUse->message(), "The device is in use by another process.");

    device->close().get();
    EXPECT_FALSE(device->isOpened());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
    EXPECT_TRUE(waitUntil([&] { return peripheral->state() == BlePeripheralState::disconnected; }));
    for (const auto& error : {errorOfFuture(device->write({0x41}, 1000)), errorOfFuture(device->read(10))}) {
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Prelix10ErrorKind::invalidOperation);
        EXPECT_EQ(error->message(), "Not opened.");
    }
    // Close of a closed object completes and changes nothing.
    EXPECT_EQ(device->close().wait_for(3s), std::future_status::ready);

    ASSERT_EQ(errorOfFuture(device->open()), std::nullopt);
    ASSERT_EQ(errorOfFuture(device->write({'B'}, 2000)), std::nullopt);
    EXPECT_EQ(hex(readAtLeast(device, 3)), hex({'<', 'B', '>'}));
    EXPECT_EQ(peripheral->connectCount(), 2u);
    device->close().get();
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
}

TEST_F(OrvoSettingDeviceTest, AKnownModelSkipsDetection) {
    // The advertised name matches no model: detection would fail.
    addSettingDevice(settingDeviceConfig(kAddress, "Mystery-Module"));
    auto unknown = OrvoSettingDevice::create(bleSettings());
    const auto error = errorOfFuture(unknown->open());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::unsupportedModel);
    EXPECT_EQ(error->message(), "Not supported model.");
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);

    auto known = OrvoSettingDevice::create(knownModel(OrvoPrinterModel::Ginor_7, OrvoPrinterEmulation::kestrin), bleSettings());
    ASSERT_EQ(errorOfFuture(known->open()), std::nullopt);
    EXPECT_EQ(known->informationRecord()->model, OrvoPrinterModel::Ginor_7);
    known->close().get();
}

TEST_F(OrvoSettingDeviceTest, AModelThatCannotBeOpenedIsClosedAndReleased) {
    ASSERT_FALSE(PrinterSpecTable::findSpec(OrvoPrinterModel::zunel59)->supportPortOpen);
    auto peripheral = addSettingDevice();
    auto device = OrvoSettingDevice::create(knownModel(OrvoPrinterModel::zunel59, OrvoPrinterEmulation::orvoLine), bleSettings());
    const auto error = errorOfFuture(device->open());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Prelix10ErrorKind::unsupportedModel);
    EXPECT_EQ(error->message(), "Not supported model.");
    EXPECT_FALSE(device->isOpened());
    EXPECT_EQ(peripheral->connectCount(), 1u);  // the port was opened first
    EXPECT_TRUE(waitUntil([&] { return peripheral->state() == BlePeripheralState::disconnected; }));
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);
}

TEST_F(OrvoSettingDeviceTest, APortThatCannotBeOpenedIsReleased) {
    auto peripheral = addSettingDevice();
    SimulatedBleFaults faults;
    faults.neverConnect = true;
    peripheral->setFaults(faults);
    auto device = OrvoSettingDevice::create(bleSettings());
    device->setOpenTimeout(400);
    const auto error = errorOfFuture(device->open());
    ASSERT_TRUE(error);
    EXPECT_FALSE(device->isOpened());
    EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore);

    // Once the device answers, the same object opens.
    peripheral->setFaults({});
    device->setOpenTimeout(5000);
    EXPECT_EQ(errorOfFuture(device->open()), std::nullopt);
    device->close().get();
}

TEST_F(OrvoSettingDeviceTest, DestroyingAnOpenDeviceReleasesIt) {
    auto peripheral = addSettingDevice(bracketing);
    {
        auto device = OrvoSettingDevice::create(bleSettings());
        ASSERT_EQ(errorOfFuture(device->open()), std::nullopt);
        EXPECT_EQ(OrvoDeviceManager::registeredCount(), registeredBefore + 1);
    }
    // The queue lets go of its last operation a moment after that operation's completion.
    EXPECT_TRUE(waitUntil([&] { return OrvoDeviceManager::registeredCount() == registeredBefore; }));
    EXPECT_TRUE(waitUntil([&] { return peripheral->state() == BlePeripheralState::disconnected; }));

    // The last reference goes inside the object's own completion, on its own queue.
    auto device = OrvoSettingDevice::create(bleSettings());
    ASSERT_EQ(errorOfFuture(device->open()), std::nullopt);
    std::promise<void> completed;
    auto* raw = device.get();
    std::shared_ptr<OrvoSettingDevice> holder = std::move(device);
    raw->write({'Z'}, 2000, [&holder, &completed](std::optional<Prelix10Error> error) {
        EXPECT_FALSE(error);
        holder.reset();
        completed.set_value();
    });
    ASSERT_EQ(completed.get_future().wait_for(5s), std::future_status::ready);
    EXPECT_TRUE(waitUntil([&] { return OrvoDeviceManager::registeredCount() == registeredBefore; }));

    // The device is free again for a new object.
    auto next = OrvoSettingDevice::create(bleSettings());
    EXPECT_EQ(errorOfFuture(next->open()), std::nullopt);
    next->close().get();
}

}  // namespace
}  // namespace Prelix10::Testing
