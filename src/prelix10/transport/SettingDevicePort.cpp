#include "prelix10/transport/SettingDevicePort.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"

namespace Prelix10 {

void BaseSettingDevicePort::initialize(std::int64_t) {
    if (!adoptsProtocol()) raiseUnexpectedState(Log(nullptr, "BaseSettingDevicePort", "initialize(timeout:)", __LINE__), 28);
}

void BaseSettingDevicePort::close() {
    if (adoptsProtocol()) rawPort_->close();
}

ByteBlock BaseSettingDevicePort::readOnce(std::int64_t size) {
    if (!adoptsProtocol()) raiseUnexpectedState(Log(nullptr, "BaseSettingDevicePort", "readOnce(size:)", __LINE__), 57);
    return rawPort_->readOnce(size);
}

void BaseSettingDevicePort::writeConcealed(const ByteBlock& data, std::int64_t timeout) {
    auto* ble = dynamic_cast<BluetoothLEPort*>(rawPort_.get());
    if (!ble) {
        rawPort_->write(data, timeout);
        return;
    }
    ble->setConcealsWrites(true);
    try {
        rawPort_->write(data, timeout);
    } catch (...) {
        ble->setConcealsWrites(false);
        throw;
    }
    ble->setConcealsWrites(false);
}

void BaseSettingDevicePort::setConcealsReplies(bool conceal) {
    if (auto* ble = dynamic_cast<BluetoothLEPort*>(rawPort_.get())) ble->setConcealsReads(conceal);
}

std::shared_ptr<SettingDevicePort> SettingDevicePortFactory::create(std::shared_ptr<RawPort> port) {
    if (port && dynamic_cast<BluetoothLEPort*>(port.get())) {
        return std::make_shared<OrvoBluetoothLESettingDevicePort>(std::move(port));
    }
    raiseUnexpectedState(Log(nullptr, "SettingDevicePortFactory", "create(port:)", __LINE__), 8);
}

}  // namespace Prelix10
