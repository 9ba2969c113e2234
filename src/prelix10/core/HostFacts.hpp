#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace Prelix10 {

// The facts about the host that travel with spool jobs and reports to a service, read at one moment.
struct DeviceFacts {
    std::string applicationName;     // the display name, else the bundle name, else ""
    std::string deviceModel;         // the DMI product name, else the machine type
    std::string operatingSystem;     // the system's name immediately followed by its release
    std::string preferredLanguage;   // "en" for en_US.UTF-8; "" when none
    std::string timeZoneIdentifier;  // "Europe/Berlin"; "UTC" when none is found
    std::string libraryVersion;      // "" when unknown

    bool operator==(const DeviceFacts&) const = default;
};

// What the log header says about the machine and the program: the operating system from /etc/os-release
// (uname when it is missing), the machine type from uname, the program's name unless the application
// names itself, and the library's version.
class HostFacts {
public:
    static std::string systemName();
    static std::string systemVersion();
    static std::string machine();
    static std::optional<std::string> applicationIdentifier();
    // The application's own name for the header; nullopt returns to the program name.
    static void setApplicationIdentifier(std::optional<std::string> identifier);
    static std::optional<std::string> libraryVersion();

    // Facts about the host for reports sent to a service; each has a Linux default and may be set by the
    // application (nullopt returns to the default).
    // The application's display name: set by the application, else its bundle name, else "".
    static std::string applicationDisplayName();
    static void setApplicationDisplayName(std::optional<std::string> name);
    // The application's bundle name: set by the application, else the program name.
    static std::optional<std::string> applicationBundleName();
    static void setApplicationBundleName(std::optional<std::string> name);
    // The device model: the DMI product name, else the machine type.
    static std::string deviceModel();
    static void setDeviceModel(std::optional<std::string> model);
    // The operating system's name immediately followed by its release ("Linux6.1.0").
    static std::string operatingSystem();
    static void setOperatingSystem(std::optional<std::string> nameAndVersion);
    // The preferred language cut before its first "-" or "_" ("en" for en_US.UTF-8); "" when none.
    static std::string preferredLanguage();
    // A language tag ("zh-Hant-TW") in place of the locale environment.
    static void setPreferredLanguage(std::optional<std::string> tag);
    // The language part of a locale text or language tag: up to the first "-", "_", "." or "@"; "" for
    // "C", "POSIX" or an empty text.
    static std::string languageCode(std::string_view localeText);
    // The time-zone identifier: TZ, /etc/timezone, the zoneinfo link of /etc/localtime, else "UTC".
    static std::string timeZoneIdentifier();
    static void setTimeZoneIdentifier(std::optional<std::string> identifier);

    // Every fact above at once, each as set by the application or else its Linux default.
    static DeviceFacts deviceFacts();
    // Returns every fact to its Linux default.
    static void resetDeviceFacts();

    // "- OS: <name> <version>\n- Device: <machine>\n- App: <app or (nil)>\n- Prelix10 Version: <v or (nil)>\n"
    static std::string logHeader();
};

}  // namespace Prelix10
