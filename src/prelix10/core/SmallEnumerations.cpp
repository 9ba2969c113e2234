#include "prelix10/core/DrawerOpenedMethod.hpp"
#include "prelix10/core/EAAccessoryType.hpp"
#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/SpoolJobState.hpp"

namespace Prelix10 {

namespace InterfaceTypes {
const std::vector<InterfaceType>& allCases() {
    static const std::vector<InterfaceType> cases = {InterfaceType::unknown, InterfaceType::usb,
                                                     InterfaceType::bluetooth, InterfaceType::bluetoothLE,
                                                     InterfaceType::lan};
    return cases;
}
std::optional<InterfaceType> fromRawValue(int raw) {
    if (raw < 0 || raw > 4) return std::nullopt;
    return static_cast<InterfaceType>(raw);
}
std::string description(InterfaceType type) { return std::to_string(static_cast<int>(type)); }
}  // namespace InterfaceTypes

namespace DrawerOpenedMethods {
std::optional<DrawerOpenedMethod> fromRawValue(int raw) {
    if (raw < 0 || raw > 1) return std::nullopt;
    return static_cast<DrawerOpenedMethod>(raw);
}
std::string description(DrawerOpenedMethod method) { return std::to_string(static_cast<int>(method)); }
}  // namespace DrawerOpenedMethods

namespace SpoolJobStates {
namespace {
const char* const kNames[] = {
    "unknown",         "accepted",       "printFailedByTimeoutBeforePrinting", "printing",
    "waitingPaperTaken", "waitingPrinterReady", "printSucceeded", "printFailedByPrinterError",
    "printFailedByTimeout", "printFailedByPowerOff",
};
}
const std::vector<SpoolJobState>& allCases() {
    static const std::vector<SpoolJobState> cases = [] {
        std::vector<SpoolJobState> all;
        for (int raw = 0; raw <= 9; ++raw) all.push_back(static_cast<SpoolJobState>(raw));
        return all;
    }();
    return cases;
}
std::optional<SpoolJobState> fromRawValue(int raw) {
    if (raw < 0 || raw > 9) return std::nullopt;
    return static_cast<SpoolJobState>(raw);
}
std::string description(SpoolJobState state) {
    const int raw = static_cast<int>(state);
    return raw >= 0 && raw <= 9 ? kNames[raw] : std::to_string(raw);
}
}  // namespace SpoolJobStates

namespace EAAccessoryTypes {
std::string description(EAAccessoryType type) {
    switch (type) {
        case EAAccessoryType::unknown:
            return "unknown";
        case EAAccessoryType::bluetooth:
            return "bluetooth";
        case EAAccessoryType::usb:
            return "usb";
    }
    return "unknown";
}
}  // namespace EAAccessoryTypes

}  // namespace Prelix10
