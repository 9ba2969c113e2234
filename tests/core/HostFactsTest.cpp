#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/utsname.h>

#include <fstream>
#include <map>
#include <string>

#include "prelix10/core/HostFacts.hpp"
#include "prelix10/core/LibraryVersion.hpp"

using namespace Prelix10;

namespace {

// Sets environment variables for one test and puts the old values back.
class EnvironmentScope {
public:
    void set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~EnvironmentScope() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
        HostFacts::resetDeviceFacts();
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

std::string firstLineOf(const char* path) {
    std::ifstream in(path);
    std::string line;
    if (in) std::getline(in, line);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

TEST(DeviceFacts, LinuxDefaults) {
    EnvironmentScope environment;
    HostFacts::resetDeviceFacts();
    utsname name{};
    ASSERT_EQ(::uname(&name), 0);
    const auto facts = HostFacts::deviceFacts();
    EXPECT_EQ(facts.applicationName, program_invocation_short_name);
    const std::string product = firstLineOf("/sys/class/dmi/id/product_name");
    EXPECT_EQ(facts.deviceModel, product.empty() ? std::string(name.machine) : product);
    EXPECT_EQ(facts.operatingSystem, std::string(name.sysname) + name.release);
    EXPECT_EQ(facts.libraryVersion, libraryVersion());
    EXPECT_FALSE(facts.libraryVersion.empty());
}

TEST(DeviceFacts, LanguageAndTimeZoneComeFromTheEnvironmentInOrder) {
    EnvironmentScope environment;
    const struct {
        const char* language;
        const char* all;
        const char* messages;
        const char* lang;
        const char* expected;
    } cases[] = {
        {"de_DE:fr", "it_IT.UTF-8", "es_ES", "pt_BR", "de"},
        {nullptr, "it_IT.UTF-8", "es_ES", "pt_BR", "it"},
        {"", "", "es_ES@euro", "pt_BR", "es"},
        {nullptr, nullptr, nullptr, "en_US.UTF-8", "en"},
        {nullptr, nullptr, nullptr, "C", ""},
        {nullptr, nullptr, nullptr, "POSIX", ""},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        environment.set("LANGUAGE", c.language);
        environment.set("LC_ALL", c.all);
        environment.set("LC_MESSAGES", c.messages);
        environment.set("LANG", c.lang);
        EXPECT_EQ(HostFacts::deviceFacts().preferredLanguage, c.expected) << c.expected;
    }
    environment.set("TZ", "Europe/Berlin");
    EXPECT_EQ(HostFacts::deviceFacts().timeZoneIdentifier, "Europe/Berlin");
    environment.set("TZ", ":/usr/share/zoneinfo/Asia/Tokyo");
    EXPECT_EQ(HostFacts::deviceFacts().timeZoneIdentifier, "Asia/Tokyo");
    environment.set("TZ", nullptr);
    EXPECT_FALSE(HostFacts::deviceFacts().timeZoneIdentifier.empty());
}

TEST(DeviceFacts, TheApplicationOverridesEachFactAndResetRestoresTheDefaults) {
    EnvironmentScope environment;
    const auto defaults = HostFacts::deviceFacts();
    HostFacts::setApplicationBundleName(std::string("till"));
    EXPECT_EQ(HostFacts::deviceFacts().applicationName, "till");  // no display name: the bundle name
    HostFacts::setApplicationDisplayName(std::string("Corner Till"));
    HostFacts::setDeviceModel(std::string("Kiosk 7"));
    HostFacts::setOperatingSystem(std::string("Linux6.1.0"));
    HostFacts::setPreferredLanguage(std::string("zh-Hant-TW"));
    HostFacts::setTimeZoneIdentifier(std::string("Asia/Taipei"));
    const auto set = HostFacts::deviceFacts();
    EXPECT_EQ(set.applicationName, "Corner Till");
    EXPECT_EQ(set.deviceModel, "Kiosk 7");
    EXPECT_EQ(set.operatingSystem, "Linux6.1.0");
    EXPECT_EQ(set.preferredLanguage, "zh");
    EXPECT_EQ(set.timeZoneIdentifier, "Asia/Taipei");
    EXPECT_EQ(set.libraryVersion, defaults.libraryVersion);

    HostFacts::setApplicationDisplayName(std::string());  // an empty name set is kept, not replaced
    EXPECT_EQ(HostFacts::deviceFacts().applicationName, "");
    HostFacts::resetDeviceFacts();
    EXPECT_EQ(HostFacts::deviceFacts(), defaults);
}
