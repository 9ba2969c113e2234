#include "TestPrivateDirectory.hpp"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <system_error>

#include "prelix10/core/PrivateFileManager.hpp"

namespace Prelix10Test {

TemporaryDirectory::TemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "prelix10-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::system_error(errno, std::generic_category(), "mkdtemp");
    path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

namespace {
class PrivateDirectoryEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        Prelix10::PrivateFileManager::setPrivateDirectory(std::nullopt);
        std::error_code error;
        std::filesystem::remove_all(processPrivateDirectory(), error);
    }
};

const bool kInstalled = [] {
    Prelix10::PrivateFileManager::setPrivateDirectory(processPrivateDirectory());
    ::testing::AddGlobalTestEnvironment(new PrivateDirectoryEnvironment);
    return true;
}();
}  // namespace

const std::filesystem::path& processPrivateDirectory() {
    static const std::filesystem::path path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "prelix10-private-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return std::filesystem::temp_directory_path() / "prelix10-private";
        return std::filesystem::path(pattern);
    }();
    return path;
}

}  // namespace Prelix10Test
