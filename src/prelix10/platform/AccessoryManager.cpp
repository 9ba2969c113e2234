#include "prelix10/platform/AccessoryManager.hpp"

#include <cstdlib>

#include "prelix10/platform/SystemAccessoryBackend.hpp"

namespace Prelix10 {

namespace {

// Stands in when no backend is installed: nothing is connected, nothing opens.
class NoAccessoryManager final : public AccessoryManager {
public:
    std::vector<std::shared_ptr<Accessory>> connectedAccessories() const override { return {}; }
    std::shared_ptr<AccessorySession> openSession(const std::shared_ptr<Accessory>&, const std::string&) override {
        return nullptr;
    }
    void setObserver(std::weak_ptr<AccessoryManagerObserver>) override {}
};

}  // namespace

// Never destroyed, so that a port closed by a static destructor at exit still finds its backend.
std::mutex& AccessoryBackend::mutex() {
    static auto* m = new std::mutex();
    return *m;
}

std::shared_ptr<AccessoryManager>& AccessoryBackend::slot() {
    static auto* manager = new std::shared_ptr<AccessoryManager>();
    return *manager;
}

void AccessoryBackend::install(std::shared_ptr<AccessoryManager> manager) {
    std::lock_guard lock(mutex());
    slot() = std::move(manager);
}

namespace {

// The backend the environment names, made the first time a manager is asked for.
std::shared_ptr<AccessoryManager> environmentBackend() {
    const char* name = std::getenv("PRELIX10_ACCESSORY_BACKEND");
    if (!name) return nullptr;
    const auto choice = accessoryBackendChoiceNamed(name);
    if (!choice) return nullptr;
    // The Bluetooth source reads PRELIX10_BLUETOOTH_MANUFACTURER itself, on every path.
    return makeSystemAccessoryManager(*choice);
}

}  // namespace

void AccessoryBackend::select(AccessoryBackendChoice choice) {
    auto manager = makeSystemAccessoryManager(choice);
    std::lock_guard lock(mutex());
    slot() = std::move(manager);
}

std::shared_ptr<AccessoryManager> AccessoryBackend::manager() {
    std::lock_guard lock(mutex());
    if (!slot()) slot() = environmentBackend();
    if (!slot()) slot() = std::make_shared<NoAccessoryManager>();
    return slot();
}

}  // namespace Prelix10
