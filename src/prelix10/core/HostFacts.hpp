#pragma once

#include <optional>
#include <string>

namespace Prelix10 {

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

    // "- OS: <name> <version>\n- Device: <machine>\n- App: <app or (nil)>\n- Prelix10 Version: <v or (nil)>\n"
    static std::string logHeader();
};

}  // namespace Prelix10
