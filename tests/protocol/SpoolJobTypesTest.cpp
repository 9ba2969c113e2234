#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "prelix10/protocol/SpoolJobTypes.hpp"

using namespace Prelix10;

TEST(OrvoSpoolJobSettings, TimeoutIsClampedToItsRange) {
    const std::pair<std::int64_t, std::int64_t> cases[] = {
        {-5, 0}, {INT64_MIN, 0}, {0, 0}, {1, 1}, {3600, 3600}, {3601, 3600}, {INT64_MAX, 3600}};
    for (const auto& [given, kept] : cases) EXPECT_EQ(OrvoSpoolJobSettings(true, given, "n").timeout(), kept) << given;
    EXPECT_EQ(OrvoSpoolJobSettings(true, 7, "n").description(), "isRetryEnabled : true, timeout : 7, note : n");
}

TEST(SpoolUtil, PrinterCodesMapOntoStatesAndInterfaces) {
    const std::pair<std::int64_t, const char*> interfaces[] = {
        {-1, "unknown"}, {0, "usbPrinterClass"}, {1, "usbAOA"},    {2, "usbiAP"},        {3, "bluetooth"},
        {4, "lan"},      {5, "unknown"},         {9, "unknown"},   {10, "cloudKestrin"}, {11, "webKestrin"},
        {12, "qvtd"},    {13, "unknown"},        {INT64_MAX, "unknown"}};
    for (const auto& [code, name] : interfaces)
        EXPECT_EQ(describeEnumeration(SpoolUtil::jobReceivedInterface(code)), name) << code;

    const std::pair<std::int64_t, const char*> states[] = {
        {-1, "unknown"},  {0, "unknown"},  {1, "accepted"}, {3, "printing"}, {6, "printSucceeded"},
        {9, "printFailedByPowerOff"}, {10, "unknown"}};
    for (const auto& [code, name] : states) EXPECT_EQ(describeEnumeration(SpoolUtil::jobState(code)), name) << code;

    // The interface's own raw values, as distinct from the printer's codes.
    EXPECT_EQ(SpoolJobReceivedInterfaces::fromRawValue(8), SpoolJobReceivedInterface::qvtd);
    EXPECT_EQ(SpoolJobReceivedInterfaces::fromRawValue(0), SpoolJobReceivedInterface::unknown);
    EXPECT_FALSE(SpoolJobReceivedInterfaces::fromRawValue(9));
    EXPECT_FALSE(SpoolJobReceivedInterfaces::fromRawValue(-1));
}

TEST(OrvoSpoolJobSettingsAdditionalInfo, TextHasFixedLinesAndOrder) {
    const OrvoSpoolJobSettingsAdditionalInfo initial;
    EXPECT_EQ(initial.jsonText(),
              "{\n"
              "\t\"title\": \"OrvoSpoolJobSettingsAdditionalInfo\",\n"
              "\t\"version\": \"1.0.0\",\n"
              "\t\"note\": \"\",\n"
              "\t\"app_info\": \"\",\n"
              "\t\"host_model\": \"\",\n"
              "\t\"host_OS\": \"\",\n"
              "\t\"host_IP\": \"\"\n"
              "}");
    EXPECT_EQ(OrvoSpoolJobSettingsAdditionalInfo::decode(initial.jsonText()), initial);
}

TEST(OrvoSpoolJobSettingsAdditionalInfo, TextIsStrictJsonWhateverTheValuesHold) {
    OrvoSpoolJobSettingsAdditionalInfo info;
    info.note = "say \"hi\"";
    info.app_info = "C:\\app";
    info.host_model = std::string("tab\tnul", 7) + '\0' + "\x1F";
    info.host_OS = "Linux6.1";
    info.host_IP = "127.0.0.1";
    const auto text = info.jsonText();
    EXPECT_NE(text.find("\t\"note\": \"say \\\"hi\\\"\",\n"), std::string::npos) << text;
    ASSERT_FALSE(nlohmann::json::parse(text, nullptr, false).is_discarded()) << text;
    EXPECT_EQ(OrvoSpoolJobSettingsAdditionalInfo::decode(text), info);
    // Values without such characters are written as they are.
    EXPECT_NE(text.find("\t\"host_OS\": \"Linux6.1\",\n"), std::string::npos);

    EXPECT_FALSE(OrvoSpoolJobSettingsAdditionalInfo::decode(R"({"title":"t","version":"1"})"));
}

TEST(OrvoSpoolJobStatus, BuilderStartsEmptyAndStatusCopiesIt) {
    OrvoSpoolJobStatus::Builder builder;
    const OrvoSpoolJobStatus empty(builder);
    EXPECT_EQ(empty.jobId(), 0);
    EXPECT_EQ(empty.jobState(), SpoolJobState::unknown);
    EXPECT_EQ(empty.jobReceivedInterface(), SpoolJobReceivedInterface::unknown);
    EXPECT_EQ(empty.jobSettings(), OrvoSpoolJobSettings(false, 0, ""));

    builder.jobId = 12;
    builder.jobState = SpoolJobState::printing;
    builder.elapsedTime = 30;
    builder.jobReceivedInterface = SpoolJobReceivedInterface::lan;
    builder.appInfo = "app";
    builder.hostModel = "model";
    builder.hostOS = "os";
    builder.hostIpAddress = "127.0.0.1";
    builder.jobSettings = OrvoSpoolJobSettings(true, 60, "n");
    const OrvoSpoolJobStatus status(builder);
    builder.jobId = 99;  // the status is a copy
    EXPECT_EQ(status.jobId(), 12);
    EXPECT_EQ(status.description(),
              "jobId : 12, jobState : printing, elapsedTime : 30, jobReceivedInterface : lan, appInfo : app, "
              "hostModel : model, hostOS : os, hostIpAddress : 127.0.0.1, "
              "jobSettings : isRetryEnabled : true, timeout : 60, note : n");
}
