#include <optional>
#include <vector>

#include "prelix10/capi/CApiHandles.hpp"
#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/discovery/LANOrvoDeviceDiscoveryManager.hpp"
#include "prelix10/discovery/OrvoDeviceDiscoveryManager.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

// Forwards a discovery's events to the application's C table.
class DiscoveryDelegateBridge final : public OrvoDeviceDiscoveryManagerDelegate {
  public:
    void adopt(prelix10_discovery* handle) noexcept { handle_ = handle; }
    CallbackTable<prelix10_discovery_delegate> table;

    void managerDidFindPrinter(OrvoDeviceDiscoveryManager&, std::shared_ptr<OrvoPrinter> printer) override {
        table.invoke([&](const prelix10_discovery_delegate& t) {
            if (t.did_find_printer == nullptr || !printer) return;
            // The application owns the new handle from here on.
            prelix10_printer* found = newHandle<prelix10_printer>(std::move(printer));
            t.did_find_printer(t.context, handle_, found);
        });
    }
    void managerDidFinishDiscovery(OrvoDeviceDiscoveryManager&) override {
        table.invoke([&](const prelix10_discovery_delegate& t) {
            if (t.did_finish_discovery != nullptr) t.did_finish_discovery(t.context, handle_);
        });
    }

  private:
    prelix10_discovery* handle_ = nullptr;
};

}  // namespace

struct prelix10_discovery {
    explicit prelix10_discovery(std::shared_ptr<OrvoDeviceDiscoveryManager> object)
        : manager(std::move(object)), bridge(std::make_shared<DiscoveryDelegateBridge>()) {}
    // Events name the discovery by its handle.
    void adopt(prelix10_discovery* id) noexcept { bridge->adopt(id); }
    ~prelix10_discovery() {
        bridge->table.set(nullptr);
        try {
            manager->stopDiscovery();
        } catch (...) {
        }
    }
    std::shared_ptr<OrvoDeviceDiscoveryManager> manager;
    std::shared_ptr<DiscoveryDelegateBridge> bridge;
};

namespace {
OrvoDeviceDiscoveryManager& managerOf(prelix10_discovery* handle) {
    return *checked(handle, "discovery").manager;
}
}  // namespace

extern "C" {

prelix10_discovery* prelix10_discovery_create(const int* interface_types, size_t count,
                                              prelix10_error** error) {
    return guardedValue<prelix10_discovery*>(error, nullptr, [&] {
        if (interface_types == nullptr || count == 0)
            throw argumentError("Invalid argument: interface_types.");
        std::vector<InterfaceType> types;
        for (size_t i = 0; i < count; ++i) {
            const auto type = InterfaceTypes::fromRawValue(interface_types[i]);
            if (!type || *type == InterfaceType::unknown)
                throw argumentError("Invalid argument: interface_types.");
            types.push_back(*type);
        }
        auto manager = types.size() == 1 ? OrvoDeviceDiscoveryManagerFactory::create(types.front())
                                         : OrvoDeviceDiscoveryManagerFactory::create(types);
        if (!manager) throw argumentError("Invalid argument: interface_types.");
        return newHandle<prelix10_discovery>(std::move(manager));
    });
}

void prelix10_discovery_release(prelix10_discovery* discovery) {
    releaseHandle(discovery);
}

int prelix10_discovery_set_delegate(prelix10_discovery* discovery,
                                    const prelix10_discovery_delegate* delegate, prelix10_error** error) {
    return guarded(error, [&] {
        auto& handle = checked(discovery, "discovery");
        if (delegate == nullptr) {
            handle.manager->setDelegate({});
            handle.bridge->table.set(nullptr);
            return;
        }
        handle.bridge->table.set(delegate);
        handle.manager->setDelegate(handle.bridge);
    });
}

int prelix10_discovery_set_time(prelix10_discovery* discovery, int64_t milliseconds, prelix10_error** error) {
    return guarded(error, [&] { managerOf(discovery).setDiscoveryTime(milliseconds); });
}

int prelix10_discovery_get_time(const prelix10_discovery* discovery, int64_t* milliseconds,
                                prelix10_error** error) {
    return guarded(error, [&] {
        auto& manager = managerOf(const_cast<prelix10_discovery*>(discovery));
        if (milliseconds == nullptr) throw argumentError("Invalid argument: milliseconds is NULL.");
        *milliseconds = manager.discoveryTime();
    });
}

int prelix10_discovery_start(prelix10_discovery* discovery, prelix10_error** error) {
    return guarded(error, [&] { managerOf(discovery).startDiscovery(); });
}

int prelix10_discovery_stop(prelix10_discovery* discovery, prelix10_error** error) {
    return guarded(error, [&] { managerOf(discovery).stopDiscovery(); });
}

int prelix10_lan_use_loopback(uint16_t data_port, uint16_t status_port, uint16_t discovery_port,
                              prelix10_error** error) {
    return guarded(error, [&] {
        auto ports = NetworkPortSettings::ports();
        if (data_port != 0) ports.data = data_port;
        if (status_port != 0) ports.status = status_port;
        if (discovery_port != 0) ports.discovery = discovery_port;
        LANOrvoDeviceDiscoveryManager::useLoopback(ports);
    });
}

}  // extern "C"
