// The C face of the setting-device discovery.

#include <vector>

#include "prelix10/capi/CApiSupport.hpp"
#include "prelix10/capi/SettingFaceHandles.hpp"
#include "prelix10/capi/prelix10.h"
#include "prelix10/core/InterfaceType.hpp"
#include "prelix10/discovery/OrvoSettingDeviceDiscoveryManager.hpp"

using namespace Prelix10;
using namespace Prelix10::CApi;

namespace {

using ManagerHandle = prelix10_setting_device_discovery_manager;

// The app's table of discovery events behind the native delegate; fixed when made.
class DiscoveryDelegateTable final : public OrvoSettingDeviceDiscoveryManagerDelegate {
  public:
    DiscoveryDelegateTable(const prelix10_setting_device_discovery_delegate& table, void* context,
                           std::weak_ptr<OrvoSettingDeviceDiscoveryManager> manager)
        : table_(table), context_(context), manager_(std::move(manager)) {}

    void managerDidFind(OrvoSettingDeviceDiscoveryManager&,
                        std::shared_ptr<OrvoSettingDevice> device) override {
        if (table_.manager_did_find == nullptr || !device) return;
        // A manager already on its way out reports nothing more.
        auto manager = manager_.lock();
        if (!manager) return;
        prelix10_setting_device* owned = nullptr;
        try {
            owned = newHandle<prelix10_setting_device>(std::move(device));
        } catch (...) {
            return;
        }
        LentHandle<ManagerHandle> lent(std::move(manager));
        callOut([&] { table_.manager_did_find(context_, lent.get(), owned); });
    }
    void managerDidFinishDiscovery(OrvoSettingDeviceDiscoveryManager&) override {
        if (table_.manager_did_finish_discovery == nullptr) return;
        auto manager = manager_.lock();
        if (!manager) return;
        LentHandle<ManagerHandle> lent(std::move(manager));
        callOut([&] { table_.manager_did_finish_discovery(context_, lent.get()); });
    }

  private:
    const prelix10_setting_device_discovery_delegate table_;
    void* const context_;
    const std::weak_ptr<OrvoSettingDeviceDiscoveryManager> manager_;
};

OrvoSettingDeviceDiscoveryManager& managerOf(const ManagerHandle* handle) {
    return *checked(handle, "manager").manager;
}

}  // namespace

extern "C" {

int prelix10_setting_device_discovery_manager_create(const int* interface_types, size_t count,
                                                     prelix10_setting_device_discovery_manager** manager,
                                                     prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(manager, "manager");
        out = nullptr;
        if (interface_types == nullptr && count != 0)
            throw argumentError("Invalid argument: interface_types.");
        std::vector<InterfaceType> types;
        types.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            types.push_back(static_cast<InterfaceType>(interface_types[i]));
        auto object = OrvoSettingDeviceDiscoveryManagerFactory::create(types);
        out = newHandle<ManagerHandle>(std::move(object));
    });
}

void prelix10_setting_device_discovery_manager_release(prelix10_setting_device_discovery_manager* manager) {
    releaseOwnedHandle(manager);
}

int prelix10_setting_device_discovery_manager_set_delegate(
    prelix10_setting_device_discovery_manager* manager,
    const prelix10_setting_device_discovery_delegate* delegate, void* context, prelix10_error** error) {
    return guarded(error, [&] {
        auto& handle = checked(manager, "manager");
        std::shared_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> table;
        if (delegate != nullptr)
            table = std::make_shared<DiscoveryDelegateTable>(*delegate, context, handle.manager);
        std::shared_ptr<OrvoSettingDeviceDiscoveryManagerDelegate> previous;
        std::lock_guard guard(handle.delegateMutex);
        handle.manager->setDelegate(table);
        previous = std::exchange(handle.delegate, table);
    });
}

int prelix10_setting_device_discovery_manager_discovery_time(
    const prelix10_setting_device_discovery_manager* manager, int64_t* milliseconds, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(milliseconds, "milliseconds");
        out = managerOf(manager).discoveryTime();
    });
}

int prelix10_setting_device_discovery_manager_set_discovery_time(
    prelix10_setting_device_discovery_manager* manager, int64_t milliseconds, prelix10_error** error) {
    return guarded(error, [&] { managerOf(manager).setDiscoveryTime(milliseconds); });
}

int prelix10_setting_device_discovery_manager_is_enabled_find_same_device(
    const prelix10_setting_device_discovery_manager* manager, int* enabled, prelix10_error** error) {
    return guarded(error, [&] {
        auto& out = required(enabled, "enabled");
        out = managerOf(manager).isEnabledFindSameDevice() ? 1 : 0;
    });
}

int prelix10_setting_device_discovery_manager_set_is_enabled_find_same_device(
    prelix10_setting_device_discovery_manager* manager, int enabled, prelix10_error** error) {
    return guarded(error, [&] { managerOf(manager).setIsEnabledFindSameDevice(enabled != 0); });
}

int prelix10_setting_device_discovery_manager_start_discovery(
    prelix10_setting_device_discovery_manager* manager, prelix10_error** error) {
    return guarded(error, [&] {
        // The run may outlive this call's handle; the object is held while it starts.
        auto object = checked(manager, "manager").manager;
        object->startDiscovery();
    });
}

int prelix10_setting_device_discovery_manager_stop_discovery(
    prelix10_setting_device_discovery_manager* manager, prelix10_error** error) {
    return guarded(error, [&] {
        auto object = checked(manager, "manager").manager;
        object->stopDiscovery();
    });
}

}  // extern "C"
