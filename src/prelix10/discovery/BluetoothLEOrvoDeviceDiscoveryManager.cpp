#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"

#include <mutex>

#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/transport/BluetoothLEPortSettings.hpp"

namespace Prelix10 {

void BluetoothLEOrvoDeviceDiscoveryManager::internalCheckAvailability() {
    BluetoothLEDeviceDiscoveryManager::checkAvailability();
}

void BluetoothLEOrvoDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                   std::function<void()> completion) {
    std::weak_ptr<BaseOrvoDeviceDiscoveryManager> weakSelf = shared_from_this();
    baseBleDiscoveryManager_.scan(
        token,
        [weakSelf](const std::shared_ptr<BluetoothLEInformation>& information) {
            auto self = weakSelf.lock();
            if (!self || !information->capPrintService) return;
            if (auto printer = createPrinter(information)) self->didFindPrinter(printer, self->cancellationToken());
        },
        std::move(completion));
}

std::optional<PrinterInformationRecord> BluetoothLEOrvoDeviceDiscoveryManager::informationRecord(
    const std::shared_ptr<BluetoothLEInformation>& information) {
    if (!information || !information->modelName || !information->address) return std::nullopt;
    auto detection = ModelDetection::detectModelFromPeripheralName(*information->modelName);
    const auto spec = PrinterSpecTable::findSpec(detection->model());
    PrinterInformationRecord record;
    record.modelDetectionInformation = detection;
    record.model = detection->model();
    record.emulation = spec ? spec->emulation : OrvoPrinterEmulation::unknown;
    record.connectionIdentifier.bluetoothLeAddress = information->address;
    record.bluetoothLEInformation = information;
    return record;
}

std::shared_ptr<OrvoPrinter> BluetoothLEOrvoDeviceDiscoveryManager::createPrinter(
    const std::shared_ptr<BluetoothLEInformation>& information) {
    auto record = informationRecord(information);
    if (!record) return nullptr;
    OrvoConnectionSettings settings(InterfaceType::bluetoothLE, *information->address, true);
    return OrvoPrinter::create(std::move(settings), std::move(*record));
}

void BluetoothLEOrvoDeviceDiscoveryManager::installDeviceLookup() {
    static std::once_flag once;
    std::call_once(once, [] {
        BluetoothLEPortSettings::setDeviceLookup(
            [](const std::string& identifier, std::int64_t timeout, const std::function<bool()>& isAbandoned) {
                BluetoothLEDeviceDiscoveryManager scanner;
                return scanner.findDevice(identifier, timeout, isAbandoned);
            });
    });
}

}  // namespace Prelix10
