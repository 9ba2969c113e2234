#include "prelix10/platform/BleCentral.hpp"

#include <cctype>

namespace Prelix10 {

BleUuid normalizedBleUuid(const std::string& text) {
    BleUuid out = text;
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

namespace {

// Stands in when no stack is installed: no radio, nothing found, nothing connects.
class NoBleCentral final : public BleCentral {
public:
    BleManagerState state() const override { return BleManagerState::unsupported; }
    void setDelegate(std::weak_ptr<BleCentralDelegate>) override {}
    bool isScanning() const override { return false; }
    void scan(const std::optional<std::vector<BleUuid>>&, bool) override {}
    void stopScan() override {}
    void connect(const std::shared_ptr<BlePeripheral>&, const std::optional<BleConnectOptions>&) override {}
    void cancelConnection(const std::shared_ptr<BlePeripheral>&) override {}
};

}  // namespace

// Never destroyed, so that a port closed by a static destructor at exit still finds the stack.
std::mutex& BleBackend::mutex() {
    static auto* m = new std::mutex();
    return *m;
}

std::shared_ptr<BleCentral>& BleBackend::slot() {
    static auto* central = new std::shared_ptr<BleCentral>();
    return *central;
}

void BleBackend::install(std::shared_ptr<BleCentral> central) {
    std::lock_guard lock(mutex());
    slot() = std::move(central);
}

std::shared_ptr<BleCentral> BleBackend::central() {
    std::lock_guard lock(mutex());
    if (!slot()) slot() = std::make_shared<NoBleCentral>();
    return slot();
}

}  // namespace Prelix10
