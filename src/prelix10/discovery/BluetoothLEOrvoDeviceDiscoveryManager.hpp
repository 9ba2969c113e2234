#pragma once

#include "prelix10/core/Export.hpp"

#include <memory>
#include <optional>

#include "prelix10/discovery/BluetoothLEDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/PrinterInformationRecord.hpp"

namespace Prelix10 {

// Finds the maker's printers that advertise over Bluetooth LE with the print service. Finds reach the delegate
// on the scan's own queue, never on the caller's thread during startDiscovery: a delegate may stop the
// discovery, start another one or open the printer from inside a find.
class PRELIX10_EXPORT BluetoothLEOrvoDeviceDiscoveryManager final : public BaseOrvoDeviceDiscoveryManager,
                                                    public BaseOrvoDeviceDiscoveryManagerProtocol {
public:
    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

    // The printer an advertisement describes, or none without a model name or an address.
    static std::shared_ptr<OrvoPrinter> createPrinter(const std::shared_ptr<BluetoothLEInformation>& information);
    // What an advertisement tells of its device (model by its name, emulation, address); nothing when it
    // lacks a name or an address. Setting devices are described the same way.
    static std::optional<PrinterInformationRecord> informationRecord(
        const std::shared_ptr<BluetoothLEInformation>& information);

    // Makes the Bluetooth LE ports look their devices up through this discovery's scanner. Idempotent.
    static void installDeviceLookup();

private:
    BluetoothLEDeviceDiscoveryManager baseBleDiscoveryManager_;
};

}  // namespace Prelix10
