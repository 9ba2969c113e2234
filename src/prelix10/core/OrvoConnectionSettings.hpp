#pragma once

#include "prelix10/core/Export.hpp"
#include <string>

#include "prelix10/core/InterfaceType.hpp"

namespace Prelix10 {

// How the printer object reaches one printer: the transport, the device's identifier on it, and whether an
// open that fails there may try the printer's other interfaces.
class PRELIX10_EXPORT OrvoConnectionSettings {
public:
    // The identifier that makes the device search take the first device it finds.
    static const std::string& FIRST_FOUND_DEVICE();

    OrvoConnectionSettings(InterfaceType interfaceType, std::string identifier, bool autoSwitchInterface)
        : interfaceType_(interfaceType), identifier_(std::move(identifier)), autoSwitchInterface_(autoSwitchInterface) {}

    InterfaceType interfaceType() const { return interfaceType_; }
    void setInterfaceType(InterfaceType type) { interfaceType_ = type; }
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool autoSwitchInterface() const { return autoSwitchInterface_; }
    void setAutoSwitchInterface(bool on) { autoSwitchInterface_ = on; }

    // "interfaceType : 4, identifier : abc, autoSwitchInterface : false"
    std::string description() const;

private:
    InterfaceType interfaceType_;
    std::string identifier_;
    bool autoSwitchInterface_;
};

}  // namespace Prelix10
