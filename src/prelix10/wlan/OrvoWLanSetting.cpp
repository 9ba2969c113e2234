#include "prelix10/wlan/OrvoWLanSetting.hpp"

#include "prelix10/core/Log.hpp"
#include "prelix10/wlan/WLanSettingControl.hpp"

namespace Prelix10 {

namespace {

Prelix10Error unknownError() { return Prelix10Error(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError); }

}  // namespace

std::shared_ptr<OrvoWLanSetting> OrvoWLanSetting::create(OrvoConnectionSettings connectionSettings) {
    return create(std::nullopt, std::move(connectionSettings));
}

std::shared_ptr<OrvoWLanSetting> OrvoWLanSetting::create(std::optional<PrinterInformationRecord> information,
                                                         OrvoConnectionSettings connectionSettings) {
    return std::shared_ptr<OrvoWLanSetting>(new OrvoWLanSetting(std::move(information), std::move(connectionSettings)));
}

std::shared_ptr<OrvoWLanSetting> OrvoWLanSetting::create(const OrvoSettingDevice& orvoSettingDevice) {
    return create(orvoSettingDevice.informationRecord(), orvoSettingDevice.connectionSettings());
}

std::optional<WLanSettingServiceStatus> OrvoWLanSetting::serviceStatus() const {
    const auto record = informationRecord();
    if (!record || !record->bluetoothLEInformation || !record->bluetoothLEInformation->capWLanSettingService) {
        return std::nullopt;
    }
    return record->bluetoothLEInformation->wLanSettingServiceStatus;
}

void OrvoWLanSetting::internalOpen(std::int64_t timeout) {
    OrvoSettingDevice::internalOpen(timeout);
    if (!port() || !informationRecord()) raiseUnexpectedState(Log(this, "internalOpen(timeout:)", __LINE__), 26);
    // The same control serves every device; the model is not consulted.
    wlanSettingControl_ = std::make_shared<Lupek599WLanSettingControl>(port());
}

void OrvoWLanSetting::initSettingImpl(std::int64_t timeout, Completion completion) {
    Log(this, "initSettingImpl(timeout:completion:)", __LINE__).writeIfLogging("");
    enqueue("initSettingImpl(timeout:completion:)", true,
            [timeout, completion = std::move(completion)](OrvoSettingDevice& device, std::optional<Prelix10Error> stateError,
                                                          const Log&) {
                if (stateError) return completion(stateError);
                try {
                    static_cast<OrvoWLanSetting&>(device).internalInitSetting(timeout);
                } catch (...) {
                    return completion(Internal::currentSettingError());
                }
                completion(std::nullopt);
            });
}

void OrvoWLanSetting::loadCurrentInfoImpl(std::int64_t timeout, InfoCompletion completion) {
    Log(this, "loadCurrentInfoImpl(timeout:completion:)", __LINE__).writeIfLogging("");
    enqueue("loadCurrentInfoImpl(timeout:completion:)", true,
            [timeout, completion = std::move(completion)](OrvoSettingDevice& device, std::optional<Prelix10Error> stateError,
                                                          const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<CurrentWLanInfo> info;
                try {
                    info.emplace(static_cast<OrvoWLanSetting&>(device).internalLoadCurrentInfo(timeout));
                } catch (...) {
                    return completion(std::nullopt, Internal::currentSettingError());
                }
                completion(std::move(info), std::nullopt);
            });
}

void OrvoWLanSetting::setupConnectionImpl(APInfo apInfo, std::int64_t timeout, Completion completion) {
    // The description shows the pass phrase masked.
    Log(this, "setupConnectionImpl(apInfo:timeout:completion:)", __LINE__).writeIfLogging([&] {
        return Util::describeParameters({apInfo.description()});
    });
    enqueue("setupConnectionImpl(apInfo:timeout:completion:)", true,
            [apInfo = std::move(apInfo), timeout, completion = std::move(completion)](
                OrvoSettingDevice& device, std::optional<Prelix10Error> stateError, const Log&) {
                if (stateError) return completion(stateError);
                try {
                    static_cast<OrvoWLanSetting&>(device).internalSetupConnection(apInfo, timeout);
                } catch (...) {
                    return completion(Internal::currentSettingError());
                }
                completion(std::nullopt);
            });
}

void OrvoWLanSetting::fetchNearbyAccessPointInfoImpl(std::int64_t timeout, ScanCompletion completion) {
    Log(this, "fetchNearbyAccessPointInfoImpl(timeout:completion:)", __LINE__).writeIfLogging("");
    enqueue("fetchNearbyAccessPointInfoImpl(timeout:completion:)", true,
            [timeout, completion = std::move(completion)](OrvoSettingDevice& device, std::optional<Prelix10Error> stateError,
                                                          const Log&) {
                if (stateError) return completion(std::nullopt, stateError);
                std::optional<std::vector<FoundAPInfo>> found;
                try {
                    found = static_cast<OrvoWLanSetting&>(device).internalFetchNearbyAccessPointInfo(timeout);
                } catch (...) {
                    return completion(std::nullopt, Internal::currentSettingError());
                }
                completion(std::move(found), std::nullopt);
            });
}

void OrvoWLanSetting::internalInitSetting(std::int64_t timeout) {
    if (!wlanSettingControl_) raiseUnexpectedState(Log(this, "internalInitSetting(timeout:)", __LINE__), 120);
    wlanSettingControl_->initSetting(timeout);
}

CurrentWLanInfo OrvoWLanSetting::internalLoadCurrentInfo(std::int64_t timeout) {
    if (!wlanSettingControl_) raiseUnexpectedState(Log(this, "internalLoadCurrentInfo(timeout:)", __LINE__), 130);
    return wlanSettingControl_->loadCurrentInfo(timeout);
}

void OrvoWLanSetting::internalSetupConnection(const APInfo& apInfo, std::int64_t timeout) {
    if (!wlanSettingControl_) raiseUnexpectedState(Log(this, "internalSetupConnection(apInfo:timeout:)", __LINE__), 140);
    wlanSettingControl_->setupConnection(apInfo, timeout);
}

std::vector<FoundAPInfo> OrvoWLanSetting::internalFetchNearbyAccessPointInfo(std::int64_t timeout) {
    if (!wlanSettingControl_) {
        raiseUnexpectedState(Log(this, "internalFetchNearbyAccessPointInfo(timeout:)", __LINE__), 150);
    }
    return wlanSettingControl_->fetchNearbyAccessPointInfo(timeout);
}

void OrvoWLanSetting::initSetting(Completion completion) { initSettingImpl(communicationTimeout(), std::move(completion)); }
void OrvoWLanSetting::loadCurrentInfo(InfoCompletion completion) {
    loadCurrentInfoImpl(communicationTimeout(), std::move(completion));
}
void OrvoWLanSetting::setupConnection(APInfo apInfo, Completion completion) {
    setupConnectionImpl(std::move(apInfo), communicationTimeout(), std::move(completion));
}
void OrvoWLanSetting::fetchNearbyAccessPointInfo(ScanCompletion completion) {
    fetchNearbyAccessPointInfoImpl(communicationTimeout(), std::move(completion));
}

std::future<void> OrvoWLanSetting::initSetting() {
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    initSetting([promise](std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else promise->set_value();
    });
    return future;
}

std::future<void> OrvoWLanSetting::setupConnection(APInfo apInfo) {
    auto promise = std::make_shared<std::promise<void>>();
    auto future = promise->get_future();
    setupConnection(std::move(apInfo), [promise](std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else promise->set_value();
    });
    return future;
}

std::future<CurrentWLanInfo> OrvoWLanSetting::loadCurrentInfo() {
    auto promise = std::make_shared<std::promise<CurrentWLanInfo>>();
    auto future = promise->get_future();
    loadCurrentInfo([promise](std::optional<CurrentWLanInfo> info, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (info) promise->set_value(std::move(*info));
        else promise->set_exception(std::make_exception_ptr(unknownError()));
    });
    return future;
}

std::future<std::vector<FoundAPInfo>> OrvoWLanSetting::fetchNearbyAccessPointInfo() {
    auto promise = std::make_shared<std::promise<std::vector<FoundAPInfo>>>();
    auto future = promise->get_future();
    fetchNearbyAccessPointInfo([promise](std::optional<std::vector<FoundAPInfo>> found, std::optional<Prelix10Error> error) {
        if (error) promise->set_exception(std::make_exception_ptr(*error));
        else if (found) promise->set_value(std::move(*found));
        else promise->set_exception(std::make_exception_ptr(unknownError()));
    });
    return future;
}

}  // namespace Prelix10
