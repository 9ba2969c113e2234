#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/transport/RawPort.hpp"

namespace Prelix10 {

enum class RawPortTargetType { printer, settingDevice };

// Makes a new raw port, neither opened nor registered, for an interface and identifier.
class RawPortFactory {
public:
    // For a printer, USB and Bluetooth give the accessory ports and LAN a TCP port on the data port number;
    // Bluetooth LE gives the port bound to the print service for a printer and to the setting service for a
    // setting device. Any other pair fails with "Not Supported interface." (argument).
    static std::shared_ptr<RawPort> create(InterfaceType interfaceType, const std::string& identifier,
                                           RawPortTargetType targetType = RawPortTargetType::printer,
                                           std::optional<std::vector<std::string>> subIdentifiers = std::nullopt);
};

}  // namespace Prelix10
