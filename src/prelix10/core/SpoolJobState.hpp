#pragma once

#include "prelix10/core/Export.hpp"
#include <optional>
#include <string>
#include <vector>

namespace Prelix10 {

// The state of a job in the printer's spooler.
enum class SpoolJobState : int {
    unknown = 0,
    accepted = 1,
    printFailedByTimeoutBeforePrinting = 2,
    printing = 3,
    waitingPaperTaken = 4,
    waitingPrinterReady = 5,
    printSucceeded = 6,
    printFailedByPrinterError = 7,
    printFailedByTimeout = 8,
    printFailedByPowerOff = 9,
};

namespace SpoolJobStates PRELIX10_EXPORT {
const std::vector<SpoolJobState>& allCases();
// No value outside 0...9.
std::optional<SpoolJobState> fromRawValue(int raw);
// The case name.
std::string description(SpoolJobState state);
}  // namespace SpoolJobStates

inline std::string describeEnumeration(SpoolJobState state) { return SpoolJobStates::description(state); }

}  // namespace Prelix10
