#include "transport/RawPortFactory.hpp"

#include "core/Log.hpp"
#include "transport/NetworkPort.hpp"
#include "transport/NetworkPortSettings.hpp"

namespace Prelix10 {

std::shared_ptr<RawPort> RawPortFactory::create(InterfaceType interfaceType, const std::string& identifier,
                                                RawPortTargetType targetType,
                                                std::optional<std::vector<std::string>> subIdentifiers) {
    if (targetType == RawPortTargetType::printer && interfaceType == InterfaceType::lan) {
        return std::make_shared<TCPPort>(identifier, NetworkPortSettings::ports().data, std::move(subIdentifiers));
    }
    raiseError(Log(nullptr, "RawPortFactory", "create(interfaceType:identifier:targetType:subIdentifiers:)", __LINE__),
               Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::notSupportedInterface));
}

}  // namespace Prelix10
