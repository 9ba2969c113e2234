#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/LibraryVersion.hpp"

#include <sys/utsname.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <mutex>

namespace Prelix10 {

namespace {

std::map<std::string, std::string> readOsRelease() {
    std::map<std::string, std::string> values;
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        std::ifstream in(path);
        if (!in) continue;
        std::string line;
        for (int count = 0; count < 200 && std::getline(in, line); ++count) {
            if (line.size() > 1024) continue;
            const auto equals = line.find('=');
            if (equals == std::string::npos || line[0] == '#') continue;
            std::string value = line.substr(equals + 1);
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            values[line.substr(0, equals)] = value;
        }
        break;
    }
    return values;
}

const std::map<std::string, std::string>& osRelease() {
    static const std::map<std::string, std::string> values = readOsRelease();
    return values;
}

std::string unameField(std::string (*pick)(const utsname&)) {
    utsname name{};
    if (::uname(&name) != 0) return "";
    return pick(name);
}

std::mutex& appMutex() {
    static std::mutex m;
    return m;
}
std::optional<std::string>& appSlot() {
    static std::optional<std::string> slot;
    return slot;
}

}  // namespace

std::string HostFacts::systemName() {
    const auto& values = osRelease();
    if (auto it = values.find("NAME"); it != values.end() && !it->second.empty()) return it->second;
    return unameField([](const utsname& n) { return std::string(n.sysname); });
}

std::string HostFacts::systemVersion() {
    const auto& values = osRelease();
    if (auto it = values.find("VERSION_ID"); it != values.end() && !it->second.empty()) return it->second;
    return unameField([](const utsname& n) { return std::string(n.release); });
}

std::string HostFacts::machine() {
    return unameField([](const utsname& n) { return std::string(n.machine); });
}

std::optional<std::string> HostFacts::applicationIdentifier() {
    {
        std::lock_guard guard(appMutex());
        if (appSlot()) return appSlot();
    }
    if (program_invocation_short_name && *program_invocation_short_name) return std::string(program_invocation_short_name);
    return std::nullopt;
}

void HostFacts::setApplicationIdentifier(std::optional<std::string> identifier) {
    std::lock_guard guard(appMutex());
    appSlot() = std::move(identifier);
}

std::optional<std::string> HostFacts::libraryVersion() { return Prelix10::libraryVersion(); }

std::string HostFacts::logHeader() {
    return "- OS: " + systemName() + " " + systemVersion() + "\n- Device: " + machine() +
           "\n- App: " + applicationIdentifier().value_or("(nil)") +
           "\n- Prelix10 Version: " + libraryVersion().value_or("(nil)") + "\n";
}

}  // namespace Prelix10
