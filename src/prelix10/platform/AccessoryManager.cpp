#include "prelix10/platform/AccessoryManager.hpp"

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

std::shared_ptr<AccessoryManager> AccessoryBackend::manager() {
    std::lock_guard lock(mutex());
    if (!slot()) slot() = std::make_shared<NoAccessoryManager>();
    return slot();
}

}  // namespace Prelix10
