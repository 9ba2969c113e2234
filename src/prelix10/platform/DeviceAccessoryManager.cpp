#include "prelix10/platform/DeviceAccessoryManager.hpp"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <condition_variable>
#include <mutex>

#include "prelix10/core/Prelix10Error.hpp"
#include "prelix10/platform/FileDescriptorAccessoryLink.hpp"

namespace Prelix10 {

namespace {
std::atomic<std::uint64_t> nextConnectionID{1};
}  // namespace

std::vector<std::string> printerProtocolStringsFor(const std::string& manufacturer) {
    std::string label;
    for (const char c : manufacturer) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) && byte < 0x80) label.push_back(static_cast<char>(std::tolower(byte)));
    }
    if (label.empty()) return {};
    return {"com." + label + ".printer"};
}

class DeviceAccessoryManager::DeviceAccessory final : public Accessory {
public:
    explicit DeviceAccessory(DeviceAccessoryRecord record)
        : record_(std::move(record)), connectionID_(nextConnectionID++) {}

    std::uint64_t connectionID() const override { return connectionID_; }
    bool isConnected() const override { return connected_; }
    std::string manufacturer() const override { return record_.manufacturer; }
    std::string name() const override { return record_.name; }
    std::string modelNumber() const override { return record_.modelNumber; }
    std::string serialNumber() const override {
        return record_.serialNumber.empty() ? record_.location : record_.serialNumber;
    }
    std::vector<std::string> protocolStrings() const override { return record_.protocolStrings; }
    EAAccessoryType transportType() const override { return record_.transport; }
    bool isBoundTerminal() const override {
        return record_.transport == EAAccessoryType::bluetooth && !record_.target.empty() && record_.target.front() == '/';
    }

    const DeviceAccessoryRecord& record() const { return record_; }

    void addSession(const std::shared_ptr<AccessorySession>& session) {
        {
            std::lock_guard lock(mutex_);
            if (connected_) {
                std::erase_if(sessions_, [](const auto& weak) { return weak.expired(); });
                sessions_.push_back(session);
                return;
            }
        }
        // Gone while the session was being opened.
        FileDescriptorAccessoryLink::endSession(session);
    }
    void disconnect() {
        std::vector<std::shared_ptr<AccessorySession>> sessions;
        {
            std::lock_guard lock(mutex_);
            connected_ = false;
            for (const auto& weak : sessions_) {
                if (auto session = weak.lock()) sessions.push_back(std::move(session));
            }
            sessions_.clear();
        }
        for (const auto& session : sessions) FileDescriptorAccessoryLink::endSession(session);
    }

private:
    const DeviceAccessoryRecord record_;
    const std::uint64_t connectionID_;
    std::atomic<bool> connected_{true};
    std::mutex mutex_;
    std::vector<std::weak_ptr<AccessorySession>> sessions_;
};

struct DeviceAccessoryManager::Core {
    struct Entry {
        std::shared_ptr<DeviceAccessory> accessory;
        std::size_t source = 0;
    };

    Core(std::vector<std::shared_ptr<DeviceAccessorySource>> s, std::chrono::milliseconds interval)
        : sources(std::move(s)), interval(interval) {}

    void rescan();
    void run();

    const std::vector<std::shared_ptr<DeviceAccessorySource>> sources;
    const std::chrono::milliseconds interval;

    std::mutex scanMutex;  // one scan at a time
    std::mutex mutex;
    std::vector<Entry> entries;  // in the order they were found
    std::weak_ptr<AccessoryManagerObserver> observer;
    bool stop = false;
    std::condition_variable wake;
};

DeviceAccessoryManager::DeviceAccessoryManager(std::vector<std::shared_ptr<DeviceAccessorySource>> sources,
                                               std::chrono::milliseconds rescanInterval)
    : core_(std::make_shared<Core>(std::move(sources),
                                   std::clamp(rescanInterval, std::chrono::milliseconds(1), kMaxRescanInterval))) {
    core_->rescan();
    thread_ = std::thread([core = core_] { core->run(); });
}

DeviceAccessoryManager::~DeviceAccessoryManager() {
    {
        std::lock_guard lock(core_->mutex);
        core_->stop = true;
    }
    core_->wake.notify_all();
    if (!thread_.joinable()) return;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
    } else {
        thread_.join();
    }
}

void DeviceAccessoryManager::Core::run() {
    std::unique_lock lock(mutex);
    while (!stop) {
        wake.wait_for(lock, interval, [this] { return stop; });
        if (stop) break;
        lock.unlock();
        rescan();
        lock.lock();
    }
}

void DeviceAccessoryManager::rescan() { core_->rescan(); }

void DeviceAccessoryManager::Core::rescan() {
    std::lock_guard scanning(scanMutex);
    std::vector<std::pair<std::size_t, DeviceAccessoryRecord>> found;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        std::vector<DeviceAccessoryRecord> records;
        try {
            records = sources[i]->scan();
        } catch (...) {
            // A source that fails this time keeps what it had: a passing fault is not a disconnect.
            std::lock_guard lock(mutex);
            for (const auto& entry : entries) {
                if (entry.source == i) records.push_back(entry.accessory->record());
            }
        }
        for (auto& record : records) found.emplace_back(i, std::move(record));
    }

    std::vector<std::shared_ptr<DeviceAccessory>> gone;
    std::vector<std::shared_ptr<DeviceAccessory>> came;
    std::shared_ptr<AccessoryManagerObserver> listener;
    {
        std::lock_guard lock(mutex);
        auto present = [&](const Entry& entry) {
            return std::any_of(found.begin(), found.end(), [&](const auto& item) {
                return item.first == entry.source && item.second.key == entry.accessory->record().key;
            });
        };
        std::vector<Entry> kept;
        for (auto& entry : entries) {
            if (present(entry)) {
                kept.push_back(std::move(entry));
            } else {
                gone.push_back(entry.accessory);
            }
        }
        for (auto& item : found) {
            const std::size_t source = item.first;
            DeviceAccessoryRecord& record = item.second;
            const bool known = std::any_of(kept.begin(), kept.end(), [&](const Entry& entry) {
                return entry.source == source && entry.accessory->record().key == record.key;
            });
            if (known) continue;
            auto accessory = std::make_shared<DeviceAccessory>(std::move(record));
            kept.push_back({accessory, source});
            came.push_back(std::move(accessory));
        }
        entries = std::move(kept);
        listener = observer.lock();
    }
    for (const auto& accessory : gone) accessory->disconnect();
    if (!listener) return;
    // Observers are called with no lock held, on the scanning thread.
    for (const auto& accessory : gone) {
        try {
            listener->accessoryDidDisconnect(accessory);
        } catch (...) {
        }
    }
    for (const auto& accessory : came) {
        try {
            listener->accessoryDidConnect(accessory);
        } catch (...) {
        }
    }
}

std::vector<std::shared_ptr<Accessory>> DeviceAccessoryManager::connectedAccessories() const {
    std::lock_guard lock(core_->mutex);
    std::vector<std::shared_ptr<Accessory>> list;
    for (const auto& entry : core_->entries) list.push_back(entry.accessory);
    return list;
}

std::shared_ptr<AccessorySession> DeviceAccessoryManager::openSession(const std::shared_ptr<Accessory>& accessory,
                                                                      const std::string& protocolString) {
    std::shared_ptr<DeviceAccessory> device;
    std::shared_ptr<DeviceAccessorySource> source;
    {
        std::lock_guard lock(core_->mutex);
        for (const auto& entry : core_->entries) {
            if (entry.accessory == accessory) {
                device = entry.accessory;
                source = core_->sources[entry.source];
            }
        }
    }
    if (!device || !device->isConnected()) return nullptr;
    const auto& protocols = device->record().protocolStrings;
    if (std::find(protocols.begin(), protocols.end(), protocolString) == protocols.end()) return nullptr;
    int fd = -1;
    try {
        fd = source->open(device->record());
    } catch (const Prelix10Error& error) {
        // A device another process holds is reported as such; the opener does not retry it.
        if (error.kind() == Prelix10ErrorKind::inUse) throw;
        fd = -1;
    } catch (...) {
        fd = -1;
    }
    auto session = FileDescriptorAccessoryLink::makeSession(fd, device, protocolString, source->descriptorCalls());
    if (session) device->addSession(session);
    return session;
}

void DeviceAccessoryManager::setObserver(std::weak_ptr<AccessoryManagerObserver> observer) {
    std::lock_guard lock(core_->mutex);
    core_->observer = std::move(observer);
}

}  // namespace Prelix10
