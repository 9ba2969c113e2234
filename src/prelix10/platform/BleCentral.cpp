#include "prelix10/platform/BleCentral.hpp"

#include <sys/stat.h>

#include <cctype>
#include <cstdlib>

#include "prelix10/platform/BlueZBleCentral.hpp"
#include "prelix10/platform/DBusConnection.hpp"

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

// The default when nothing was installed: BlueZ on the system bus, when its socket is there.
std::shared_ptr<BleCentral> defaultCentral() {
    const char* choice = std::getenv("PRELIX10_BLE_BACKEND");
    if (choice && std::string(choice) == "none") return std::make_shared<NoBleCentral>();
    const std::string address = DBusConnection::systemBusAddress();
    const std::string prefix = "unix:path=";
    if (address.rfind(prefix, 0) == 0) {
        std::string path = address.substr(prefix.size());
        path = path.substr(0, path.find(','));
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) return std::make_shared<NoBleCentral>();
    }
    BlueZBleCentral::Options options;
    options.busAddress = address;
    return BlueZBleCentral::make(options);
}

bool& installed() {
    static bool chosen = false;
    return chosen;
}

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
    installed() = true;
    slot() = std::move(central);
}

std::shared_ptr<BleCentral> BleBackend::central() {
    std::lock_guard lock(mutex());
    if (!slot()) {
        slot() = installed() ? std::make_shared<NoBleCentral>() : defaultCentral();
        installed() = true;
    }
    return slot();
}

}  // namespace Prelix10
