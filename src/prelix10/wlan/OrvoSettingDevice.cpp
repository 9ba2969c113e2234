#include "prelix10/wlan/OrvoSettingDevice.hpp"

#include <exception>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/BluetoothLEPrinterSpecDetector.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/RawPortFactory.hpp"
#include "prelix10/transport/SettingDevicePort.hpp"

namespace Prelix10 {

namespace {

std::int64_t remaining(std::int64_t timeout, const Stopwatch& stopwatch) {
    return Deadline::remaining(timeout, static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()));
}

Prelix10Error notOpened() { return Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened); }

Prelix10Error unsupportedModel() {
    return Prelix10Error(Prelix10ErrorKind::unsupportedModel, Prelix10ErrorMessage::notSupportedModel);
}

std::future<void> awaitError(const std::function<void(OrvoSettingDevice::Completion)>& start) {
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    start([promise](std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else promise->set_value();
    });
    return future;
}

}  // namespace

Prelix10Error Internal::currentSettingError() {
    try {
        throw;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (...) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
}

std::shared_ptr<OrvoSettingDevice> OrvoSettingDevice::create(OrvoConnectionSettings connectionSettings) {
    return create(std::nullopt, std::move(connectionSettings));
}

std::shared_ptr<OrvoSettingDevice> OrvoSettingDevice::create(std::optional<PrinterInformationRecord> information,
                                                             OrvoConnectionSettings connectionSettings) {
    return std::shared_ptr<OrvoSettingDevice>(new OrvoSettingDevice(std::move(information), std::move(connectionSettings)));
}

OrvoSettingDevice::OrvoSettingDevice(std::optional<PrinterInformationRecord> information,
                                     OrvoConnectionSettings connectionSettings)
    : information_(std::move(information)),
      connectionSettings_(std::move(connectionSettings)),
      processQueue_(std::make_unique<SerialQueue>("Prelix10.OrvoSettingDevice")) {
    BluetoothLEOrvoDeviceDiscoveryManager::installDeviceLookup();
    ModelDetection::installBluetoothLEModelDetector();
}

OrvoSettingDevice::~OrvoSettingDevice() {
    // Queued operations hold the object alive, so nothing runs on the queue any more: close directly.
    if (isOpened()) internalClose();
}

std::optional<OrvoPrinterInformation> OrvoSettingDevice::information() const {
    const auto record = informationRecord();
    if (!record) return std::nullopt;
    return record->toOrvoPrinterInformation();
}

std::optional<PrinterInformationRecord> OrvoSettingDevice::informationRecord() const {
    std::lock_guard guard(fieldsMutex_);
    return information_;
}

void OrvoSettingDevice::setInformation(std::optional<PrinterInformationRecord> information) {
    std::lock_guard guard(fieldsMutex_);
    information_ = std::move(information);
}

OrvoConnectionSettings OrvoSettingDevice::connectionSettings() const { return connectionSettings_; }

int OrvoSettingDevice::openTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return openTimeout_;
}
void OrvoSettingDevice::setOpenTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    openTimeout_ = milliseconds;
}
int OrvoSettingDevice::communicationTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return communicationTimeout_;
}
void OrvoSettingDevice::setCommunicationTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    communicationTimeout_ = milliseconds;
}

int OrvoSettingDevice::bleRssi() const {
    std::lock_guard guard(fieldsMutex_);
    if (!information_ || !information_->bluetoothLEInformation) return kNoRssi;
    return information_->bluetoothLEInformation->rssi;
}

bool OrvoSettingDevice::isOpened() const {
    std::lock_guard guard(fieldsMutex_);
    return isOpened_;
}

std::string OrvoSettingDevice::description() const {
    const auto info = informationRecord();
    return "information : " + (info ? info->description() : std::string("nil")) +
           ", connectionSettings : " + connectionSettings_.description() +
           ", isOpened : " + (isOpened() ? "true" : "false");
}

void OrvoSettingDevice::enqueue(
    const char* name, bool requireOpen,
    std::function<void(OrvoSettingDevice& self, std::optional<Prelix10Error> stateError, const Log& log)> body) {
    auto self = shared_from_this();
    processQueue_->async([self, name, requireOpen, body = std::move(body)] {
        std::lock_guard guard(self->lock_);
        const Log log(self.get(), name, __LINE__);
        std::optional<Prelix10Error> stateError;
        if (requireOpen && !self->isOpened()) {
            stateError = notOpened();
            log.writeIfLogging("Error - " + stateError->description());
        }
        body(*self, stateError, log);
    });
}

void OrvoSettingDevice::open(Completion completion) {
    Log(this, "openImpl(completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({connectionSettings_.description()});
    });
    enqueue("openImpl(completion:)", false,
            [completion = std::move(completion)](OrvoSettingDevice& self, std::optional<Prelix10Error>, const Log& log) {
                if (self.isOpened()) {
                    const auto error = Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::alreadyOpened);
                    log.writeIfLogging("Error - " + error.description());
                    completion(error);
                    return;
                }
                try {
                    self.internalOpen(self.openTimeout());
                } catch (...) {
                    completion(Internal::currentSettingError());
                    return;
                }
                completion(std::nullopt);
            });
}

void OrvoSettingDevice::close(std::function<void()> completion) {
    Log(this, "closeImpl(completion:)", __LINE__).writeIfLogging("");
    enqueue("closeImpl(completion:)", false,
            [completion = std::move(completion)](OrvoSettingDevice& self, std::optional<Prelix10Error>, const Log&) {
                if (self.isOpened()) self.internalClose();
                if (completion) completion();
            });
}

void OrvoSettingDevice::write(ByteBlock data, int timeout, Completion completion) {
    enqueue("writeImpl(data:timeout:completion:)", true,
            [data = std::move(data), timeout, completion = std::move(completion)](
                OrvoSettingDevice& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(stateError);
                try {
                    self.internalWrite(data, timeout);
                } catch (...) {
                    return completion(Internal::currentSettingError());
                }
                completion(std::nullopt);
            });
}

void OrvoSettingDevice::read(int size, ReadCompletion completion) {
    enqueue("readImpl(size:completion:)", true,
            [size, completion = std::move(completion)](OrvoSettingDevice& self, std::optional<Prelix10Error> stateError,
                                                       const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<ByteBlock> bytes;
                try {
                    bytes = self.internalRead(size);
                } catch (...) {
                    return completion(std::nullopt, Internal::currentSettingError());
                }
                completion(std::move(bytes), std::nullopt);
            });
}

std::future<void> OrvoSettingDevice::open() {
    return awaitError([this](Completion c) { open(std::move(c)); });
}

std::future<void> OrvoSettingDevice::close() {
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    close([promise] { promise->set_value(); });
    return future;
}

std::future<void> OrvoSettingDevice::write(ByteBlock data, int timeout) {
    return awaitError([this, &data, timeout](Completion c) { write(std::move(data), timeout, std::move(c)); });
}

std::future<ByteBlock> OrvoSettingDevice::read(int size) {
    auto promise = std::make_shared<std::promise<ByteBlock>>();
    auto future = promise->get_future();
    read(size, [promise](std::optional<ByteBlock> bytes, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (bytes) promise->set_value(std::move(*bytes));
        else promise->set_exception(std::make_exception_ptr(Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError)));
    });
    return future;
}

PrinterInformationRecord OrvoSettingDevice::getPrinterSpec(const std::shared_ptr<RawPort>& port, std::int64_t timeout) {
    Stopwatch stopwatch;
    stopwatch.start();
    PrinterInformationRecord information = informationRecord().value_or(PrinterInformationRecord());
    if (information.model != OrvoPrinterModel::unknown && information.emulation != OrvoPrinterEmulation::unknown) {
        return information;
    }
    auto ble = std::dynamic_pointer_cast<BluetoothLEPort>(port);
    if (!ble) raiseUnexpectedState(Log(nullptr, "PrinterSpecDetectorFactory", "create(port:)", __LINE__), 14);
    auto [detection, emulation] = BluetoothLEPrinterSpecDetector(port).detect(remaining(timeout, stopwatch));
    if (!detection || detection->model() == OrvoPrinterModel::unknown || emulation == OrvoPrinterEmulation::unknown) {
        raiseError(Log(this, "getPrinterSpec(port:timeout:)", __LINE__), unsupportedModel());
    }
    information.modelDetectionInformation = detection;
    information.model = detection->model();
    information.emulation = emulation;
    // A device opened by its identifier alone learns its advertisement from the lookup.
    if (!information.bluetoothLEInformation) information.bluetoothLEInformation = ble->information();
    if (!information.connectionIdentifier.bluetoothLeAddress && information.bluetoothLEInformation) {
        information.connectionIdentifier.bluetoothLeAddress = information.bluetoothLEInformation->address;
    }
    return information;
}

void OrvoSettingDevice::internalOpen(std::int64_t timeout) {
    const Log log(this, "internalOpen(timeout:)", __LINE__);
    Stopwatch whole;
    whole.start();
    const std::int64_t budget = remaining(timeout, whole);
    Stopwatch registration;
    registration.start();
    auto rawPort = RawPortFactory::create(connectionSettings_.interfaceType(), connectionSettings_.identifier(),
                                          RawPortTargetType::settingDevice);
    OrvoDeviceManager::registerPort(rawPort, remaining(budget, registration));
    try {
        rawPort->open(remaining(budget, registration));
    } catch (...) {
        OrvoDeviceManager::releasePort(rawPort.get());
        throw;
    }
    try {
        auto information = getPrinterSpec(rawPort, remaining(timeout, whole));
        log.writeIfLogging([&] { return "information - " + information.description(); });
        const auto spec = PrinterSpecTable::findSpec(information.model);
        if (!spec || !spec->supportPortOpen) raiseError(log, unsupportedModel());
        auto settingPort = SettingDevicePortFactory::create(rawPort);
        settingPort->initialize(remaining(timeout, whole));
        port_ = std::move(settingPort);
        std::lock_guard fields(fieldsMutex_);
        information_ = std::move(information);
        isOpened_ = true;
    } catch (...) {
        rawPort->close();
        OrvoDeviceManager::releasePort(rawPort.get());
        throw;
    }
}

void OrvoSettingDevice::internalClose() {
    if (port_) {
        port_->close();
        OrvoDeviceManager::releasePort(&port_->rawPort());
    }
    std::lock_guard fields(fieldsMutex_);
    isOpened_ = false;
}

ByteBlock OrvoSettingDevice::internalRead(std::int64_t size) {
    if (!port_) raiseUnexpectedState(Log(this, "internalRead(size:)", __LINE__), 203);
    return port_->readOnce(size);
}

void OrvoSettingDevice::internalWrite(const ByteBlock& data, std::int64_t timeout) {
    if (!port_) raiseUnexpectedState(Log(this, "internalWrite(data:timeout:)", __LINE__), 213);
    port_->write(data, timeout);
}

}  // namespace Prelix10
