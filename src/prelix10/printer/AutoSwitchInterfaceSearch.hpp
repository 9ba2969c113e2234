#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/core/OrvoConnectionIdentifier.hpp"
#include "prelix10/core/OrvoConnectionSettings.hpp"
#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/printer/PrinterInformationRecord.hpp"

namespace Prelix10 {

class RawPort;

// One try of the search: the interface, the identifier the port is made for, and the time it is given.
struct AutoSwitchAttempt {
    InterfaceType interfaceType = InterfaceType::unknown;
    std::string identifier;
    std::vector<std::string> subIdentifiers;
    std::int64_t slice = 0;
};

// Opens a printer over whichever of its interfaces answers first: the base interface of the settings, then
// USB, Bluetooth and LAN by the identifiers the printer once reported, pass after pass with slices that grow
// by a second each pass, until one port opens or the time is spent. A pass whose tries all failed before
// their slices were used is followed by a short pause, so that a printer absent everywhere does not make
// the search spin; the pause never reaches past the deadline.
class AutoSwitchInterfaceSearch {
public:
    // Interface type (1 to 4) to the last error of a try over it; all four keys are always present.
    using ErrorTable = std::map<int, std::optional<Prelix10Error>>;
    using AttemptObserver = std::function<void(const AutoSwitchAttempt&)>;

    static constexpr const char* kLanPlaceholderIdentifier = "0219AE000000";
    static constexpr std::chrono::milliseconds kPassPause{50};

    static ErrorTable emptyErrorTable();

    // The identifiers to search by: the printer information's own when complete, else the stored ones for
    // it, else the stored ones for the settings' identifier; none when nothing complete is known.
    static std::optional<OrvoConnectionIdentifier> targetIdentifier(
        const std::optional<PrinterInformationRecord>& information, const OrvoConnectionSettings& settings);

    // An opened port, registered in the process's list, or "Open failed." (communication) with the error of
    // each interface in errors. A target that lacks a required identifier is an unexpected state.
    static std::shared_ptr<RawPort> open(InterfaceType baseInterfaceType, const std::string& baseIdentifier,
                                         const OrvoConnectionIdentifier& target, std::int64_t timeout,
                                         ErrorTable& errors);

    // Tells a test of every try before it starts; none to stop.
    static void setAttemptObserver(AttemptObserver observer);
};

}  // namespace Prelix10
