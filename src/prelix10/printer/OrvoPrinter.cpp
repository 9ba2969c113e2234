#include "prelix10/printer/OrvoPrinter.hpp"

#include <exception>

#include "prelix10/compiler/VelmarCommandParser.hpp"
#include "prelix10/control/PrinterControl.hpp"
#include "prelix10/control/PrinterControlFactory.hpp"
#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/NetworkInformation.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/EAAccessoryOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/printer/AutoSwitchInterfaceSearch.hpp"
#include "prelix10/printer/ConnectionIdentifierReader.hpp"
#include "prelix10/printer/PrinterSpecDetectorFactory.hpp"
#include "prelix10/transport/BluetoothLEPort.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/PollingMonitor.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/setting/OrvoPrinterSetting.hpp"
#include "prelix10/transport/NetworkPort.hpp"
#include "prelix10/transport/OrvoDeviceManager.hpp"
#include "prelix10/transport/PrinterPort.hpp"
#include "prelix10/transport/PrinterPortFactory.hpp"
#include "prelix10/transport/RawPortFactory.hpp"

namespace Prelix10 {

namespace {

std::int64_t remaining(std::int64_t timeout, const Stopwatch& stopwatch) {
    return Deadline::remaining(timeout, static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()));
}

Prelix10Error notOpened() { return Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened); }

Prelix10Error unsupportedModel() {
    return Prelix10Error(Prelix10ErrorKind::unsupportedModel, Prelix10ErrorMessage::notSupportedModel);
}

Prelix10Error currentError() {
    try {
        throw;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (const std::exception& e) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    } catch (...) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
}

// Awaitable form of a completion that brings only an error.
std::future<void> awaitError(const std::function<void(OrvoPrinter::Completion)>& start) {
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    start([promise](std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else promise->set_value();
    });
    return future;
}

// Awaitable form of a completion that brings a value or an error; a completion with neither is the
// unknown error.
template <typename T>
struct Settle {
    std::shared_ptr<std::promise<T>> promise;
    void operator()(std::optional<T> value, const std::optional<Prelix10Error>& error) const {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (value) promise->set_value(std::move(*value));
        else promise->set_exception(std::make_exception_ptr(Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError)));
    }
};

// A future form called on the printer's own queue thread: its get() would wait for work queued behind
// the caller, so the future fails at once instead.
template <typename T>
std::future<T> refusedOnOwnQueue() {
    std::promise<T> promise;
    promise.set_exception(std::make_exception_ptr(
        Prelix10Error(Prelix10ErrorKind::invalidOperation, std::string("Invalid operation."))));
    return promise.get_future();
}

// "***" for a secret that was given, "(nil)" for none: log lines never carry the secret itself.
std::string describeSecret(const std::optional<std::string>& secret) { return secret ? "***" : "(nil)"; }

}  // namespace

std::shared_ptr<OrvoPrinter> OrvoPrinter::create(OrvoConnectionSettings connectionSettings) {
    return create(std::move(connectionSettings), std::nullopt);
}

std::shared_ptr<OrvoPrinter> OrvoPrinter::create(OrvoConnectionSettings connectionSettings,
                                                 std::optional<PrinterInformationRecord> information) {
    return std::shared_ptr<OrvoPrinter>(new OrvoPrinter(std::move(connectionSettings), std::move(information)));
}

OrvoPrinter::OrvoPrinter(OrvoConnectionSettings connectionSettings, std::optional<PrinterInformationRecord> information)
    : information_(std::move(information)),
      connectionSettings_(std::move(connectionSettings)),
      processQueue_(std::make_unique<SerialQueue>("Prelix10.OrvoPrinter")) {
    LANOrvoDeviceDiscoveryManager::installNetworkCardLookup();
    BluetoothLEOrvoDeviceDiscoveryManager::installDeviceLookup();
    EAAccessoryOrvoDeviceDiscoveryManager::installAccessoryLookup();
    ModelDetection::installBluetoothLEModelDetector();
}

OrvoPrinter::~OrvoPrinter() {
    // Queued operations hold the object alive, so nothing runs on the queue any more: close directly. A
    // monitor only holds the object during a pass, so it sees it gone at its next one.
    if (setting_ && setting_->firmware()) setting_->firmware()->cancelTransfers();
    if (isOpened()) internalClose();
    if (monitor_) monitor_->stopMonitoring();
}

void OrvoPrinter::closeFromMonitor(const PollingMonitor* monitor) {
    std::lock_guard guard(lock_);
    if (isOpened() && monitor_.get() == monitor) internalClose();
}

std::optional<OrvoPrinterInformation> OrvoPrinter::information() const {
    const auto record = informationRecord();
    if (!record) return std::nullopt;
    return record->toOrvoPrinterInformation();
}

std::optional<PrinterInformationRecord> OrvoPrinter::informationRecord() const {
    std::lock_guard guard(fieldsMutex_);
    return information_;
}
void OrvoPrinter::setInformation(std::optional<PrinterInformationRecord> information) {
    std::lock_guard guard(fieldsMutex_);
    information_ = std::move(information);
}
OrvoConnectionSettings OrvoPrinter::connectionSettings() const {
    std::lock_guard guard(fieldsMutex_);
    return connectionSettings_;
}
void OrvoPrinter::setConnectionSettings(OrvoConnectionSettings settings) {
    std::lock_guard guard(fieldsMutex_);
    connectionSettings_ = std::move(settings);
}
int OrvoPrinter::openTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return openTimeout_;
}
void OrvoPrinter::setOpenTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    openTimeout_ = milliseconds;
}
int OrvoPrinter::getStatusTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return getStatusTimeout_;
}
void OrvoPrinter::setGetStatusTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    getStatusTimeout_ = milliseconds;
}
int OrvoPrinter::printTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return printTimeout_;
}
void OrvoPrinter::setPrintTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    printTimeout_ = milliseconds;
}
int OrvoPrinter::orvoConfigurationTimeout() const {
    std::lock_guard guard(fieldsMutex_);
    return orvoConfigurationTimeout_;
}
void OrvoPrinter::setOrvoConfigurationTimeout(int milliseconds) {
    std::lock_guard guard(fieldsMutex_);
    orvoConfigurationTimeout_ = milliseconds;
}
std::optional<std::string> OrvoPrinter::printTemplate() const {
    std::lock_guard guard(fieldsMutex_);
    return template_;
}
void OrvoPrinter::setPrintTemplate(std::optional<std::string> templateDocument) {
    std::lock_guard guard(fieldsMutex_);
    template_ = std::move(templateDocument);
}
Prelix10ErrorDetail OrvoPrinter::errorDetail() const {
    std::lock_guard guard(fieldsMutex_);
    return errorDetail_;
}
bool OrvoPrinter::isOpened() const {
    std::lock_guard guard(fieldsMutex_);
    return isOpened_;
}

std::weak_ptr<PrinterDelegate> OrvoPrinter::printerDelegate() const {
    std::lock_guard guard(fieldsMutex_);
    return delegates_.printer;
}
void OrvoPrinter::setPrinterDelegate(std::weak_ptr<PrinterDelegate> delegate) {
    std::lock_guard guard(fieldsMutex_);
    delegates_.printer = std::move(delegate);
}
std::weak_ptr<DrawerDelegate> OrvoPrinter::drawerDelegate() const {
    std::lock_guard guard(fieldsMutex_);
    return delegates_.drawer;
}
void OrvoPrinter::setDrawerDelegate(std::weak_ptr<DrawerDelegate> delegate) {
    std::lock_guard guard(fieldsMutex_);
    delegates_.drawer = std::move(delegate);
}
std::weak_ptr<InputDeviceDelegate> OrvoPrinter::inputDeviceDelegate() const {
    std::lock_guard guard(fieldsMutex_);
    return delegates_.inputDevice;
}
void OrvoPrinter::setInputDeviceDelegate(std::weak_ptr<InputDeviceDelegate> delegate) {
    std::lock_guard guard(fieldsMutex_);
    delegates_.inputDevice = std::move(delegate);
}
std::weak_ptr<DisplayDelegate> OrvoPrinter::displayDelegate() const {
    std::lock_guard guard(fieldsMutex_);
    return delegates_.display;
}
void OrvoPrinter::setDisplayDelegate(std::weak_ptr<DisplayDelegate> delegate) {
    std::lock_guard guard(fieldsMutex_);
    delegates_.display = std::move(delegate);
}
PrinterDelegates OrvoPrinter::delegates() const {
    std::lock_guard guard(fieldsMutex_);
    return delegates_;
}

OrvoPrinter::Snapshot OrvoPrinter::snapshot() const {
    std::lock_guard guard(fieldsMutex_);
    return {openTimeout_, getStatusTimeout_, printTimeout_, template_, orvoConfigurationTimeout_};
}

std::string OrvoPrinter::description() const {
    const auto info = informationRecord();
    return "connectionSettings : " + connectionSettings().description() +
           ", information : " + (info ? info->description() : std::string("nil")) +
           ", isOpened : " + (isOpened() ? "true" : "false");
}

template <typename Body>
void OrvoPrinter::enqueue(const char* name, bool keepErrorDetail, bool requireOpen, Body body) {
    auto self = shared_from_this();
    processQueue_->async([self, name, keepErrorDetail, requireOpen, body = std::move(body)]() mutable {
        std::lock_guard guard(self->lock_);
        const Log log(self.get(), name, __LINE__);
        if (!keepErrorDetail) {
            std::lock_guard fields(self->fieldsMutex_);
            self->errorDetail_ = Prelix10ErrorDetail();
        }
        std::optional<Prelix10Error> stateError;
        if (requireOpen && !self->isOpened()) stateError = notOpened();
        if (stateError) log.writeIfLogging("Error - " + stateError->description());
        body(*self, stateError, log);
    });
}

void OrvoPrinter::open(Completion completion) {
    Log(this, "openImpl(completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({connectionSettings().description()});
    });
    enqueue("openImpl(completion:)", false, false,
            [completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error>, const Log& log) {
                if (self.isOpened()) {
                    const auto error = Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::alreadyOpened);
                    log.writeIfLogging("Error - " + error.description());
                    completion(error);
                    return;
                }
                try {
                    self.internalOpen(self.snapshot().openTimeout);
                } catch (...) {
                    completion(currentError());
                    return;
                }
                completion(std::nullopt);
            });
}

void OrvoPrinter::close(std::function<void()> completion) {
    Log(this, "closeImpl(completion:)", __LINE__).writeIfLogging("");
    // A close asked for from inside a delegate event is not held back by that event.
    const PollingMonitor* fromEvent = PollingMonitor::raisingOnThisThread();
    // A firmware download in progress holds the queue; it ends at once so that the close follows soon.
    if (const auto current = setting(); current && current->firmware()) current->firmware()->cancelTransfers();
    enqueue("closeImpl(completion:)", false, false,
            [completion = std::move(completion), fromEvent](OrvoPrinter& self, std::optional<Prelix10Error>,
                                                            const Log&) mutable {
                const auto monitor = self.monitor_;
                if (self.isOpened()) self.internalClose();
                if (!completion) return;
                // No event may follow the completion: when one is being raised right now, the completion
                // runs as soon as it returns (on the monitor's thread).
                if (monitor && monitor->deferUntilEventEnds(completion, fromEvent)) return;
                completion();
            });
}

void OrvoPrinter::write(ByteBlock data, int timeout, Completion completion) {
    // Nothing here may walk the bytes: the call returns at once whatever the size of the block.
    Log(this, "writeImpl(data:timeout:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({Util::describeBytes(data)});
    });
    enqueue("writeImpl(data:timeout:completion:)", false, true,
            [data = std::move(data), timeout, completion = std::move(completion)](
                OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(stateError);
                try {
                    self.internalWrite(data, timeout);
                } catch (...) {
                    return completion(currentError());
                }
                completion(std::nullopt);
            });
}

void OrvoPrinter::read(int size, ReadCompletion completion) {
    Log(this, "readImpl(size:completion:)", __LINE__).writeIfLogging("");
    enqueue("readImpl(size:completion:)", true, true,
            [size, completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError,
                                                       const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                try {
                    auto bytes = self.internalRead(size);
                    completion(std::move(bytes), std::nullopt);
                } catch (...) {
                    completion(std::nullopt, currentError());
                }
            });
}

void OrvoPrinter::print(ByteBlock raw, Completion completion) {
    Log(this, "printImpl(raw:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({Util::describeBytes(raw)});
    });
    enqueue("printImpl(raw:completion:)", false, true,
            [raw = std::move(raw), completion = std::move(completion)](
                OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(stateError);
                try {
                    self.internalPrint(raw, self.snapshot().printTimeout);
                } catch (...) {
                    return completion(currentError());
                }
                completion(std::nullopt);
            });
}

void OrvoPrinter::print(std::string command, Completion completion) {
    Log(this, "printImpl(command:completion:)", __LINE__).writeIfLogging([&] { return Util::describeParameters({command}); });
    enqueue("printImpl(command:completion:)", false, true,
            [command = std::move(command), completion = std::move(completion)](
                OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log& log) {
                if (stateError) return completion(stateError);
                try {
                    const auto values = self.snapshot();
                    const auto information = self.informationRecord();
                    if (!information) raiseUnexpectedState(log, 247);
                    VelmarCommandParser parser;
                    const auto bytes = parser.parse(command, values.printTemplate, information->model, information->emulation);
                    self.internalPrint(bytes, values.printTimeout);
                } catch (...) {
                    return completion(currentError());
                }
                completion(std::nullopt);
            });
}

void OrvoPrinter::getStatus(StatusCompletion completion) {
    Log(this, "getStatusImpl(completion:)", __LINE__).writeIfLogging("");
    enqueue("getStatusImpl(completion:)", false, true,
            [completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(nullptr, stateError);
                try {
                    auto status = self.internalGetStatus(self.snapshot().getStatusTimeout);
                    completion(std::move(status), std::nullopt);
                } catch (...) {
                    completion(nullptr, currentError());
                }
            });
}

void OrvoPrinter::print(std::string command, OrvoSpoolJobSettings orvoSpoolJobSettings,
                        SpoolPrintCompletion completion) {
    Log(this, "printImpl(command:orvoSpoolJobSettings:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({command, orvoSpoolJobSettings.description()});
    });
    enqueue("printImpl(command:orvoSpoolJobSettings:completion:)", false, true,
            [command = std::move(command), settings = std::move(orvoSpoolJobSettings),
             completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError,
                                                 const Log& log) {
                if (stateError) return completion(-1, stateError);
                std::int64_t jobId = -1;
                try {
                    const auto values = self.snapshot();
                    const auto information = self.informationRecord();
                    if (!information) raiseUnexpectedState(log, 288);
                    VelmarCommandParser parser;
                    const auto bytes =
                        parser.parse(command, values.printTemplate, information->model, information->emulation);
                    jobId = self.internalSpoolPrint(bytes, settings, values.printTimeout);
                } catch (...) {
                    return completion(-1, currentError());
                }
                completion(jobId, std::nullopt);
            });
}

void OrvoPrinter::getSpoolJobStatus(std::int64_t jobId, SpoolJobStatusCompletion completion) {
    Log(this, "getSpoolJobStatusImpl(jobId:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({Util::describe(jobId)});
    });
    enqueue("getSpoolJobStatusImpl(jobId:completion:)", false, true,
            [jobId, completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError,
                                                        const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<OrvoSpoolJobStatus> status;
                try {
                    status = self.internalGetSpoolJobStatus(jobId, self.snapshot().getStatusTimeout);
                } catch (...) {
                    return completion(std::nullopt, currentError());
                }
                completion(std::move(status), std::nullopt);
            });
}

void OrvoPrinter::getSpoolJobStatusList(std::int64_t size, SpoolJobStatusListCompletion completion) {
    Log(this, "getSpoolJobStatusListImpl(size:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({Util::describe(size)});
    });
    enqueue("getSpoolJobStatusListImpl(size:completion:)", false, true,
            [size, completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError,
                                                       const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<std::vector<OrvoSpoolJobStatus>> list;
                try {
                    list = self.internalGetSpoolJobStatusList(size, self.snapshot().getStatusTimeout);
                } catch (...) {
                    return completion(std::nullopt, currentError());
                }
                completion(std::move(list), std::nullopt);
            });
}

void OrvoPrinter::setOrvoConfiguration(std::string orvoConfiguration, ConfigurationSetCompletion completion) {
    // The document may be long and may carry settings the app keeps private: only its size is logged.
    Log(this, "setOrvoConfigurationImpl(orvoConfiguration:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({"(" + std::to_string(orvoConfiguration.size()) + " bytes)"});
    });
    enqueue("setOrvoConfigurationImpl(orvoConfiguration:completion:)", false, true,
            [document = std::move(orvoConfiguration), completion = std::move(completion)](
                OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(OrvoConfigurationSetResult::applied, stateError);
                OrvoConfigurationSetResult result = OrvoConfigurationSetResult::applied;
                try {
                    result = self.internalSetOrvoConfig(document, self.snapshot().orvoConfigurationTimeout);
                } catch (...) {
                    return completion(OrvoConfigurationSetResult::applied, currentError());
                }
                completion(result, std::nullopt);
            });
}

void OrvoPrinter::getOrvoConfiguration(std::optional<std::string> password, ConfigurationCompletion completion) {
    Log(this, "getOrvoConfigurationImpl(password:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({describeSecret(password)});
    });
    enqueue("getOrvoConfigurationImpl(password:completion:)", false, true,
            [password = std::move(password), completion = std::move(completion)](
                OrvoPrinter& self, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<std::string> document;
                try {
                    document = self.internalGetOrvoConfig(OrvoConfigArea::user, password,
                                                          self.snapshot().orvoConfigurationTimeout);
                } catch (...) {
                    return completion(std::nullopt, currentError());
                }
                completion(std::move(document), std::nullopt);
            });
}

void OrvoPrinter::getDefaultOrvoConfiguration(ConfigurationCompletion completion) {
    Log(this, "getDefaultOrvoConfigurationImpl(completion:)", __LINE__).writeIfLogging("");
    enqueue("getDefaultOrvoConfigurationImpl(completion:)", false, true,
            [completion = std::move(completion)](OrvoPrinter& self, std::optional<Prelix10Error> stateError,
                                                 const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<std::string> document;
                try {
                    document = self.internalGetOrvoConfig(OrvoConfigArea::factory, std::nullopt,
                                                          self.snapshot().orvoConfigurationTimeout);
                } catch (...) {
                    return completion(std::nullopt, currentError());
                }
                completion(std::move(document), std::nullopt);
            });
}

std::future<std::int64_t> OrvoPrinter::print(std::string command, OrvoSpoolJobSettings orvoSpoolJobSettings) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<std::int64_t>();
    auto promise = std::make_shared<std::promise<std::int64_t>>();
    auto future = promise->get_future();
    print(std::move(command), std::move(orvoSpoolJobSettings),
          [promise](std::int64_t jobId, std::optional<Prelix10Error> error) {
              Settle<std::int64_t>{promise}(error ? std::nullopt : std::optional<std::int64_t>(jobId), error);
          });
    return future;
}
std::future<OrvoSpoolJobStatus> OrvoPrinter::getSpoolJobStatus(std::int64_t jobId) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<OrvoSpoolJobStatus>();
    auto promise = std::make_shared<std::promise<OrvoSpoolJobStatus>>();
    auto future = promise->get_future();
    getSpoolJobStatus(jobId, Settle<OrvoSpoolJobStatus>{promise});
    return future;
}
std::future<std::vector<OrvoSpoolJobStatus>> OrvoPrinter::getSpoolJobStatusList(std::int64_t size) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<std::vector<OrvoSpoolJobStatus>>();
    auto promise = std::make_shared<std::promise<std::vector<OrvoSpoolJobStatus>>>();
    auto future = promise->get_future();
    getSpoolJobStatusList(size, Settle<std::vector<OrvoSpoolJobStatus>>{promise});
    return future;
}
std::future<OrvoConfigurationSetResult> OrvoPrinter::setOrvoConfiguration(std::string orvoConfiguration) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<OrvoConfigurationSetResult>();
    auto promise = std::make_shared<std::promise<OrvoConfigurationSetResult>>();
    auto future = promise->get_future();
    setOrvoConfiguration(std::move(orvoConfiguration),
                         [promise](OrvoConfigurationSetResult result, std::optional<Prelix10Error> error) {
                             Settle<OrvoConfigurationSetResult>{promise}(
                                 error ? std::nullopt : std::optional<OrvoConfigurationSetResult>(result), error);
                         });
    return future;
}
std::future<std::string> OrvoPrinter::getOrvoConfiguration(std::optional<std::string> password) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<std::string>();
    auto promise = std::make_shared<std::promise<std::string>>();
    auto future = promise->get_future();
    getOrvoConfiguration(std::move(password), Settle<std::string>{promise});
    return future;
}
std::future<std::string> OrvoPrinter::getDefaultOrvoConfiguration() {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<std::string>();
    auto promise = std::make_shared<std::promise<std::string>>();
    auto future = promise->get_future();
    getDefaultOrvoConfiguration(Settle<std::string>{promise});
    return future;
}

std::future<void> OrvoPrinter::open() {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<void>();
    return awaitError([this](Completion c) { open(std::move(c)); });
}
std::future<void> OrvoPrinter::close() {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<void>();
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    close([promise] { promise->set_value(); });
    return future;
}
std::future<void> OrvoPrinter::write(ByteBlock data, int timeout) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<void>();
    return awaitError([this, &data, timeout](Completion c) { write(std::move(data), timeout, std::move(c)); });
}
std::future<void> OrvoPrinter::print(ByteBlock raw) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<void>();
    return awaitError([this, &raw](Completion c) { print(std::move(raw), std::move(c)); });
}
std::future<void> OrvoPrinter::print(std::string command) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<void>();
    return awaitError([this, &command](Completion c) { print(std::move(command), std::move(c)); });
}
std::future<ByteBlock> OrvoPrinter::read(int size) {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<ByteBlock>();
    auto promise = std::make_shared<std::promise<ByteBlock>>();
    auto future = promise->get_future();
    read(size, [promise](std::optional<ByteBlock> bytes, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (bytes) promise->set_value(std::move(*bytes));
        else promise->set_exception(std::make_exception_ptr(Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError)));
    });
    return future;
}
std::future<std::shared_ptr<const OrvoPrinterStatus>> OrvoPrinter::getStatus() {
    if (processQueue_->isCurrent()) return refusedOnOwnQueue<std::shared_ptr<const OrvoPrinterStatus>>();
    auto promise = std::make_shared<std::promise<std::shared_ptr<const OrvoPrinterStatus>>>();
    auto future = promise->get_future();
    getStatus([promise](std::shared_ptr<const OrvoPrinterStatus> status, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (status) promise->set_value(std::move(status));
        else promise->set_exception(std::make_exception_ptr(Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError)));
    });
    return future;
}

PrinterInformationRecord OrvoPrinter::getPrinterSpec(const std::shared_ptr<RawPort>& rawPort, std::int64_t timeout) {
    Stopwatch stopwatch;
    stopwatch.start();
    PrinterInformationRecord information = this->informationRecord().value_or(PrinterInformationRecord());
    if (information.model != OrvoPrinterModel::unknown && information.emulation != OrvoPrinterEmulation::unknown) {
        return information;
    }
    auto [detection, emulation] = PrinterSpecDetectorFactory::create(rawPort)->detect(remaining(timeout, stopwatch));
    if (!detection || detection->model() == OrvoPrinterModel::unknown || emulation == OrvoPrinterEmulation::unknown) {
        raiseError(Log(this, "getPrinterSpec(port:timeout:)", __LINE__), unsupportedModel());
    }
    information.modelDetectionInformation = detection;
    information.model = detection->model();
    information.emulation = emulation;
    setInformation(information);
    return information;
}

void OrvoPrinter::internalOpen(std::int64_t timeout) {
    const Log log(this, "internalOpen(timeout:)", __LINE__);
    Stopwatch stopwatch;
    stopwatch.start();
    const auto settings = connectionSettings();
    // With auto-switch, any interface of the device may do; without a known identifier of the device on
    // its other interfaces the base interface is opened as without it.
    std::shared_ptr<RawPort> rawPort;
    if (settings.autoSwitchInterface()) {
        if (const auto target = AutoSwitchInterfaceSearch::targetIdentifier(informationRecord(), settings)) {
            auto errors = AutoSwitchInterfaceSearch::emptyErrorTable();
            try {
                rawPort = AutoSwitchInterfaceSearch::open(settings.interfaceType(), settings.identifier(), *target,
                                                          remaining(timeout, stopwatch), errors);
            } catch (const Prelix10Error& error) {
                if (error.kind() == Prelix10ErrorKind::communication) {
                    std::lock_guard fields(fieldsMutex_);
                    errorDetail_.internalAutoSwitchInterfaceOpenErrors = errors;
                }
                throw;
            }
        }
    }
    if (!rawPort) {
        rawPort = RawPortFactory::create(settings.interfaceType(), settings.identifier());
        OrvoDeviceManager::registerPort(rawPort, remaining(timeout, stopwatch));
        try {
            rawPort->open(remaining(timeout, stopwatch));
        } catch (...) {
            OrvoDeviceManager::releasePort(rawPort.get());
            throw;
        }
    }
    try {
        auto information = getPrinterSpec(rawPort, remaining(timeout, stopwatch));
        log.writeIfLogging("information - " + information.description());
        const auto spec = PrinterSpecTable::findSpec(information.model);
        if (!spec || !spec->supportPortOpen) raiseError(log, unsupportedModel());
        auto printerPort = PrinterPortFactory::create(rawPort, information.emulation, spec->isGetStatusViaTcp9100);
        printerPort->initialize(remaining(timeout, stopwatch));
        if (spec->supportAutoSwitchInterface && settings.autoSwitchInterface()) {
            // Kept so that a later open can reach the printer over its other interfaces.
            auto identifier = ConnectionIdentifierReader::read(*printerPort, remaining(timeout, stopwatch));
            identifier.specifiedIdentifier = settings.identifier();
            OrvoConnectionIdentifierManager::save(identifier);
            information.connectionIdentifier = ConnectionIdentifierReader::toRecord(identifier);
        }
        auto control = PrinterControlFactory::create(
            printerPort, {spec->supportSpoolPrint, spec->supportOrvoConfig, spec->supportGetCommandAvailableInformation});
        port_ = printerPort;
        printerControl_ = control;
        setInformation(information);
        auto setting = makeSetting(printerPort, control, information);
        {
            std::lock_guard fields(fieldsMutex_);
            setting_ = std::move(setting);
            isOpened_ = true;
        }
        // Monitoring starts last; when it cannot start, the open fails.
        auto monitor = std::make_shared<PollingMonitor>(weak_from_this());
        try {
            monitor->startMonitoring();
        } catch (...) {
            port_.reset();
            printerControl_.reset();
            std::lock_guard fields(fieldsMutex_);
            isOpened_ = false;
            throw;
        }
        monitor_ = std::move(monitor);
    } catch (...) {
        rawPort->close();
        OrvoDeviceManager::releasePort(rawPort.get());
        throw;
    }
}

std::shared_ptr<OrvoPrinterSetting> OrvoPrinter::setting() const {
    std::lock_guard guard(fieldsMutex_);
    return setting_;
}

std::shared_ptr<OrvoPrinterSetting> OrvoPrinter::makeSetting(const std::shared_ptr<PrinterPort>& port,
                                                             const std::shared_ptr<PrinterControl>& control,
                                                             const PrinterInformationRecord& information) {
    auto post = [weak = weak_from_this()](std::function<void()> body) {
        auto self = weak.lock();
        if (!self) return false;
        self->processQueue_->async([self, body = std::move(body)] {
            std::lock_guard guard(self->lock_);
            body();
        });
        return true;
    };
    std::shared_ptr<OrvoPrinterSettingFirmware> firmware;
    try {
        auto isOnQueue = [weak = weak_from_this()] {
            const auto self = weak.lock();
            return self && self->processQueue_->isCurrent();
        };
        // Runs on the queue under the lock, as the monitor's close does.
        auto linkLost = [weak = weak_from_this()] {
            const auto self = weak.lock();
            if (self && self->isOpened()) self->internalClose();
        };
        firmware = OrvoPrinterSettingFirmware::create(port, information.toOrvoPrinterInformation(), control,
                                                      std::move(post), std::move(isOnQueue), std::move(linkLost));
    } catch (const Prelix10Error& error) {
        // A model without a firmware object still opens; its setting object has none.
        Log(this, "makeSetting(port:control:information:)", __LINE__).writeIfLogging("Error - " + error.description());
    }
    return std::make_shared<OrvoPrinterSetting>(std::move(firmware));
}

void OrvoPrinter::internalClose() {
    if (monitor_) {
        monitor_->stopMonitoring();
        monitor_.reset();
    }
    if (port_) {
        port_->close();
        OrvoDeviceManager::releasePort(&port_->rawPort());
    }
    std::lock_guard fields(fieldsMutex_);
    isOpened_ = false;
}

void OrvoPrinter::internalWrite(const ByteBlock& data, std::int64_t timeout) {
    if (!port_) raiseUnexpectedState(Log(this, "internalWrite(data:timeout:)", __LINE__), 552);
    port_->write(data, timeout);
}

ByteBlock OrvoPrinter::internalRead(std::int64_t size) {
    if (!port_) raiseUnexpectedState(Log(this, "internalRead(size:)", __LINE__), 542);
    return port_->readOnce(size);
}

void OrvoPrinter::internalPrint(const ByteBlock& data, std::int64_t timeout) {
    if (!printerControl_) raiseUnexpectedState(Log(this, "internalPrint(data:timeout:)", __LINE__), 562);
    printerControl_->printLegacy(data, timeout);
}

std::shared_ptr<const OrvoPrinterStatus> OrvoPrinter::internalGetStatus(std::int64_t timeout) {
    if (!port_) raiseUnexpectedState(Log(this, "internalGetStatus(timeout:)", __LINE__), 597);
    return port_->getStatus(timeout);
}

OrvoSpoolJobSettingsAdditionalInfo OrvoPrinter::spoolAdditionalInfo() const {
    const DeviceFacts facts = HostFacts::deviceFacts();
    OrvoSpoolJobSettingsAdditionalInfo info;
    info.note = "";
    info.app_info = facts.applicationName;
    info.host_model = facts.deviceModel;
    info.host_OS = facts.operatingSystem;
    if (connectionSettings().interfaceType() == InterfaceType::lan && port_) {
        info.host_IP = NetworkInformation::localIPAddress(port_->rawPort().actualIdentifier());
    }
    return info;
}

std::int64_t OrvoPrinter::internalSpoolPrint(const ByteBlock& data, const OrvoSpoolJobSettings& settings,
                                             std::int64_t timeout) {
    if (!printerControl_) {
        raiseUnexpectedState(Log(this, "internalSpoolPrint(data:orvoSpoolJobSettings:timeout:)", __LINE__), 572);
    }
    return printerControl_->printSpool(data, settings, spoolAdditionalInfo(), timeout);
}

OrvoSpoolJobStatus OrvoPrinter::internalGetSpoolJobStatus(std::int64_t jobId, std::int64_t timeout) {
    if (!printerControl_) raiseUnexpectedState(Log(this, "internalGetSpoolJobStatus(jobId:timeout:)", __LINE__), 607);
    return printerControl_->getSpoolJobStatus(jobId, timeout);
}

std::vector<OrvoSpoolJobStatus> OrvoPrinter::internalGetSpoolJobStatusList(std::int64_t size, std::int64_t timeout) {
    if (!printerControl_) {
        raiseUnexpectedState(Log(this, "internalGetSpoolJobStatusList(size:timeout:)", __LINE__), 617);
    }
    return printerControl_->getSpoolJobStatusList(size, timeout);
}

OrvoConfigurationSetResult OrvoPrinter::internalSetOrvoConfig(const std::string& orvoConfig, std::int64_t timeout) {
    if (!printerControl_) raiseUnexpectedState(Log(this, "internalSetOrvoConfig(orvoConfig:timeout:)", __LINE__), 627);
    return printerControl_->setOrvoConfig(orvoConfig, timeout);
}

std::string OrvoPrinter::internalGetOrvoConfig(OrvoConfigArea area, const std::optional<std::string>& password,
                                               std::int64_t timeout) {
    if (!printerControl_) {
        raiseUnexpectedState(Log(this, "internalGetOrvoConfig(area:password:timeout:)", __LINE__), 637);
    }
    return printerControl_->getOrvoConfig(area, password, timeout);
}

}  // namespace Prelix10
