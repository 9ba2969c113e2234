#pragma once

#include "prelix10/core/Export.hpp"

#include <atomic>
#include <filesystem>
#include <optional>

namespace Prelix10 {

// The library's own directory, where the log files and the stored connection identifiers live. Chosen in
// this order: the application's choice (setPrivateDirectory), the environment variable
// PRELIX10_PRIVATE_DIR, $XDG_DATA_HOME/prelix10, ~/.local/share/prelix10. Created on use.
class PrivateFileManager {
public:
    static constexpr const char* kEnvironmentVariable = "PRELIX10_PRIVATE_DIR";

    // The directory, created with its parents when missing. Throws the unknown error "Create private
    // directory failed." (logged first) when it cannot be had. Nothing is cached: each call looks anew.
    static std::filesystem::path getPrivateDirectory();
    // As getPrivateDirectory, without logging or throwing; the logging service itself uses it.
    static std::optional<std::filesystem::path> privateDirectoryIfAvailable();
    // The application's choice; nullopt returns to the default.
    static void setPrivateDirectory(std::optional<std::filesystem::path> directory);
    // Where the directory is, without creating it; nullopt when no location can be found.
    static std::optional<std::filesystem::path> location();
};

// The process-wide switch that lets the application forbid the collection and upload of diagnostic logs.
// On at program start.
class PRELIX10_EXPORT Prelix10DiagInfoUpload {
public:
    static Prelix10DiagInfoUpload& shared();

    bool isEnabled() const { return isEnabled_.load(); }
    void setIsEnabled(bool enabled) { isEnabled_.store(enabled); }
    // The same stored value.
    static bool isLogCollectAndUploadEnabled() { return shared().isEnabled(); }
    static void setIsLogCollectAndUploadEnabled(bool enabled) { shared().setIsEnabled(enabled); }

private:
    Prelix10DiagInfoUpload() = default;
    std::atomic<bool> isEnabled_{true};
};

}  // namespace Prelix10
