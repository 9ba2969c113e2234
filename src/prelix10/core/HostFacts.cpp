#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/LibraryVersion.hpp"

#include <sys/utsname.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
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

namespace {

struct HostOverrides {
    std::mutex mutex;
    std::optional<std::string> displayName;
    std::optional<std::string> bundleName;
    std::optional<std::string> deviceModel;
    std::optional<std::string> language;
    std::optional<std::string> timeZone;
    std::optional<std::string> operatingSystem;
};

HostOverrides& overrides() {
    static HostOverrides values;
    return values;
}

std::optional<std::string> readOverride(std::optional<std::string> HostOverrides::*field) {
    auto& values = overrides();
    std::lock_guard guard(values.mutex);
    return values.*field;
}

void writeOverride(std::optional<std::string> HostOverrides::*field, std::optional<std::string> value) {
    auto& values = overrides();
    std::lock_guard guard(values.mutex);
    values.*field = std::move(value);
}

// The first line of a small system file, trimmed; "" when it cannot be read.
std::string firstLine(const char* path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line) || line.size() > 256) return "";
    const auto begin = line.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return "";
    const auto end = line.find_last_not_of(" \t\r");
    return line.substr(begin, end - begin + 1);
}

std::string afterZoneinfo(const std::string& path) {
    const std::string marker = "zoneinfo/";
    const auto at = path.rfind(marker);
    return at == std::string::npos ? "" : path.substr(at + marker.size());
}

}  // namespace

std::string HostFacts::applicationDisplayName() {
    if (auto name = readOverride(&HostOverrides::displayName)) return *name;
    return applicationBundleName().value_or("");
}

void HostFacts::setApplicationDisplayName(std::optional<std::string> name) {
    writeOverride(&HostOverrides::displayName, std::move(name));
}

std::optional<std::string> HostFacts::applicationBundleName() {
    if (auto name = readOverride(&HostOverrides::bundleName)) return name;
    if (program_invocation_short_name && *program_invocation_short_name) return std::string(program_invocation_short_name);
    return std::nullopt;
}

void HostFacts::setApplicationBundleName(std::optional<std::string> name) {
    writeOverride(&HostOverrides::bundleName, std::move(name));
}

std::string HostFacts::deviceModel() {
    if (auto model = readOverride(&HostOverrides::deviceModel)) return *model;
    std::string product = firstLine("/sys/class/dmi/id/product_name");
    return product.empty() ? machine() : product;
}

void HostFacts::setDeviceModel(std::optional<std::string> model) {
    writeOverride(&HostOverrides::deviceModel, std::move(model));
}

std::string HostFacts::operatingSystem() {
    if (auto system = readOverride(&HostOverrides::operatingSystem)) return *system;
    return unameField([](const utsname& n) { return std::string(n.sysname) + n.release; });
}

void HostFacts::setOperatingSystem(std::optional<std::string> nameAndVersion) {
    writeOverride(&HostOverrides::operatingSystem, std::move(nameAndVersion));
}

std::string HostFacts::languageCode(std::string_view localeText) {
    const auto end = localeText.find_first_of("-_.@");
    const std::string_view code = localeText.substr(0, end);
    if (code == "C" || code == "POSIX") return "";
    return std::string(code);
}

std::string HostFacts::preferredLanguage() {
    if (auto tag = readOverride(&HostOverrides::language)) return languageCode(*tag);
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        std::string_view text(value);
        // LANGUAGE is a list of preferences separated by colons; the first one counts.
        text = text.substr(0, text.find(':'));
        if (!text.empty()) return languageCode(text);
    }
    return "";
}

void HostFacts::setPreferredLanguage(std::optional<std::string> tag) {
    writeOverride(&HostOverrides::language, std::move(tag));
}

std::string HostFacts::timeZoneIdentifier() {
    if (auto zone = readOverride(&HostOverrides::timeZone)) return *zone;
    if (const char* tz = std::getenv("TZ"); tz && *tz) {
        std::string text(*tz == ':' ? tz + 1 : tz);
        if (!text.empty() && text.front() == '/') text = afterZoneinfo(text);
        if (!text.empty()) return text;
    }
    if (std::string zone = firstLine("/etc/timezone"); !zone.empty()) return zone;
    std::error_code error;
    const auto target = std::filesystem::read_symlink("/etc/localtime", error);
    if (!error) {
        if (std::string zone = afterZoneinfo(target.string()); !zone.empty()) return zone;
    }
    return "UTC";
}

void HostFacts::setTimeZoneIdentifier(std::optional<std::string> identifier) {
    writeOverride(&HostOverrides::timeZone, std::move(identifier));
}

DeviceFacts HostFacts::deviceFacts() {
    DeviceFacts facts;
    facts.applicationName = applicationDisplayName();
    facts.deviceModel = deviceModel();
    facts.operatingSystem = operatingSystem();
    facts.preferredLanguage = preferredLanguage();
    facts.timeZoneIdentifier = timeZoneIdentifier();
    facts.libraryVersion = libraryVersion().value_or("");
    return facts;
}

void HostFacts::resetDeviceFacts() {
    auto& values = overrides();
    std::lock_guard guard(values.mutex);
    values.displayName.reset();
    values.bundleName.reset();
    values.deviceModel.reset();
    values.language.reset();
    values.timeZone.reset();
    values.operatingSystem.reset();
}

std::string HostFacts::logHeader() {
    return "- OS: " + systemName() + " " + systemVersion() + "\n- Device: " + machine() +
           "\n- App: " + applicationIdentifier().value_or("(nil)") +
           "\n- Prelix10 Version: " + libraryVersion().value_or("(nil)") + "\n";
}

}  // namespace Prelix10
