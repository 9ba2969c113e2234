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
#include <vector>

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

TEST_F(ToolBadInput, RefusalsExitTwoAndNameTheBadValue) {
    std::ofstream(dir_ / "object.json") << R"({"a":1})";
    std::ofstream(dir_ / "array.json") << "[]";
    std::ofstream(dir_ / "empty.json");
    std::ofstream(dir_ / "binary.bin", std::ios::binary) << std::string("\x00\x01\xff\xfe", 4);
    struct Case {
        const char* tool;
        const char* arguments;
        int status;
        const char* named;  // text the one line must hold
    };
    const Case cases[] = {
        {"prelix10-compile", "--emulation Kestrin --model Bogus template.json", 2, "'Bogus'"},
        {"prelix10-compile", "--emulation kestrin --model ginor_6 template.json", 2, "'ginor_6'"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ object.json", 2, "{\"a\":1}"},
        {"prelix10-compile", "--emulation Kestrin --model Harlo599KZ array.json", 2, "'[]'"},
        {"prelix10-compile", "--emulation OrvoYalme1 --model Yalme1 array.json", 2, "'[]'"},
        {"prelix10-expand-template", "empty.json template.json", 1, "empty.json is empty"},
        {"prelix10-expand-template", "binary.bin template.json", 1, "binary.bin is not JSON text"},
        {"prelix10-virtual-printer", "--seconds 0 --data-port 40000 --discovery-port 0", 2, "32768"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.tool) + " " + c.arguments);
        const auto result = run(c.tool, c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("Unknown Error"), std::string::npos) << result.err;
    }
}

TEST_F(ToolBadInput, ABusyOrSharedStatusPortIsOneLineNamingPortAndErrno) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    socklen_t length = sizeof address;
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string busy = std::to_string(ntohs(address.sin_port));
    for (const std::string& arguments :
         {"--seconds 0 --status-port " + busy, "--seconds 0 --data-port " + busy + " --status-port " + busy,
          "--seconds 0 --data-port 0 --status-port " + busy}) {
        SCOPED_TRACE(arguments);
        const auto result = run("prelix10-virtual-printer", arguments);
        EXPECT_FALSE(result.signalled);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        EXPECT_NE(result.err.find("port " + busy), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("errno"), std::string::npos) << result.err;
    }
    ::close(fd);
}

TEST_F(ToolBadInput, EveryToolHasHelpAndVersion) {
    struct Case {
        const char* tool;
        std::vector<const char*> mentions;  // every option, and what port 0 and the defaults mean
    };
    const Case cases[] = {
        {"prelix10-compile",
         {"--emulation", "--model", "--template", "--list-emulations", "--list-models", "--help", "--version"}},
        {"prelix10-expand-template", {"TEMPLATE", "FIELDDATA", "--help", "--version"}},
        {"prelix10-virtual-printer",
         {"--data-port", "--status-port", "--discovery-port", "--automatic-status", "--print-delay", "--cover-open",
          "--paper-empty", "--seconds", "--capture", "--help", "--version", "Port 0", "default"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        const auto help = run(c.tool, "--help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.err, "");
        for (const char* mention : c.mentions) EXPECT_NE(help.out.find(mention), std::string::npos) << mention;
        const auto version = run(c.tool, "--version");
        EXPECT_EQ(version.status, 0);
        EXPECT_EQ(version.out, std::string(c.tool) + " " + PRELIX10_VERSION + "\n");
    }
}

TEST_F(ToolBadInput, CompileListsTheNamesItTakes) {
    const auto emulations = run("prelix10-compile", "--list-emulations");
    EXPECT_EQ(emulations.status, 0);
    for (const char* name : {"kestrin", "Kestrin", "escPos", "EscPos", "OrvoYalme1"})
        EXPECT_NE(emulations.out.find(name), std::string::npos) << name;
    EXPECT_EQ(emulations.out.find("nknown"), std::string::npos) << emulations.out;
    const auto models = run("prelix10-compile", "--list-models");
    EXPECT_EQ(models.status, 0);
    for (const char* name : {"harlo599KZ Harlo599KZ\n", "Ginor_6\n", "Pundo5_7GG\n"})
        EXPECT_NE(models.out.find(name), std::string::npos) << name;
    // Every listed name compiles, and so does the model name discovery reports.
    std::ofstream(dir_ / "doc.json")
        << R"({"title":"VelmarCommand","version":"1.0.0","contents":[{"category":"Document","contents":[)"
           R"({"category":"Printer","contents":[{"method":"Action.Print.Text","parameter":{"content":"a\n"}}]}]}]})";
    for (const char* model : {"harlo599KZ", "Harlo599KZ", "Ginor65"}) {
        SCOPED_TRACE(model);
        const auto result = run("prelix10-compile", std::string("--emulation Kestrin --model ") + model + " doc.json");
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("a\n"), std::string::npos);
    }
}

TEST_F(ToolBadInput, WithDiscoveryTheDataPortIsAnnounceableAndTheHintTellsHowToReachIt) {
    const auto result = run("prelix10-virtual-printer", "--seconds 0 --discovery-port 0");
    ASSERT_EQ(result.status, 0) << result.err;
    unsigned data = 0, status = 0, discovery = 0;
    ASSERT_EQ(std::sscanf(result.out.c_str(), "data %u status %u discovery %u", &data, &status, &discovery), 3)
        << result.out;
    EXPECT_GT(data, 0u);
    EXPECT_LT(data, 32768u);
    const std::string ports = std::to_string(data) + ", " + std::to_string(status) + ", " + std::to_string(discovery);
    EXPECT_NE(result.out.find("LANOrvoDeviceDiscoveryManager::useLoopback({" + ports + "})"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("prelix10_lan_use_loopback(" + ports + ", &error)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("--data-port " + std::to_string(data) + " --status-port " + std::to_string(status) +
                              " --discovery-port " + std::to_string(discovery)),
              std::string::npos)
        << result.out;
}
