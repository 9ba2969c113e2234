#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

#include "prelix10/core/Log.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

namespace Prelix10 {

std::shared_ptr<OrvoDeviceDiscoveryManagerDelegate> BaseOrvoDeviceDiscoveryManager::delegate() const {
    std::lock_guard guard(delegateMutex_);
    return delegate_.lock();
}

void BaseOrvoDeviceDiscoveryManager::setDelegate(std::weak_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate) {
    std::lock_guard guard(delegateMutex_);
    delegate_ = std::move(delegate);
}

void BaseOrvoDeviceDiscoveryManager::startDiscovery() {
    Log(this, "startDiscovery()", __LINE__).writeIfLogging("");
    startOperation();
}

void BaseOrvoDeviceDiscoveryManager::stopDiscovery() {
    Log(this, "stopDiscovery()", __LINE__).writeIfLogging("");
    stopOperation();
}

void BaseOrvoDeviceDiscoveryManager::operationWillStart() {
    if (auto* protocol = dynamic_cast<BaseOrvoDeviceDiscoveryManagerProtocol*>(this)) protocol->internalCheckAvailability();
    std::lock_guard guard(cacheMutex_);
    printerCache_.clear();
}

void BaseOrvoDeviceDiscoveryManager::runOperation(std::function<void()> completion) {
    auto* protocol = dynamic_cast<BaseOrvoDeviceDiscoveryManagerProtocol*>(this);
    if (!protocol) {
        completion();
        return;
    }
    auto self = shared_from_this();
    protocol->internalStartDiscovery(cancellationToken(), [self, completion = std::move(completion)] {
        self->didFinishDiscovery();
        completion();
    });
}

bool BaseOrvoDeviceDiscoveryManager::isDuplicateLocked(const OrvoPrinter& printer) const {
    // LAN printers carry no accessory: the same identifier is the same printer.
    const auto settings = printer.connectionSettings();
    for (const auto& cached : printerCache_) {
        const auto other = cached->connectionSettings();
        if (other.identifier() == settings.identifier()) return true;
    }
    return false;
}

void BaseOrvoDeviceDiscoveryManager::didFindPrinter(std::shared_ptr<OrvoPrinter> printer,
                                                    const std::shared_ptr<CancellationToken>& token) {
    if (!printer || (token && token->isCancelled())) return;
    {
        std::lock_guard guard(cacheMutex_);
        if (isDuplicateLocked(*printer)) return;
        printerCache_.push_back(printer);
        if (printerCache_.size() > 65535) printerCache_.erase(printerCache_.begin());
    }
    Log(this, "didFindPrinter(printer:cancellationToken:)", __LINE__).writeIfLogging(printer->description());
    if (auto d = delegate()) d->managerDidFindPrinter(*this, printer);
}

void BaseOrvoDeviceDiscoveryManager::didFinishDiscovery() {
    Log(this, "didFinishDiscovery()", __LINE__).writeIfLogging("");
    if (auto d = delegate()) d->managerDidFinishDiscovery(*this);
}

std::size_t BaseOrvoDeviceDiscoveryManager::reportedCount() const {
    std::lock_guard guard(cacheMutex_);
    return printerCache_.size();
}

// Forwards the members' reports to the composite; holds it weakly so that no cycle keeps it alive.
class MultipleOrvoDeviceDiscoveryManager::MemberDelegate final : public OrvoDeviceDiscoveryManagerDelegate {
public:
    explicit MemberDelegate(MultipleOrvoDeviceDiscoveryManager* owner) : owner_(owner) {}
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        owner_->didFindPrinter(std::move(printer), owner_->cancellationToken());
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager& member) override { owner_->memberDidFinish(member); }

private:
    MultipleOrvoDeviceDiscoveryManager* owner_;
};

MultipleOrvoDeviceDiscoveryManager::MultipleOrvoDeviceDiscoveryManager(
    std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> managers)
    : managers_(std::move(managers)), memberDelegate_(std::make_shared<MemberDelegate>(this)) {}

void MultipleOrvoDeviceDiscoveryManager::internalCheckAvailability() {
    for (const auto& member : managers_)
        if (auto* protocol = dynamic_cast<BaseOrvoDeviceDiscoveryManagerProtocol*>(member.get()))
            protocol->internalCheckAvailability();
}

void MultipleOrvoDeviceDiscoveryManager::memberDidFinish(OrvoDeviceDiscoveryManager& member) {
    std::lock_guard guard(lock_);
    auto it = std::find(activeManagers_.begin(), activeManagers_.end(), &member);
    if (it != activeManagers_.end()) activeManagers_.erase(it);
    else earlyEnds_.push_back(&member);
}

void MultipleOrvoDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                std::function<void()> completion) {
    auto self = std::static_pointer_cast<MultipleOrvoDeviceDiscoveryManager>(shared_from_this());
    {
        std::lock_guard guard(lock_);
        activeManagers_.clear();
        earlyEnds_.clear();
    }
    GlobalQueue::async([self, token, completion = std::move(completion)] {
        std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> pending = self->managers_;
        while (!token->isCancelled() && !pending.empty()) {
            std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> failed;
            for (const auto& member : pending) {
                member->setDiscoveryTime(self->discoveryTime());
                member->setDelegate(self->memberDelegate_);
                try {
                    member->startDiscovery();
                    std::lock_guard guard(self->lock_);
                    auto early = std::find(self->earlyEnds_.begin(), self->earlyEnds_.end(), member.get());
                    if (early != self->earlyEnds_.end()) self->earlyEnds_.erase(early);
                    else self->activeManagers_.push_back(member.get());
                } catch (...) {
                    failed.push_back(member);
                }
            }
            pending = std::move(failed);
            if (!pending.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        bool told = false;
        for (;;) {
            {
                std::lock_guard guard(self->lock_);
                if (self->activeManagers_.empty()) break;
            }
            if (token->isCancelled() && !told) {
                told = true;
                for (const auto& member : self->managers_) member->stopDiscovery();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        completion();
    });
}

std::shared_ptr<OrvoDeviceDiscoveryManager> OrvoDeviceDiscoveryManagerFactory::create(InterfaceType interfaceType) {
    const Log log(nullptr, "OrvoDeviceDiscoveryManagerFactory", "create(interfaceType:)", __LINE__);
    log.writeIfLogging(std::to_string(static_cast<int>(interfaceType)));
    switch (interfaceType) {
        case InterfaceType::lan:
            return std::make_shared<LANOrvoDeviceDiscoveryManager>();
        case InterfaceType::bluetoothLE:
            return std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
        default:
            // The accessory and Bluetooth LE discoveries come with their transports.
            raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::notSupportedInterface));
    }
}

std::shared_ptr<OrvoDeviceDiscoveryManager> OrvoDeviceDiscoveryManagerFactory::create(
    const std::vector<InterfaceType>& interfaceTypes) {
    const Log log(nullptr, "OrvoDeviceDiscoveryManagerFactory", "create(interfaceTypes:)", __LINE__);
    if (interfaceTypes.empty())
        raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::interfaceIsNotSpecified));
    std::vector<InterfaceType> unique;
    for (auto t : interfaceTypes)
        if (std::find(unique.begin(), unique.end(), t) == unique.end()) unique.push_back(t);
    if (unique.size() == 1) return create(unique.front());
    std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> members;
    for (auto t : unique) members.push_back(create(t));
    return std::make_shared<MultipleOrvoDeviceDiscoveryManager>(std::move(members));
}

std::shared_ptr<OrvoDeviceDiscoveryManager> OrvoDeviceDiscoveryManagerFactory::create(
    const std::vector<int>& interfaceTypes) {
    std::vector<InterfaceType> types;
    for (int n : interfaceTypes)
        if (n >= 0 && n <= 4) types.push_back(static_cast<InterfaceType>(n));
    return create(types);
}

}  // namespace Prelix10
