#include "prelix10/transport/RawPortFactory.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/EAAccessoryPort.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

namespace Prelix10 {

std::shared_ptr<RawPort> RawPortFactory::create(InterfaceType interfaceType, const std::string& identifier,
                                                RawPortTargetType targetType,
                                                std::optional<std::vector<std::string>> subIdentifiers) {
    if (targetType == RawPortTargetType::printer && interfaceType == InterfaceType::lan) {
        return std::make_shared<TCPPort>(identifier, NetworkPortSettings::ports().data, std::move(subIdentifiers));
    }
    if (targetType == RawPortTargetType::printer && interfaceType == InterfaceType::usb) {
        return std::make_shared<USBPort>(identifier);
    }
    if (targetType == RawPortTargetType::printer && interfaceType == InterfaceType::bluetooth) {
        return std::make_shared<BluetoothPort>(identifier);
    }
    if (interfaceType == InterfaceType::bluetoothLE) {
        if (targetType == RawPortTargetType::printer) return std::make_shared<BluetoothLEPrintPort>(identifier);
        return std::make_shared<BluetoothLESettingPort>(identifier);
    }
    raiseError(Log(nullptr, "RawPortFactory", "create(interfaceType:identifier:targetType:subIdentifiers:)", __LINE__),
               Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::notSupportedInterface));
}

}  // namespace Prelix10
