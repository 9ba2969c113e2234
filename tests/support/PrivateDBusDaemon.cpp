#include "support/PrivateDBusDaemon.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace Prelix10::Testing {

namespace {
constexpr const char* kDaemon = "dbus-daemon";

std::string findDaemon() {
    const char* path = std::getenv("PATH");
    std::string list = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = list.find(':', start);
        const std::string dir = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + kDaemon;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return {};
}
}  // namespace

bool PrivateDBusDaemon::available() { return !findDaemon().empty(); }

PrivateDBusDaemon::PrivateDBusDaemon() {
    if (findDaemon().empty()) return;
    char pattern[] = "/tmp/prelix10-bus-XXXXXX";
    if (!::mkdtemp(pattern)) return;
    folder_ = pattern;
    start();
}

bool PrivateDBusDaemon::restart() {
    if (folder_.empty()) return false;
    stop();
    address_.clear();
    start();
    return !address_.empty();
}

void PrivateDBusDaemon::start() {
    const std::string daemon = findDaemon();
    if (daemon.empty()) return;
    const std::string config = folder_ + "/bus.conf";
    {
        std::ofstream out(config);
        out << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig>\n"
               "  <listen>unix:path="
            << folder_
            << "/bus</listen>\n"
               "  <auth>EXTERNAL</auth>\n"
               "  <policy context=\"default\">\n"
               "    <allow user=\"*\"/>\n"
               "    <allow own=\"*\"/>\n"
               "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
               "    <allow send_type=\"signal\"/>\n"
               "    <allow eavesdrop=\"true\"/>\n"
               "  </policy>\n"
               "</busconfig>\n";
    }
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    // Its complaints about limits it may not raise here are noise in the test log.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string configArgument = "--config-file=" + config;
    std::string a0 = daemon, a1 = configArgument, a2 = "--nofork", a3 = "--nopidfile", a4 = "--print-address";
    char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data(), a4.data(), nullptr};
    const int spawned = ::posix_spawn(&pid_, daemon.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        pid_ = -1;
        ::close(pipeFds[0]);
        return;
    }
    // The daemon prints its address once it listens; wait for the line, bounded.
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{pipeFds[0], POLLIN, 0};
        if (::poll(&fd, 1, 100) <= 0) continue;
        char buffer[256];
        const auto got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeFds[0]);
    const auto end = line.find('\n');
    if (end == std::string::npos) return;
    address_ = line.substr(0, end);
    const auto guid = address_.find(",guid=");
    if (guid != std::string::npos) address_.erase(guid);
}

PrivateDBusDaemon::~PrivateDBusDaemon() {
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

void PrivateDBusDaemon::stop() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        pid_ = -1;
    }
    // A daemon killed hard leaves its socket file behind, and a new one would not listen on it.
    if (!folder_.empty()) ::unlink((folder_ + "/bus").c_str());
}

}  // namespace Prelix10::Testing
