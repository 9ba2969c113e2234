#include "prelix10/transport/BluetoothLEPortSettings.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/transport/BLEService.hpp"
#include "prelix10/transport/CentralManagerControl.hpp"

namespace Prelix10 {

namespace {

std::mutex& settingsMutex() {
    static std::mutex m;
    return m;
}
BluetoothLEPortSettings::DeviceLookup& lookupSlot() {
    static BluetoothLEPortSettings::DeviceLookup lookup;
    return lookup;
}
BluetoothLEPortSettings::ModelDetector& detectorSlot() {
    static BluetoothLEPortSettings::ModelDetector detector;
    return detector;
}

struct Search {
    std::mutex mutex;
    std::condition_variable condition;
    std::shared_ptr<BluetoothLEInformation> found;
};

std::optional<std::string> addressOf(const BlePeripheral& peripheral) {
    const std::string id = peripheral.identifier();
    if (!FormatChecker::isMacAddress(id)) return std::nullopt;
    return FormatConverter::normalizeMacAddress(id);
}

bool advertises(const BleAdvertisementData& data, BLEService service) {
    const BleUuid uuid = normalizedBleUuid(BLEServices::serviceUuid(service));
    return std::any_of(data.serviceUuids.begin(), data.serviceUuids.end(),
                       [&](const BleUuid& u) { return normalizedBleUuid(u) == uuid; });
}

}  // namespace

void BluetoothLEPortSettings::setDeviceLookup(DeviceLookup lookup) {
    std::lock_guard lock(settingsMutex());
    lookupSlot() = std::move(lookup);
}

BluetoothLEPortSettings::DeviceLookup BluetoothLEPortSettings::deviceLookup() {
    std::lock_guard lock(settingsMutex());
    if (lookupSlot()) return lookupSlot();
    return &BluetoothLEPortSettings::scanForDevice;
}

void BluetoothLEPortSettings::setModelDetector(ModelDetector detector) {
    std::lock_guard lock(settingsMutex());
    detectorSlot() = std::move(detector);
}

OrvoPrinterModel BluetoothLEPortSettings::detectModel(const std::string& modelName) {
    ModelDetector detector;
    {
        std::lock_guard lock(settingsMutex());
        detector = detectorSlot();
    }
    return detector ? detector(modelName) : OrvoPrinterModel::unknown;
}

std::shared_ptr<BluetoothLEInformation> BluetoothLEPortSettings::scanForDevice(const std::string& identifier,
                                                                                 std::int64_t timeout,
                                                                                 const std::function<bool()>& isAbandoned) {
    const bool anyDevice = identifier == OrvoConnectionSettings::FIRST_FOUND_DEVICE();
    const std::string wanted = FormatConverter::normalizeMacAddress(identifier);
    auto search = std::make_shared<Search>();
    auto& control = CentralManagerControl::shared();
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::clamp<std::int64_t>(timeout, 0, 1LL << 40));

    control.startScan(search.get(), [search, anyDevice, wanted](const std::shared_ptr<BlePeripheral>& peripheral,
                                                                const BleAdvertisementData& data, int rssi) {
        const auto address = addressOf(*peripheral);
        if (!address || (!anyDevice && *address != wanted)) return;
        auto information = std::make_shared<BluetoothLEInformation>();
        information->peripheral = peripheral;
        information->rssi = rssi;
        information->deviceName = peripheral->name();
        information->modelName = data.localName ? data.localName : peripheral->name();
        information->address = address;
        information->capPrintService = advertises(data, BLEService::printService);
        information->capWLanSettingService = advertises(data, BLEService::atService);
        std::lock_guard lock(search->mutex);
        if (!search->found) search->found = std::move(information);
        search->condition.notify_all();
    });

    std::shared_ptr<BluetoothLEInformation> found;
    {
        std::unique_lock lock(search->mutex);
        for (;;) {
            if (search->found) break;
            const auto now = std::chrono::steady_clock::now();
            if (now >= deadline || (isAbandoned && isAbandoned())) break;
            // Woken by a find; the bounded slice lets an abandoned lookup end soon.
            search->condition.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(10)),
                                         [&] { return search->found != nullptr; });
        }
        found = search->found;
    }
    control.stopScan(search.get());
    if (!found) {
        raiseError(Log(nullptr, "BluetoothLEDeviceDiscoveryManager", "findDevice(identifier:timeout:)", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound));
    }
    return found;
}

}  // namespace Prelix10
