#include "prelix10/core/OrvoConnectionSettings.hpp"

#include "prelix10/core/PropertyDescription.hpp"

namespace Prelix10 {

const std::string& OrvoConnectionSettings::FIRST_FOUND_DEVICE() {
    static const std::string value = "FirstFoundDevice__DefinedByOrvo";
    return value;
}

std::string OrvoConnectionSettings::description() const {
    return PropertyDescription()
        .add("interfaceType", interfaceType_)
        .add("identifier", identifier_)
        .add("autoSwitchInterface", autoSwitchInterface_)
        .text();
}

}  // namespace Prelix10
