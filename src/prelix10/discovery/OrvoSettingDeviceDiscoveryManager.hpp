#pragma once

#include "prelix10/core/Export.hpp"
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/core/InterfaceType.hpp"

namespace Prelix10 {
class CompositeMemberSet;

class OrvoSettingDevice;
class OrvoSettingDeviceDiscoveryManager;

// Receives the setting devices a discovery finds (not opened) and the end of each run, on the discovery's
// worker threads.
class PRELIX10_EXPORT OrvoSettingDeviceDiscoveryManagerDelegate {
public:
    virtual ~OrvoSettingDeviceDiscoveryManagerDelegate() = default;
    virtual void managerDidFind(OrvoSettingDeviceDiscoveryManager& manager, std::shared_ptr<OrvoSettingDevice> device) = 0;
    virtual void managerDidFinishDiscovery(OrvoSettingDeviceDiscoveryManager& manager) = 0;
};

// A discovery of the devices that offer the wireless LAN setting service.
class PRELIX10_EXPORT OrvoSettingDeviceDiscoveryManager {
public:
    virtual ~OrvoSettingDeviceDiscoveryManager() = default;
    // Held weakly.
    virtual std::shared_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate() const = 0;
    virtual void setDelegate(std::weak_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate) = 0;
    // Milliseconds after which a run ends by itself; -1 (the default) for no limit.
    virtual std::int64_t discoveryTime() const = 0;
    virtual void setDiscoveryTime(std::int64_t milliseconds) = 0;
    // When on, a device found again in the same run is reported again. Off by default.
    virtual bool isEnabledFindSameDevice() const = 0;
    virtual void setIsEnabledFindSameDevice(bool enabled) = 0;
    virtual void startDiscovery() = 0;
    virtual void stopDiscovery() = 0;
};

// What an interface's discovery supplies to the base class.
class PRELIX10_EXPORT BaseOrvoSettingDeviceDiscoveryManagerProtocol {
public:
    virtual ~BaseOrvoSettingDeviceDiscoveryManagerProtocol() = default;
    virtual void internalCheckAvailability() = 0;
    // Starts a run that reports through didFindSettingDevice and calls completion once when it has ended.
    virtual void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) = 0;
};

// Start, stop, the delegate, the duplicate filter and the end report shared by every setting-device discovery.
// Derived classes are made through std::make_shared. A run holds its manager weakly: dropping the last
// reference to a manager stops its run.
class PRELIX10_EXPORT BaseOrvoSettingDeviceDiscoveryManager : public OrvoSettingDeviceDiscoveryManager,
                                              public Cancelable,
                                              public CancelableProtocol,
                                              public std::enable_shared_from_this<BaseOrvoSettingDeviceDiscoveryManager> {
public:
    ~BaseOrvoSettingDeviceDiscoveryManager() override;
    std::shared_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate() const override;
    void setDelegate(std::weak_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate) override;
    std::int64_t discoveryTime() const override { return cancelTime(); }
    void setDiscoveryTime(std::int64_t milliseconds) override { setCancelTime(milliseconds); }
    bool isEnabledFindSameDevice() const override { return findSameDevice_.load(); }
    void setIsEnabledFindSameDevice(bool enabled) override { findSameDevice_.store(enabled); }
    void startDiscovery() override;
    void stopDiscovery() override;

    // Reports a device unless the run is cancelled, or it was already reported in this run and repeats are
    // off. The duplicate check and the entry into the cache are one step.
    virtual void didFindSettingDevice(std::shared_ptr<OrvoSettingDevice> settingDevice,
                                      const std::shared_ptr<CancellationToken>& token);
    virtual void didFinishDiscovery();
    // Devices reported in this run, repeats included.
    std::vector<std::shared_ptr<OrvoSettingDevice>> settingDeviceCache() const;

    void operationWillStart() override;
    void runOperation(std::function<void()> completion) override;

protected:
    // Bluetooth LE setting devices carry no accessory: the same identifier is the same device.
    bool isDuplicateLocked(const OrvoSettingDevice& settingDevice) const;

private:
    std::atomic<bool> findSameDevice_{false};
    mutable std::mutex delegateMutex_;
    std::weak_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> delegate_;
    mutable std::mutex cacheMutex_;
    std::vector<std::shared_ptr<OrvoSettingDevice>> settingDeviceCache_;
};

// Several setting-device discoveries run as one: one duplicate filter, one end report after every member has
// ended. Made only by the factory.
class PRELIX10_EXPORT MultipleOrvoSettingDeviceDiscoveryManager final : public BaseOrvoSettingDeviceDiscoveryManager,
                                                        public BaseOrvoSettingDeviceDiscoveryManagerProtocol {
public:
    explicit MultipleOrvoSettingDeviceDiscoveryManager(std::vector<std::shared_ptr<OrvoSettingDeviceDiscoveryManager>> managers);
    ~MultipleOrvoSettingDeviceDiscoveryManager() override;
    const std::vector<std::shared_ptr<OrvoSettingDeviceDiscoveryManager>>& managers() const { return managers_; }

    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

private:
    class MemberDelegate;
    void memberDidFinish(OrvoSettingDeviceDiscoveryManager& member);

    const std::vector<std::shared_ptr<OrvoSettingDeviceDiscoveryManager>> managers_;
    std::shared_ptr<MemberDelegate> memberDelegate_;
    std::shared_ptr<CompositeMemberSet> running_;
};

class PRELIX10_EXPORT OrvoSettingDeviceDiscoveryManagerFactory {
public:
    // Only Bluetooth LE: any other type fails with "Not Supported interface." (argument).
    static std::shared_ptr<OrvoSettingDeviceDiscoveryManager> create(InterfaceType interfaceType);
    // Repeats are dropped keeping the first; one type left gives its manager, several a composite; an empty list
    // fails with "Interface is not specified." (argument).
    static std::shared_ptr<OrvoSettingDeviceDiscoveryManager> create(const std::vector<InterfaceType>& interfaceTypes);
};

}  // namespace Prelix10
