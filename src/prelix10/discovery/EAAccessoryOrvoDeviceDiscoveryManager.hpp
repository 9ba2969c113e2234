#pragma once

#include "prelix10/core/Export.hpp"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/AccessoryManager.hpp"

namespace Prelix10 {

// Finds the maker's printers among the accessories the system has connected (Bluetooth serial and USB): it
// watches the connected list every 10 ms and identifies each new accessory once per run on a task of its own.
// Where a model can be attached either way, the accessory is opened once to read from its status which link
// it is on; that answer, and the identifiers read from a printer that can switch interfaces, are kept for the
// process by connection ID. An accessory the application holds open is not opened beside it: its
// identification waits until the application lets it go. The printers handed out are never open.
class PRELIX10_EXPORT EAAccessoryOrvoDeviceDiscoveryManager : public BaseOrvoDeviceDiscoveryManager,
                                              public BaseOrvoDeviceDiscoveryManagerProtocol {
public:
    using FindCompletion = std::function<void(std::shared_ptr<OrvoPrinter>, std::optional<Prelix10Error>)>;

    static constexpr std::int64_t kIdentificationTimeout = 10000;
    static constexpr std::size_t kIdentificationCacheCapacity = 100;

    // The accessories of the kind this manager reports.
    virtual EAAccessoryType accessoryType() const = 0;
    InterfaceType interfaceType() const;

    // When set, a run makes one pass over the connected accessories, waits for their identification and ends.
    bool listConnectedAccessoriesOneTime() const { return listConnectedAccessoriesOneTime_.load(); }
    void setListConnectedAccessoriesOneTime(bool oneTime) { listConnectedAccessoriesOneTime_.store(oneTime); }

    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

    // Looks one accessory printer up by its name, serial number, Bluetooth address, USB serial number or the
    // first-found identifier within timeout milliseconds; the completion runs exactly once, with "Device not
    // found." (notFound) when none matches in time.
    void findDevice(const std::string& identifier, std::int64_t timeout, FindCompletion completion);
    std::shared_ptr<OrvoPrinter> findDevice(const std::string& identifier, std::int64_t timeout);

    // The connected accessories of the maker that speak the printers' protocol string, in the system's order.
    static std::vector<std::shared_ptr<Accessory>> listConnectedAccessories();
    // The printer of one accessory, or none when the accessory is attached by the other interface.
    std::shared_ptr<OrvoPrinter> createPrinter(const std::shared_ptr<Accessory>& accessory) const;

    // The interface type a connected-interface code of the status stands for (0 for none).
    static InterfaceType interfaceTypeOfConnectedInterface(std::optional<std::int64_t> code);
    // Forgets every type and identifier found so far (for tests).
    static void clearIdentificationCache();
    // Makes the accessory ports look their accessories up through this discovery. Idempotent.
    static void installAccessoryLookup();

protected:
    // The transport check of the subclass.
    virtual void checkTransportAvailability() = 0;

private:
    struct Run;
    static void startRun(std::shared_ptr<Run> run);
    static void identify(const std::shared_ptr<Run>& run, const std::shared_ptr<Accessory>& accessory);

    std::atomic<bool> listConnectedAccessoriesOneTime_{false};
};

}  // namespace Prelix10
