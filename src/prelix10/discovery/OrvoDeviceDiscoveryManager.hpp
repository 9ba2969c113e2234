#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "prelix10/core/Cancellation.hpp"
#include "prelix10/core/InterfaceType.hpp"

namespace Prelix10 {
class CompositeMemberSet;

class OrvoPrinter;
class OrvoDeviceDiscoveryManager;

// Receives the printers a discovery finds and the end of each run, on the discovery's worker threads.
class PRELIX10_EXPORT OrvoDeviceDiscoveryManagerDelegate {
public:
    virtual ~OrvoDeviceDiscoveryManagerDelegate() = default;
    virtual void managerDidFindPrinter(OrvoDeviceDiscoveryManager& manager, std::shared_ptr<OrvoPrinter> printer) = 0;
    virtual void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager& manager) = 0;
};

// A discovery of printers over one or several interfaces.
class PRELIX10_EXPORT OrvoDeviceDiscoveryManager {
public:
    virtual ~OrvoDeviceDiscoveryManager() = default;
    // Held weakly.
    virtual std::shared_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate() const = 0;
    virtual void setDelegate(std::weak_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate) = 0;
    // Milliseconds after which a run ends by itself; -1 (the default) for no limit.
    virtual std::int64_t discoveryTime() const = 0;
    virtual void setDiscoveryTime(std::int64_t milliseconds) = 0;
    virtual void startDiscovery() = 0;
    virtual void stopDiscovery() = 0;
};

// What an interface's discovery supplies to the base class.
class PRELIX10_EXPORT BaseOrvoDeviceDiscoveryManagerProtocol {
public:
    virtual ~BaseOrvoDeviceDiscoveryManagerProtocol() = default;
    virtual void internalCheckAvailability() = 0;
    // Starts a run that reports through didFindPrinter and calls completion once when it has ended.
    virtual void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) = 0;
};

// Start, stop, the delegate, the duplicate filter and the end report shared by every discovery. Derived
// classes are made through std::make_shared. A run holds its manager weakly: dropping the last reference to
// a manager stops its run (the run then ends without an end report, as nobody is left to receive it).
class PRELIX10_EXPORT BaseOrvoDeviceDiscoveryManager : public OrvoDeviceDiscoveryManager,
                                       public Cancelable,
                                       public CancelableProtocol,
                                       public std::enable_shared_from_this<BaseOrvoDeviceDiscoveryManager> {
public:
    ~BaseOrvoDeviceDiscoveryManager() override;
    std::shared_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate() const override;
    void setDelegate(std::weak_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate) override;
    std::int64_t discoveryTime() const override { return cancelTime(); }
    void setDiscoveryTime(std::int64_t milliseconds) override { setCancelTime(milliseconds); }
    void startDiscovery() override;
    void stopDiscovery() override;

    // Reports a printer unless it is a duplicate of this run or the run is cancelled. The duplicate check
    // and the entry into the cache are one step, so two threads never report the same printer twice.
    virtual void didFindPrinter(std::shared_ptr<OrvoPrinter> printer, const std::shared_ptr<CancellationToken>& token);
    virtual void didFinishDiscovery();
    std::size_t reportedCount() const;

    void operationWillStart() override;
    void runOperation(std::function<void()> completion) override;

protected:
    bool isDuplicateLocked(const OrvoPrinter& printer) const;

private:
    mutable std::mutex delegateMutex_;
    std::weak_ptr<OrvoDeviceDiscoveryManagerDelegate> delegate_;
    mutable std::mutex cacheMutex_;
    std::vector<std::shared_ptr<OrvoPrinter>> printerCache_;
};

// Several discoveries run as one: one duplicate filter, one end report after every member has ended.
class PRELIX10_EXPORT MultipleOrvoDeviceDiscoveryManager final : public BaseOrvoDeviceDiscoveryManager,
                                                 public BaseOrvoDeviceDiscoveryManagerProtocol {
public:
    explicit MultipleOrvoDeviceDiscoveryManager(std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> managers);
    // Stops the members' runs.
    ~MultipleOrvoDeviceDiscoveryManager() override;
    const std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>>& managers() const { return managers_; }

    void internalCheckAvailability() override;
    void internalStartDiscovery(std::shared_ptr<CancellationToken> token, std::function<void()> completion) override;

private:
    class MemberDelegate;
    void memberDidFinish(OrvoDeviceDiscoveryManager& member);

    const std::vector<std::shared_ptr<OrvoDeviceDiscoveryManager>> managers_;
    std::shared_ptr<MemberDelegate> memberDelegate_;
    std::shared_ptr<CompositeMemberSet> running_;
};

class PRELIX10_EXPORT OrvoDeviceDiscoveryManagerFactory {
public:
    static std::shared_ptr<OrvoDeviceDiscoveryManager> create(InterfaceType interfaceType);
    static std::shared_ptr<OrvoDeviceDiscoveryManager> create(const std::vector<InterfaceType>& interfaceTypes);
    // Numbers outside 0 to 4 are dropped.
    static std::shared_ptr<OrvoDeviceDiscoveryManager> create(const std::vector<int>& interfaceTypes);
};

}  // namespace Prelix10
