#include "prelix10/transport/EAAccessoryPortSettings.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <mutex>

#include "prelix10/core/FormatConverter.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/transport/PollingSleep.hpp"

namespace Prelix10 {

namespace {

std::mutex& settingsMutex() {
    static std::mutex m;
    return m;
}

EAAccessoryPortSettings::AccessoryLookup& lookupSlot() {
    static EAAccessoryPortSettings::AccessoryLookup lookup;
    return lookup;
}

std::string upper(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool answersTo(const Accessory& accessory, const std::string& wanted) {
    if (wanted == OrvoConnectionSettings::FIRST_FOUND_DEVICE()) return true;
    if (accessory.name() == wanted) return true;
    const std::string serial = accessory.serialNumber();
    return !serial.empty() && FormatConverter::normalizeMacAddress(serial) == wanted;
}

}  // namespace

void EAAccessoryPortSettings::setAccessoryLookup(AccessoryLookup lookup) {
    std::lock_guard lock(settingsMutex());
    lookupSlot() = std::move(lookup);
}

EAAccessoryPortSettings::AccessoryLookup EAAccessoryPortSettings::accessoryLookup() {
    std::lock_guard lock(settingsMutex());
    if (lookupSlot()) return lookupSlot();
    return &EAAccessoryPortSettings::findConnectedAccessory;
}

bool EAAccessoryPortSettings::isMakersAccessory(const Accessory& accessory) {
    if (upper(accessory.manufacturer()) != upper(kManufacturerName)) return false;
    const auto protocols = accessory.protocolStrings();
    return std::find(protocols.begin(), protocols.end(), kProtocolString) != protocols.end();
}

AccessoryMatch EAAccessoryPortSettings::findConnectedAccessory(EAAccessoryType type, const std::string& identifier,
                                                               std::int64_t timeout) {
    const std::string wanted = FormatConverter::normalizeMacAddress(identifier);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(std::clamp<std::int64_t>(timeout, 0, 1LL << 40));
    // An absent printer is waited for until the whole timeout is spent, not given up after one pass: a
    // printer plugged in or paired during the wait is still found, and the auto-switch keeps each
    // candidate's slice without spinning through the others.
    for (;;) {
        for (const auto& accessory : AccessoryBackend::manager()->connectedAccessories()) {
            if (!accessory || !isMakersAccessory(*accessory)) continue;
            const EAAccessoryType link = accessory->transportType();
            if (link != type && link != EAAccessoryType::unknown) continue;
            if (answersTo(*accessory, wanted)) return AccessoryMatch{accessory, std::nullopt};
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) break;
        PollingSleep::sleepFor(std::min<std::chrono::milliseconds>(
            std::chrono::milliseconds(10), std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
                                               std::chrono::milliseconds(1)));
    }
    raiseError(Log(nullptr, "EAAccessoryOrvoDeviceDiscoveryManager", "findDevice(identifier:timeout:completion:)",
                   __LINE__),
               Prelix10Error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound));
}

}  // namespace Prelix10
