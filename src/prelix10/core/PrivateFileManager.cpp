#include "prelix10/core/PrivateFileManager.hpp"

#include <cstdlib>
#include <mutex>

#include "prelix10/core/Log.hpp"

namespace Prelix10 {

namespace {
std::mutex& overrideMutex() {
    static std::mutex m;
    return m;
}
std::optional<std::filesystem::path>& overrideSlot() {
    static std::optional<std::filesystem::path> slot;
    return slot;
}
std::optional<std::filesystem::path> fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::filesystem::path(value);
}
}  // namespace

void PrivateFileManager::setPrivateDirectory(std::optional<std::filesystem::path> directory) {
    std::lock_guard guard(overrideMutex());
    overrideSlot() = std::move(directory);
}

std::optional<std::filesystem::path> PrivateFileManager::location() {
    {
        std::lock_guard guard(overrideMutex());
        if (overrideSlot() && !overrideSlot()->empty()) return overrideSlot();
    }
    if (auto fromVariable = fromEnvironment(kEnvironmentVariable)) return fromVariable;
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (auto data = fromEnvironment("XDG_DATA_HOME"); data && data->is_absolute()) return *data / "prelix10";
    if (auto home = fromEnvironment("HOME")) return *home / ".local" / "share" / "prelix10";
    return std::nullopt;
}

std::optional<std::filesystem::path> PrivateFileManager::privateDirectoryIfAvailable() {
    auto directory = location();
    if (!directory) return std::nullopt;
    std::error_code error;
    if (std::filesystem::is_directory(*directory, error)) return directory;
    std::filesystem::create_directories(*directory, error);
    if (error || !std::filesystem::is_directory(*directory, error)) return std::nullopt;
    return directory;
}

std::filesystem::path PrivateFileManager::getPrivateDirectory() {
    if (auto directory = privateDirectoryIfAvailable()) return *directory;
    static const PrivateFileManager manager;
    Log log(&manager, "getPrivateDirectory()", __LINE__);
    raiseError(log, Prelix10Error(Prelix10ErrorKind::unknown, std::string("Create private directory failed.")));
}

Prelix10DiagInfoUpload& Prelix10DiagInfoUpload::shared() {
    static Prelix10DiagInfoUpload instance;
    return instance;
}

}  // namespace Prelix10
