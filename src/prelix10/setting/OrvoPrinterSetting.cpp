#include "prelix10/setting/OrvoPrinterSetting.hpp"

#include <algorithm>
#include <cctype>
#include <exception>

#include "prelix10/control/PrinterControl.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/NetworkInformation.hpp"
#include "prelix10/core/OrvoPrinterStatus.hpp"
#include "prelix10/core/PrinterInformationType.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/ModelDetection.hpp"
#include "prelix10/printer/PrinterSpec.hpp"
#include "prelix10/protocol/FirmwareInformationParser.hpp"
#include "prelix10/protocol/InformationReplyParsers.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareUpdateLog.hpp"
#include "prelix10/setting/FirmwareUpdater.hpp"
#include "prelix10/transport/PortUtil.hpp"
#include "prelix10/transport/PrinterPort.hpp"

namespace Prelix10 {

namespace {

Prelix10Error notOpened() {
    return Prelix10Error(Prelix10ErrorKind::invalidOperation, Prelix10ErrorMessage::notOpened);
}

Prelix10Error unsupportedModel() {
    return Prelix10Error(Prelix10ErrorKind::unsupportedModel, Prelix10ErrorMessage::notSupportedModel);
}

Prelix10Error currentError() {
    try {
        throw;
    } catch (const Prelix10Error& error) {
        return error;
    } catch (...) {
        return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
    }
}

// Runs of digits compare as numbers, everything else character by character.
int compareNumerically(const std::string& a, const std::string& b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (da && db) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei]))) ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej]))) ++ej;
            std::size_t si = i, sj = j;
            while (si + 1 < ei && a[si] == '0') ++si;
            while (sj + 1 < ej && b[sj] == '0') ++sj;
            if (ei - si != ej - sj) return ei - si < ej - sj ? -1 : 1;
            const int c = a.compare(si, ei - si, b, sj, ej - sj);
            if (c != 0) return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j]) return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    if (i == a.size() && j == b.size()) return 0;
    return i == a.size() ? -1 : 1;
}

Prelix10Error cloudError(CloudFirmwareFunction::Result result) {
    using R = CloudFirmwareFunction::Result;
    switch (result) {
        case R::communicationError:
            return Prelix10Error(Prelix10ErrorKind::serverCommunication, Prelix10ErrorMessage::serverUrlError,
                                 Prelix10ErrorCode::serverUrlError);
        case R::requestError:
            return Prelix10Error(Prelix10ErrorKind::serverCommunication,
                                 Prelix10ErrorMessage::serverRequestParameterError,
                                 Prelix10ErrorCode::serverRequestParameterError);
        case R::authenticationError:
            return Prelix10Error(Prelix10ErrorKind::serverCommunication,
                                 Prelix10ErrorMessage::serverAuthenticationError,
                                 Prelix10ErrorCode::serverAuthenticationError);
        case R::networkError:
        case R::success:
        default:
            return Prelix10Error(Prelix10ErrorKind::serverCommunication,
                                 Prelix10ErrorMessage::couldNotConnectToServer,
                                 Prelix10ErrorCode::couldNotConnectToServer);
    }
}

// The service is reached over any usable interface, IPv4 (as the printer searches use) or IPv6 other than
// link-local, which cannot leave its own link.
bool hasServiceRoute() {
    if (!NetworkInformation::listIPv4Interfaces().empty()) return true;
    const auto entries = NetworkInformation::interfaces();
    if (!entries) return false;
    return std::any_of(entries->begin(), entries->end(), [](const InterfaceAddressEntry& entry) {
        if (!entry.isIPv6 || !entry.isUp || entry.isLoopback || entry.address.empty()) return false;
        std::string start = entry.address.substr(0, 4);
        std::transform(start.begin(), start.end(), start.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return start != "fe80";
    });
}

Prelix10Error invalidOnOwnQueue() {
    return Prelix10Error(Prelix10ErrorKind::invalidOperation, std::string("Invalid operation."));
}

template <typename T>
std::future<T> failedFuture(const Prelix10Error& error) {
    std::promise<T> promise;
    promise.set_exception(std::make_exception_ptr(error));
    return promise.get_future();
}

std::shared_ptr<const FirmwareUpdateCapability> capabilityOf(OrvoPrinterModel model) {
    const auto spec = PrinterSpecTable::findSpec(model);
    return spec ? spec->firmwareUpdateCapability : nullptr;
}

}  // namespace

std::string describeEnumeration(FirmwareUpdateStep step) {
    return step == FirmwareUpdateStep::download ? "downloading" : "transmitting";
}

std::shared_ptr<OrvoPrinterSettingFirmware> OrvoPrinterSettingFirmware::create(
    std::shared_ptr<PrinterPort> port, OrvoPrinterInformation information,
    std::shared_ptr<PrinterControl> printerControl, OperationPoster post, QueueCheck isOnQueue,
    LinkLost linkLost) {
    if (information.model == OrvoPrinterModel::harlo599ROP) {
        throw Prelix10Error(Prelix10ErrorKind::unsupportedModel, std::string());
    }
    return std::shared_ptr<OrvoPrinterSettingFirmware>(
        new OrvoPrinterSettingFirmware(std::move(port), std::move(information), std::move(printerControl),
                                       std::move(post), std::move(isOnQueue), std::move(linkLost)));
}

OrvoPrinterSettingFirmware::OrvoPrinterSettingFirmware(std::shared_ptr<PrinterPort> port,
                                                       OrvoPrinterInformation information,
                                                       std::shared_ptr<PrinterControl> printerControl,
                                                       OperationPoster post, QueueCheck isOnQueue,
                                                       LinkLost linkLost)
    : port_(std::move(port)),
      information_(std::move(information)),
      printerControl_(std::move(printerControl)),
      post_(std::move(post)),
      isOnQueue_(std::move(isOnQueue)),
      linkLost_(std::move(linkLost)) {
    const auto capability = capabilityOf(information_.model);
    isUpdatable_ = capability != nullptr;
    if (capability && capability->updateWithOrvoConfig) {
        firmwareUpdater_ = std::make_unique<OrvoConfigFirmwareUpdater>(port_, printerControl_);
    } else {
        firmwareUpdater_ = std::make_unique<VozFirmwareUpdater>(port_, printerControl_);
    }
}

OrvoPrinterSettingFirmware::~OrvoPrinterSettingFirmware() {
    cancelTransfers();
}

void OrvoPrinterSettingFirmware::cancelTransfers() {
    cancelled_.store(true);
}

std::string OrvoPrinterSettingFirmware::currentVersion() const {
    std::lock_guard guard(fieldsMutex_);
    return currentVersion_;
}

void OrvoPrinterSettingFirmware::setCurrentVersion(std::string version) {
    std::lock_guard guard(fieldsMutex_);
    currentVersion_ = std::move(version);
}

std::optional<std::string> OrvoPrinterSettingFirmware::latestVersion() const {
    std::lock_guard guard(fieldsMutex_);
    return latestVersion_;
}

void OrvoPrinterSettingFirmware::setLatestVersion(std::optional<std::string> version) {
    std::lock_guard guard(fieldsMutex_);
    latestVersion_ = std::move(version);
}

std::weak_ptr<FirmwareUpdateDelegate> OrvoPrinterSettingFirmware::updateDelegate() const {
    std::lock_guard guard(fieldsMutex_);
    return updateDelegate_;
}

void OrvoPrinterSettingFirmware::setUpdateDelegate(std::weak_ptr<FirmwareUpdateDelegate> delegate) {
    std::lock_guard guard(fieldsMutex_);
    updateDelegate_ = std::move(delegate);
}

PrinterModelDetail OrvoPrinterSettingFirmware::detailModel() const {
    std::lock_guard guard(fieldsMutex_);
    return detailModel_;
}

void OrvoPrinterSettingFirmware::post(const char* name, std::function<void()> body,
                                      std::function<void(const Prelix10Error&)> refuse) {
    Log(this, name, __LINE__).writeIfLogging("");
    auto self = shared_from_this();
    const bool queued = post_ && post_([self, body = std::move(body)] { body(); });
    if (queued) return;
    // The printer object is gone, and its queue with it: the call still returns at once and completes once.
    GlobalQueue::async([self, name, refuse = std::move(refuse)] {
        const auto error = notOpened();
        Log(self.get(), name, __LINE__).writeIfLogging("Error - " + error.description());
        refuse(error);
    });
}

std::optional<Prelix10Error> OrvoPrinterSettingFirmware::precheck(bool needsCloud) const {
    if (needsCloud) {
        if (!isUpdatable_) return unsupportedModel();
        if (!hasServiceRoute()) {
            return Prelix10Error(Prelix10ErrorKind::illegalDeviceState,
                                 Prelix10ErrorMessage::networkUnavailable,
                                 Prelix10ErrorCode::networkUnavailable);
        }
    }
    if (!port_ || !port_->isConnected()) {
        closeIfLinkLost();
        return notOpened();
    }
    return std::nullopt;
}

void OrvoPrinterSettingFirmware::closeIfLinkLost() const {
    if (port_ && !port_->isConnected() && linkLost_) linkLost_();
}

void OrvoPrinterSettingFirmware::getCurrentVersion(VersionCompletion completion) {
    auto shared = std::make_shared<VersionCompletion>(std::move(completion));
    post(
        "getCurrentVersionImpl(completion:)",
        [this, shared] {
            const Log log(this, "getCurrentVersionImpl(completion:)", __LINE__);
            if (const auto error = precheck(false)) {
                log.writeIfLogging("Error - " + error->description());
                return (*shared)(std::nullopt, error);
            }
            std::string version;
            try {
                version = retrieveCurrentVersion();
            } catch (...) {
                return (*shared)(std::nullopt, currentError());
            }
            setCurrentVersion(version);
            (*shared)(version, std::nullopt);
        },
        [shared](const Prelix10Error& error) { (*shared)(std::nullopt, error); });
}

void OrvoPrinterSettingFirmware::checkVersions(Completion completion) {
    auto shared = std::make_shared<Completion>(std::move(completion));
    post(
        "checkVersionsImpl(completion:)",
        [this, shared] {
            const Log log(this, "checkVersionsImpl(completion:)", __LINE__);
            if (const auto error = precheck(true)) {
                log.writeIfLogging("Error - " + error->description());
                return (*shared)(error);
            }
            try {
                internalCheckVersions();
            } catch (...) {
                return (*shared)(currentError());
            }
            (*shared)(std::nullopt);
        },
        [shared](const Prelix10Error& error) { (*shared)(error); });
}

void OrvoPrinterSettingFirmware::update(Completion completion) {
    auto shared = std::make_shared<Completion>(std::move(completion));
    post(
        "updateImpl(completion:)",
        [this, shared] {
            const Log log(this, "updateImpl(completion:)", __LINE__);
            if (const auto error = precheck(true)) {
                log.writeIfLogging("Error - " + error->description());
                return (*shared)(error);
            }
            try {
                internalUpdate();
            } catch (...) {
                const auto error = currentError();
                // A link that dropped under the transfer leaves the printer closed, as it is in fact.
                closeIfLinkLost();
                firmwareUpdateError(error);
                return (*shared)(error);
            }
            firmwareUpdateTransmitComplete();
            (*shared)(std::nullopt);
        },
        [shared](const Prelix10Error& error) { (*shared)(error); });
}

std::future<std::string> OrvoPrinterSettingFirmware::getCurrentVersion() {
    if (isOnOwnQueue()) return failedFuture<std::string>(invalidOnOwnQueue());
    auto promise = std::make_shared<std::promise<std::string>>();
    auto future = promise->get_future();
    getCurrentVersion([promise](std::optional<std::string> version, std::optional<Prelix10Error> error) {
        if (error)
            promise->set_exception(std::make_exception_ptr(*error));
        else if (version)
            promise->set_value(*version);
        else
            promise->set_exception(std::make_exception_ptr(
                Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError)));
    });
    return future;
}

std::future<void> OrvoPrinterSettingFirmware::checkVersions() {
    if (isOnOwnQueue()) return failedFuture<void>(invalidOnOwnQueue());
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    checkVersions([promise](std::optional<Prelix10Error> error) {
        if (error)
            promise->set_exception(std::make_exception_ptr(*error));
        else
            promise->set_value();
    });
    return future;
}

std::future<void> OrvoPrinterSettingFirmware::update() {
    if (isOnOwnQueue()) return failedFuture<void>(invalidOnOwnQueue());
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    update([promise](std::optional<Prelix10Error> error) {
        if (error)
            promise->set_exception(std::make_exception_ptr(*error));
        else
            promise->set_value();
    });
    return future;
}

void OrvoPrinterSettingFirmware::internalCheckVersions() {
    const Log log(this, "internalCheckVersions()", __LINE__);
    {
        std::lock_guard guard(fieldsMutex_);
        isCheckVersionsDone_ = false;
    }
    const std::string version = retrieveCurrentVersion();
    setCurrentVersion(version);
    if (version.empty()) {
        raiseError(
            log, Prelix10Error(Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::badResponseFromDevice));
    }
    const PrinterModelDetail detail = retrieveDetailModel();
    {
        std::lock_guard guard(fieldsMutex_);
        detailModel_ = detail;
    }
    if (detail == PrinterModelDetail::none) raiseError(log, unsupportedModel());
    setLatestVersion(fetchLatestFirmwareVersion());
    std::lock_guard guard(fieldsMutex_);
    isCheckVersionsDone_ = true;
}

std::string OrvoPrinterSettingFirmware::retrieveCurrentVersion() {
    OrvoFirmwareInformationParser parser(
        [](const std::string& text) { return ModelDetection::detectModelFromFirmwareName(text); });
    PortUtil::retrieveInformationImpl(*port_, parser, kRetrieveInfoTimeout, true);
    return parser.internalVersion().value_or(std::string());
}

PrinterModelDetail OrvoPrinterSettingFirmware::retrieveDetailModel() {
    const auto capability = capabilityOf(information_.model);
    std::optional<MountedInterfaces> mounted;
    if (capability && capability->needDetailModel) {
        if (information_.model == OrvoPrinterModel::Rovan &&
            compareNumerically(currentVersion(), "1.0") < 0) {
            return PrinterModelDetail::rovan59;
        }
        MountedInterfaceInformationParser parser;
        PortUtil::retrieveInformationImpl(*port_, parser, kRetrieveInfoTimeout, true);
        mounted = parser.mountedInterfaces();
    }
    return PrinterModelDetails::lookup(information_.model, mounted.value_or(MountedInterfaces()));
}

std::string OrvoPrinterSettingFirmware::fetchLatestFirmwareVersion() {
    const Log log(this, "fetchLatestFirmwareVersion()", __LINE__);
    const auto [result, list] = CloudFirmwareFunction::fetchFirmwareInfo(
        PrinterModelDetails::rawValue(detailModel()), CloudFirmwareFunction::configuration(), &cancelled_);
    if (result != CloudFirmwareFunction::Result::success) raiseError(log, cloudError(result));
    // The service lists the newest firmware first; later entries are not looked at.
    if (list.empty()) raiseUnexpectedState(log, 261);
    return list.front().mainVersion;
}

ByteBlock OrvoPrinterSettingFirmware::fetchFirmwareData() {
    const Log log(this, "fetchFirmwareData()", __LINE__);
    auto [result, data] = CloudFirmwareFunction::fetchFirmwareData(
        PrinterModelDetails::rawValue(detailModel()), CloudFirmwareFunction::configuration(), &cancelled_);
    if (result != CloudFirmwareFunction::Result::success) raiseError(log, cloudError(result));
    if (!data || data->empty()) raiseUnexpectedState(log, 292);
    return std::move(*data);
}

FirmwareUpdateLog OrvoPrinterSettingFirmware::makeFirmwareUpdateLog() {
    const auto status = port_->getStatus(kRetrieveInfoTimeout);
    std::optional<int> connectedInterface;
    if (status && status->detailInternal() && status->detailInternal()->connectedInterface()) {
        connectedInterface = static_cast<int>(*status->detailInternal()->connectedInterface());
    }
    PrinterInformationParser parser;
    PortUtil::retrieveInformationImpl(*port_, parser, kRetrieveInfoTimeout, true);
    std::string serial;
    if (const auto& dictionary = parser.printerInformationDictionary()) {
        const auto found = dictionary->find(PrinterInformationType::productSerialNumber);
        if (found != dictionary->end() && found->second) serial = *found->second;
    }
    std::string model = PrinterModelDetails::rawValue(detailModel());
    return FirmwareUpdateLog(PrinterInfo(std::move(model), connectedInterface, currentVersion(),
                                         latestVersion().value_or(std::string()), std::move(serial)));
}

void OrvoPrinterSettingFirmware::internalUpdate() {
    const Log log(this, "internalUpdate()", __LINE__);
    bool checked;
    {
        std::lock_guard guard(fieldsMutex_);
        checked = isCheckVersionsDone_;
    }
    if (!checked) internalCheckVersions();
    if (Prelix10DiagInfoUpload::shared().isEnabled()) {
        // The upload is a courtesy to the service: its answer does not matter.
        (void)CloudFirmwareFunction::postClientInfo(makeFirmwareUpdateLog(),
                                                    CloudFirmwareFunction::configuration(), &cancelled_);
    }
    firmwareUpdateProgress(FirmwareUpdateStep::download);
    const ByteBlock data = fetchFirmwareData();
    firmwareUpdateProgress(FirmwareUpdateStep::transmit);
    firmwareUpdater_->update(data);
    // A transfer that ends without an error does not prove the printer took the image: only the version
    // it reports afterwards does.
    const std::string reported = retrieveCurrentVersion();
    if (!reported.empty()) setCurrentVersion(reported);
    const auto expected = latestVersion();
    if (!expected || reported != *expected) {
        {
            // The next update checks the versions again rather than trusting those of this one.
            std::lock_guard guard(fieldsMutex_);
            isCheckVersionsDone_ = false;
        }
        // The transfer went through but the printer runs another firmware than the one sent: its own
        // error, so that it is not taken for a broken link.
        raiseError(log, Prelix10Error(Prelix10ErrorKind::badResponse,
                                      "Firmware version mismatch: expected \"" + expected.value_or("") +
                                          "\", the printer reports \"" + reported + "\"."));
    }
}

void OrvoPrinterSettingFirmware::firmwareUpdateProgress(FirmwareUpdateStep step) {
    Log(this, "firmwareUpdateProgress(step:)", __LINE__).writeIfLogging([&] {
        return describeEnumeration(step);
    });
    if (auto delegate = updateDelegate().lock()) {
        try {
            delegate->firmwareUpdateProgress(*this, step);
        } catch (...) {
            // A delegate's failure is its own; the update goes on.
        }
    }
}

void OrvoPrinterSettingFirmware::firmwareUpdateTransmitComplete() {
    Log(this, "firmwareUpdateTransmitComplete()", __LINE__).writeIfLogging("");
    if (auto delegate = updateDelegate().lock()) {
        try {
            delegate->firmwareUpdateTransmitComplete(*this);
        } catch (...) {
        }
    }
}

void OrvoPrinterSettingFirmware::firmwareUpdateError(const Prelix10Error& error) {
    Log(this, "firmwareUpdateError(error:)", __LINE__).writeIfLogging([&] { return error.description(); });
    if (auto delegate = updateDelegate().lock()) {
        try {
            delegate->firmwareUpdate(*this, error);
        } catch (...) {
        }
    }
}

}  // namespace Prelix10
