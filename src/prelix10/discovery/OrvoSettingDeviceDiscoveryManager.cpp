#include "prelix10/discovery/OrvoSettingDeviceDiscoveryManager.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

#include "prelix10/core/Log.hpp"
#include "prelix10/discovery/CompositeMemberSet.hpp"
#include "prelix10/discovery/BluetoothLEOrvoSettingDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/wlan/OrvoSettingDevice.hpp"

namespace Prelix10 {

namespace {
constexpr std::size_t kCacheCapacity = 65535;
}

BaseOrvoSettingDeviceDiscoveryManager::~BaseOrvoSettingDeviceDiscoveryManager() {
    // The run shares the token: it sees the flag at its next poll and ends.
    stopOperation();
}

std::shared_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> BaseOrvoSettingDeviceDiscoveryManager::delegate() const {
    std::lock_guard guard(delegateMutex_);
    return delegate_.lock();
}

void BaseOrvoSettingDeviceDiscoveryManager::setDelegate(std::weak_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate) {
    std::lock_guard guard(delegateMutex_);
    delegate_ = std::move(delegate);
}

void BaseOrvoSettingDeviceDiscoveryManager::startDiscovery() {
    Log(this, "startDiscovery()", __LINE__).writeIfLogging("");
    startOperation();
}

void BaseOrvoSettingDeviceDiscoveryManager::stopDiscovery() {
    Log(this, "stopDiscovery()", __LINE__).writeIfLogging("");
    stopOperation();
}

void BaseOrvoSettingDeviceDiscoveryManager::operationWillStart() {
    if (auto* protocol = dynamic_cast<BaseOrvoSettingDeviceDiscoveryManagerProtocol*>(this)) protocol->internalCheckAvailability();
    std::lock_guard guard(cacheMutex_);
    settingDeviceCache_.clear();
}

void BaseOrvoSettingDeviceDiscoveryManager::runOperation(std::function<void()> completion) {
    auto* protocol = dynamic_cast<BaseOrvoSettingDeviceDiscoveryManagerProtocol*>(this);
    if (!protocol) {
        completion();
        return;
    }
    std::weak_ptr<BaseOrvoSettingDeviceDiscoveryManager> weak = weak_from_this();
    protocol->internalStartDiscovery(cancellationToken(), [weak, completion = std::move(completion)] {
        if (auto self = weak.lock()) self->didFinishDiscovery();
        completion();
    });
}

bool BaseOrvoSettingDeviceDiscoveryManager::isDuplicateLocked(const OrvoSettingDevice& settingDevice) const {
    const auto identifier = settingDevice.connectionSettings().identifier();
    return std::any_of(settingDeviceCache_.begin(), settingDeviceCache_.end(), [&](const auto& cached) {
        return cached->connectionSettings().identifier() == identifier;
    });
}

void BaseOrvoSettingDeviceDiscoveryManager::didFindSettingDevice(std::shared_ptr<OrvoSettingDevice> settingDevice,
                                                                 const std::shared_ptr<CancellationToken>& token) {
    if (!settingDevice || (token && token->isCancelled())) return;
    {
        std::lock_guard guard(cacheMutex_);
        if (isDuplicateLocked(*settingDevice) && !isEnabledFindSameDevice()) return;
        settingDeviceCache_.push_back(settingDevice);
        if (settingDeviceCache_.size() > kCacheCapacity) settingDeviceCache_.erase(settingDeviceCache_.begin());
    }
    Log(this, "didFindSettingDevice(settingDevice:cancellationToken:)", __LINE__).writeIfLogging([&] {
        return settingDevice->description();
    });
    if (auto d = delegate()) d->managerDidFind(*this, settingDevice);
}

void BaseOrvoSettingDeviceDiscoveryManager::didFinishDiscovery() {
    Log(this, "didFinishDiscovery()", __LINE__).writeIfLogging("");
    if (auto d = delegate()) d->managerDidFinishDiscovery(*this);
}

std::vector<std::shared_ptr<OrvoSettingDevice>> BaseOrvoSettingDeviceDiscoveryManager::settingDeviceCache() const {
    std::lock_guard guard(cacheMutex_);
    return settingDeviceCache_;
}

// Forwards the members' reports to the composite; holds it weakly so that no cycle keeps it alive.
class MultipleOrvoSettingDeviceDiscoveryManager::MemberDelegate final : public OrvoSettingDeviceDiscoveryManagerDelegate {
public:
    void setOwner(std::weak_ptr<MultipleOrvoSettingDeviceDiscoveryManager> owner) {
        std::lock_guard guard(mutex_);
        owner_ = std::move(owner);
    }
    void managerDidFind(OrvoSettingDeviceDiscoveryManager&, std::shared_ptr<OrvoSettingDevice> device) override {
        if (auto owner = lockOwner()) owner->didFindSettingDevice(std::move(device), owner->cancellationToken());
    }
    void managerDidFinishDiscovery(OrvoSettingDeviceDiscoveryManager& member) override {
        if (auto owner = lockOwner()) owner->memberDidFinish(member);
    }

private:
    std::shared_ptr<MultipleOrvoSettingDeviceDiscoveryManager> lockOwner() {
        std::lock_guard guard(mutex_);
        return owner_.lock();
    }
    std::mutex mutex_;
    std::weak_ptr<MultipleOrvoSettingDeviceDiscoveryManager> owner_;
};

MultipleOrvoSettingDeviceDiscoveryManager::MultipleOrvoSettingDeviceDiscoveryManager(
    std::vector<std::shared_ptr<OrvoSettingDeviceDiscoveryManager>> managers)
    : managers_(std::move(managers)), memberDelegate_(std::make_shared<MemberDelegate>()),
      running_(std::make_shared<CompositeMemberSet>()) {}

MultipleOrvoSettingDeviceDiscoveryManager::~MultipleOrvoSettingDeviceDiscoveryManager() {
    if (isOperating())
        for (const auto& member : managers_) member->stopDiscovery();
}

void MultipleOrvoSettingDeviceDiscoveryManager::internalCheckAvailability() {
    for (const auto& member : managers_)
        if (auto* protocol = dynamic_cast<BaseOrvoSettingDeviceDiscoveryManagerProtocol*>(member.get()))
            protocol->internalCheckAvailability();
}

void MultipleOrvoSettingDeviceDiscoveryManager::memberDidFinish(OrvoSettingDeviceDiscoveryManager& member) {
    running_->didFinish(&member);
}

void MultipleOrvoSettingDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                       std::function<void()> completion) {
    auto self = std::static_pointer_cast<MultipleOrvoSettingDeviceDiscoveryManager>(shared_from_this());
    memberDelegate_->setOwner(self);
    startCompositeRun(std::weak_ptr<MultipleOrvoSettingDeviceDiscoveryManager>(self), running_, managers_, memberDelegate_, std::move(token),
                      std::move(completion));
}

std::shared_ptr<OrvoSettingDeviceDiscoveryManager> OrvoSettingDeviceDiscoveryManagerFactory::create(InterfaceType interfaceType) {
    const Log log(nullptr, "OrvoSettingDeviceDiscoveryManagerFactory", "create(interfaceType:)", __LINE__);
    log.writeIfLogging(std::to_string(static_cast<int>(interfaceType)));
    if (interfaceType == InterfaceType::bluetoothLE) return std::make_shared<BluetoothLEOrvoSettingDeviceDiscoveryManager>();
    raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::notSupportedInterface));
}

std::shared_ptr<OrvoSettingDeviceDiscoveryManager> OrvoSettingDeviceDiscoveryManagerFactory::create(
    const std::vector<InterfaceType>& interfaceTypes) {
    const Log log(nullptr, "OrvoSettingDeviceDiscoveryManagerFactory", "create(interfaceTypes:)", __LINE__);
    log.writeIfLogging("");
    if (interfaceTypes.empty())
        raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::interfaceIsNotSpecified));
    std::vector<InterfaceType> unique;
    for (auto t : interfaceTypes)
        if (std::find(unique.begin(), unique.end(), t) == unique.end()) unique.push_back(t);
    if (unique.size() == 1) return create(unique.front());
    std::vector<std::shared_ptr<OrvoSettingDeviceDiscoveryManager>> members;
    for (auto t : unique) members.push_back(create(t));
    return std::make_shared<MultipleOrvoSettingDeviceDiscoveryManager>(std::move(members));
}

}  // namespace Prelix10
