#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "prelix10/core/PrivateFileManager.hpp"

namespace Prelix10::Testing {

// Gives the test process a private directory of its own, so that the log and cache files a test reads
// are this process's own; it is removed when the tests end.
inline bool installPrivateDirectoryEnvironment(const std::string& name) {
    class Environment : public ::testing::Environment {
    public:
        explicit Environment(std::filesystem::path path) : path_(std::move(path)) {}
        void TearDown() override {
            PrivateFileManager::setPrivateDirectory(std::nullopt);
            std::error_code error;
            std::filesystem::remove_all(path_, error);
        }

    private:
        std::filesystem::path path_;
    };
    std::string pattern = (std::filesystem::temp_directory_path() / ("prelix10-" + name + "-XXXXXX")).string();
    std::filesystem::path path = ::mkdtemp(pattern.data()) != nullptr
                                     ? std::filesystem::path(pattern)
                                     : std::filesystem::temp_directory_path() / ("prelix10-" + name);
    PrivateFileManager::setPrivateDirectory(path);
    ::testing::AddGlobalTestEnvironment(new Environment(path));
    return true;
}

}  // namespace Prelix10::Testing
