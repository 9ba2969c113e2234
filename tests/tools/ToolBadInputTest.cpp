// The installed command-line tools on bad input: a non-zero exit, exactly one line on standard error,
// nothing on standard output, and never a crash or an uncaught exception.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct ToolRun {
    int status = -1;
    bool signalled = false;
    std::string out;
    std::string err;
};

class ToolBadInput : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("tool_bad_input_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / "invalid.json") << "{\"title\":";
        std::ofstream(dir_ / "template.json")
            << R"({"title":"VelmarCommand","version":"1.0.0","contents":[]})";
        std::filesystem::create_directories(dir_ / "folder");
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    ToolRun run(const std::string& tool, const std::string& arguments) {
        const std::string errFile = (dir_ / "stderr").string();
        const std::string command = "cd " + dir_.string() + " && " + std::string(PRELIX10_BINARY_DIR) + "/tools/" +
                                    tool + " " + arguments + " < /dev/null 2> " + errFile;
        ToolRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) return result;
        std::array<char, 4096> block;
        std::size_t n;
        while ((n = std::fread(block.data(), 1, block.size(), pipe)) > 0) result.out.append(block.data(), n);
        const int status = ::pclose(pipe);
        result.signalled = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) > 128);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream in(errFile);
        result.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return result;
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(ToolBadInput, EveryToolFailsWithOneLineAndNoOutput) {
    struct Case {
        const char* tool;
        const char* arguments;
    };
    const Case cases[] = {
        {"prelix10-compile", ""},
        {"prelix10-compile", "--emulation"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ --bogus doc.json"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ missing.json"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ folder"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ invalid.json"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ a.json b.json"},
        {"prelix10-compile", "--emulation kestrin --model harlo599KZ --template missing.json invalid.json"},
        {"prelix10-compile", "--emulation kestrin --model harlo599KZ --template template.json invalid.json"},
        {"prelix10-compile", "--emulation Nonsense --model Nonsense invalid.json"},
        {"prelix10-expand-template", ""},
        {"prelix10-expand-template", "template.json"},
        {"prelix10-expand-template", "template.json missing.json"},
        {"prelix10-expand-template", "folder template.json"},
        {"prelix10-expand-template", "template.json invalid.json"},
        {"prelix10-expand-template", "--bogus template.json"},
        {"prelix10-virtual-printer", "--bogus"},
        {"prelix10-virtual-printer", "--data-port"},
        {"prelix10-virtual-printer", "--data-port abc --seconds 0"},
        {"prelix10-virtual-printer", "--data-port 70000 --seconds 0"},
        {"prelix10-virtual-printer", "--status-port -1 --seconds 0"},
        {"prelix10-virtual-printer", "--print-delay 1x --seconds 0"},
        {"prelix10-virtual-printer", "--seconds nan"},
        {"prelix10-virtual-printer", "--seconds -1"},
        {"prelix10-virtual-printer", "--seconds 0 --capture folder/"},
        {"prelix10-virtual-printer", "--seconds 0 --capture missing/dir/capture.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tool) + " " + c.arguments);
        const auto result = run(c.tool, c.arguments);
        EXPECT_FALSE(result.signalled);
        EXPECT_NE(result.status, 0);
        EXPECT_EQ(result.out, "");
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_EQ(result.err.rfind(c.tool, 0), 0u) << result.err;
    }
}

TEST_F(ToolBadInput, ABusyPortIsReportedNotThrown) {
    // Binds one port, then asks a second printer for the same one.
    const auto first = run("prelix10-virtual-printer", "--seconds 0");
    unsigned data = 0, status = 0;
    ASSERT_EQ(std::sscanf(first.out.c_str(), "data %u status %u", &data, &status), 2) << first.out;
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const auto busy = run("prelix10-virtual-printer", "--seconds 0 --data-port " + std::to_string(ntohs(address.sin_port)));
    ::close(fd);
    EXPECT_EQ(busy.status, 2);
    EXPECT_EQ(busy.out, "");
    EXPECT_EQ(busy.err.find('\n'), busy.err.size() - 1) << busy.err;
}
