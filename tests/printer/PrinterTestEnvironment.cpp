#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "prelix10/core/PrivateFileManager.hpp"

namespace {

// Every process gets its own private directory: opens store the printers' identifiers there.
class PrivateDirectoryEnvironment : public ::testing::Environment {
public:
    explicit PrivateDirectoryEnvironment(std::filesystem::path path) : path_(std::move(path)) {}
    void TearDown() override {
        Prelix10::PrivateFileManager::setPrivateDirectory(std::nullopt);
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }

private:
    std::filesystem::path path_;
};

const bool kInstalled = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "prelix10-printer-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) return false;
    Prelix10::PrivateFileManager::setPrivateDirectory(pattern);
    ::testing::AddGlobalTestEnvironment(new PrivateDirectoryEnvironment(pattern));
    return true;
}();

}  // namespace
