#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"

#include <algorithm>
#include <chrono>
#include <thread>

#include "prelix10/core/Log.hpp"
#include "prelix10/discovery/CompositeMemberSet.hpp"
#include "prelix10/discovery/BluetoothLEOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/BluetoothOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/USBOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/platform/DispatchQueue.hpp"
#include "prelix10/printer/OrvoPrinter.hpp"

namespace Prelix10 {

BaseOrvoDeviceDiscoveryManager::~BaseOrvoDeviceDiscoveryManager() {
    // The run shares the token: it sees the flag at its next poll and ends.
    stopOperation();
}

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
    std::weak_ptr<BaseOrvoDeviceDiscoveryManager> weak = weak_from_this();
    protocol->internalStartDiscovery(cancellationToken(), [weak, completion = std::move(completion)] {
        if (auto self = weak.lock()) self->didFinishDiscovery();
        completion();
    });
}

namespace {

struct AccessoryConnection {
    std::shared_ptr<Accessory> accessory;
    std::optional<std::uint64_t> connectionID;
};

AccessoryConnection accessoryOf(const OrvoPrinter& printer) {
    const auto information = printer.informationRecord();
    if (!information || !information->eaAccessory) return {};
    return {information->eaAccessory, information->eaAccessoryConnectionID};
}

}  // namespace

bool BaseOrvoDeviceDiscoveryManager::isDuplicateLocked(const OrvoPrinter& printer) const {
    // The same identifier and the same accessory connection (none for LAN and Bluetooth LE printers) is the
    // same printer; an accessory that came back under a new connection ID is still known by its serial
    // number on the same interface.
    const auto settings = printer.connectionSettings();
    const auto mine = accessoryOf(printer);
    for (const auto& cached : printerCache_) {
        const auto other = cached->connectionSettings();
        if (other.identifier() != settings.identifier()) continue;
        const auto theirs = accessoryOf(*cached);
        if (mine.connectionID == theirs.connectionID) return true;
        if (other.interfaceType() == settings.interfaceType() && mine.accessory &&
            !mine.accessory->serialNumber().empty() && theirs.accessory &&
            theirs.accessory->serialNumber() == mine.accessory->serialNumber()) {
            return true;
        }
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

// Forwards the members' reports to the composite; holds it weakly so that no cycle keeps it alive and a
// member's report after the composite has gone reaches nobody.
class MultipleOrvoDeviceDiscoveryManager::MemberDelegate final : public OrvoDeviceDiscoveryManagerDelegate {
public:
    void setOwner(std::weak_ptr<MultipleOrvoDeviceDiscoveryManager> owner) {
        std::lock_guard guard(mutex_);
        owner_ = std::move(owner);
    }
    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        if (auto owner = lockOwner()) owner->didFindPrinter(std::move(printer), owner->cancellationToken());
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager& member) override {
        if (auto owner = lockOwner()) owner->memberDidFinish(member);
    }

private:
    std::shared_ptr<MultipleOrvoDeviceDiscoveryManager> lockOwner() {
        std::lock_guard guard(mutex_);
        return owner_.lock();
    }
    std::mutex mutex_;
    std::weak_ptr<MultipleOrvoDeviceDiscoveryManager> owner_;
};

MultipleOrvoDeviceDiscoveryManager::MultipleOrvoDeviceDiscoveryManager(
    std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> managers)
    : managers_(std::move(managers)), memberDelegate_(std::make_shared<MemberDelegate>()),
      running_(std::make_shared<CompositeMemberSet>()) {}

MultipleOrvoDeviceDiscoveryManager::~MultipleOrvoDeviceDiscoveryManager() {
    // Members that others still hold would run on; this composite's run takes them with it.
    if (isOperating())
        for (const auto& member : managers_) member->stopDiscovery();
}

void MultipleOrvoDeviceDiscoveryManager::internalCheckAvailability() {
    for (const auto& member : managers_)
        if (auto* protocol = dynamic_cast<BaseOrvoDeviceDiscoveryManagerProtocol*>(member.get()))
            protocol->internalCheckAvailability();
}

void MultipleOrvoDeviceDiscoveryManager::memberDidFinish(OrvoDeviceDiscoveryManager& member) {
    running_->didFinish(&member);
}

void MultipleOrvoDeviceDiscoveryManager::internalStartDiscovery(std::shared_ptr<CancellationToken> token,
                                                                std::function<void()> completion) {
    auto self = std::static_pointer_cast<MultipleOrvoDeviceDiscoveryManager>(shared_from_this());
    memberDelegate_->setOwner(self);
    startCompositeRun(std::weak_ptr<MultipleOrvoDeviceDiscoveryManager>(self), running_, managers_, memberDelegate_, std::move(token),
                      std::move(completion));
}

std::shared_ptr<OrvoDeviceDiscoveryManager> OrvoDeviceDiscoveryManagerFactory::create(InterfaceType interfaceType) {
    const Log log(nullptr, "OrvoDeviceDiscoveryManagerFactory", "create(interfaceType:)", __LINE__);
    log.writeIfLogging(std::to_string(static_cast<int>(interfaceType)));
    switch (interfaceType) {
        case InterfaceType::lan:
            return std::make_shared<LANOrvoDeviceDiscoveryManager>();
        case InterfaceType::bluetoothLE:
            return std::make_shared<BluetoothLEOrvoDeviceDiscoveryManager>();
        case InterfaceType::usb:
            return std::make_shared<USBOrvoDeviceDiscoveryManager>();
        case InterfaceType::bluetooth:
            return std::make_shared<BluetoothOrvoDeviceDiscoveryManager>();
        default:
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
