#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prelix10/core/HostFacts.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "prelix10/setting/FirmwareUpdateLog.hpp"

using namespace Prelix10;

namespace {

std::vector<std::string> keysOf(const LogDictionary& dictionary) {
    std::vector<std::string> keys;
    for (const auto& pair : dictionary) keys.push_back(pair.key);
    return keys;
}

// Puts the host facts the tests change back to their defaults.
struct HostFactsReset {
    ~HostFactsReset() {
        HostFacts::setApplicationDisplayName(std::nullopt);
        HostFacts::setApplicationBundleName(std::nullopt);
        HostFacts::setPreferredLanguage(std::nullopt);
        HostFacts::setDeviceModel(std::nullopt);
        HostFacts::setTimeZoneIdentifier(std::nullopt);
    }
};

}  // namespace

TEST(FirmwareUpdateLog, LanguageIsTheFirstPartOfTheTag) {
    const struct {
        const char* text;
        const char* language;
    } cases[] = {{"zh-Hant-TW", "zh"}, {"fr", "fr"}, {"en_US.UTF-8", "en"},
                 {"de_DE@euro", "de"}, {"C", ""},    {"POSIX", ""},
                 {"C.UTF-8", ""},      {"", ""}};
    HostFactsReset reset;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HostFacts::languageCode(c.text), c.language);
        HostFacts::setPreferredLanguage(std::string(c.text));
        EXPECT_EQ(HostInfo::current().language, c.language);
    }
}

TEST(FirmwareUpdateLog, AppNameFallsBackFromDisplayNameToBundleNameToEmpty) {
    HostFactsReset reset;
    HostFacts::setApplicationBundleName(std::string("Till"));
    EXPECT_EQ(HostInfo::current().appInfo, "Till");
    HostFacts::setApplicationDisplayName(std::string("Shop Till"));
    EXPECT_EQ(HostInfo::current().appInfo, "Shop Till");
    HostFacts::setApplicationDisplayName(std::nullopt);
    HostFacts::setApplicationBundleName(std::string());
    EXPECT_EQ(HostInfo::current().appInfo, "");
    HostFacts::setApplicationBundleName(std::nullopt);
    EXPECT_FALSE(HostInfo::current().appInfo.empty());  // the program's own name
}

TEST(FirmwareUpdateLog, HostDefaultsComeFromTheSystem) {
    HostFactsReset reset;
    const HostInfo host = HostInfo::current();
    EXPECT_FALSE(host.model.empty());
    EXPECT_EQ(host.os.rfind("Linux", 0), 0u) << host.os;
    EXPECT_EQ(host.os.find(' '), std::string::npos) << host.os;
    EXPECT_FALSE(host.timeZone.empty());
    HostFacts::setDeviceModel(std::string("Counter 3"));
    HostFacts::setTimeZoneIdentifier(std::string("Asia/Tokyo"));
    EXPECT_EQ(HostInfo::current().model, "Counter 3");
    EXPECT_EQ(HostInfo::current().timeZone, "Asia/Tokyo");
}

TEST(FirmwareUpdateLog, DictionariesKeepTheirKeyOrderAndLeaveOutAnUnknownInterface) {
    const HostInfo host("App", "Model", "Linux6.1", "en", "UTC");
    EXPECT_EQ(keysOf(host.toDictionary()),
              (std::vector<std::string>{"appInfo", "model", "os", "language", "timeZone"}));

    const PrinterInfo known("Harlo586KZ-HF", 4, "1.0", "1.1", "SN1");
    EXPECT_EQ(keysOf(known.toDictionary()),
              (std::vector<std::string>{"model", "connectedInterface", "currentVersion", "updateVersion",
                                        "productSerialNumber"}));
    const PrinterInfo unknown("Harlo586KZ-HF", std::nullopt, "1.0", "", "SN1");
    EXPECT_EQ(keysOf(unknown.toDictionary()),
              (std::vector<std::string>{"model", "currentVersion", "updateVersion", "productSerialNumber"}));
}

TEST(FirmwareUpdateLog, SerialNumberLosesItsNulPadding) {
    const PrinterInfo printer("M", std::nullopt, "1", "2", std::string("AB12\0\0\0", 7));
    EXPECT_EQ(printer.productSerialNumber, "AB12");
    const FirmwareUpdateLog log(HostInfo("a", "b", "c", "d", "e"), printer);
    EXPECT_EQ(CloudFirmwareFunction::clientInfoBody(log).find('\0'), std::string::npos);
}

TEST(FirmwareUpdateLog, MadeWithThisHostsFacts) {
    HostFactsReset reset;
    HostFacts::setPreferredLanguage(std::string("fr"));
    const FirmwareUpdateLog log(PrinterInfo("M", 1, "1", "2", "S"));
    EXPECT_EQ(log.title, "OrvoFirmwareUpdateLog");
    EXPECT_EQ(log.version, "1.0.0");
    EXPECT_EQ(log.hostInfo.language, "fr");
    EXPECT_EQ(log.printerInfo.model, "M");
}
