#pragma once

#include <filesystem>
#include <string>

namespace Prelix10Test {

// A fresh directory under the system's temporary directory, removed with the object.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// The private directory of this test process: set before any test runs, so the logging service and the
// identifier store never touch the user's own directory and parallel test processes never share one.
const std::filesystem::path& processPrivateDirectory();

}  // namespace Prelix10Test
