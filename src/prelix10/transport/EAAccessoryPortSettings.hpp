#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/platform/AccessoryManager.hpp"

namespace Prelix10 {

// The accessory found for an identifier, with the identifiers the printer behind it is known by.
struct AccessoryMatch {
    std::shared_ptr<Accessory> accessory;
    std::optional<OrvoConnectionIdentifier> connectionIdentifier;
};

// What the accessory ports take from the layers above them: how an accessory is looked up by an identifier,
// and the texts by which the maker's accessories are told from others.
class EAAccessoryPortSettings {
public:
    // The manufacturer name the maker's accessories report (compared without regard to letter case).
    static constexpr const char* kManufacturerName = "Orvo";
    // The protocol string the sessions are opened for; the printers speak it.
    static constexpr const char* kProtocolString = "com.orvo.printer";

    // Finds the connected accessory of the type that answers to the identifier (the first one, for the
    // first-found identifier) within timeout milliseconds; raises "Device not found." (notFound) when there
    // is none.
    using AccessoryLookup =
        std::function<AccessoryMatch(EAAccessoryType type, const std::string& identifier, std::int64_t timeout)>;
    // None restores the default, findConnectedAccessory.
    static void setAccessoryLookup(AccessoryLookup lookup);
    static AccessoryLookup accessoryLookup();

    // The default lookup: watches the backend's connected accessories, every 10 ms until the timeout (at
    // least once), for one of the maker's that speaks the protocol string, is attached by the type (or by a
    // link the backend cannot tell) and whose name or serial number (as a MAC address, normalised) equals
    // the identifier, normalised likewise. It knows no connection identifier.
    static AccessoryMatch findConnectedAccessory(EAAccessoryType type, const std::string& identifier,
                                                 std::int64_t timeout);

    // Whether an accessory is one of the maker's that speaks the protocol string.
    static bool isMakersAccessory(const Accessory& accessory);
};

}  // namespace Prelix10
