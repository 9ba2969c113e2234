#include <dirent.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "prelix10/core/Log.hpp"
#include "prelix10/core/OrvoLogger.hpp"
#include "prelix10/core/PrivateFileManager.hpp"
#include "prelix10/setting/CloudFirmwareFunction.hpp"
#include "support/LocalCloudServer.hpp"

using namespace Prelix10;
using Prelix10Test::LocalCloudServer;
using Result = CloudFirmwareFunction::Result;
using Fault = LocalCloudServer::Fault;
using namespace std::chrono_literals;

namespace {

class CloudFirmwareFunctionTest : public ::testing::Test {
  protected:
    CloudFirmwareFunction::Configuration configuration() const {
        CloudFirmwareFunction::Configuration configuration;
        configuration.baseUrl = server.baseUrl();
        configuration.https.caFile = server.caFile();
        return configuration;
    }
    static FirmwareUpdateLog sampleLog() {
        return FirmwareUpdateLog(
            HostInfo("Shop \"Till\"", "Counter 3", "Linux6.1.0", "en", "Europe/Berlin"),
            PrinterInfo("Harlo586KZ-HF", 4, "1.0.2", "1.1.0", std::string("SN\\42\0\0", 7)));
    }

    LocalCloudServer server;
};

std::size_t threadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
    return count;
}

std::string threadNames() {
    std::string names;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream in(entry.path() / "comm");
        std::string name;
        std::getline(in, name);
        names += name + " ";
    }
    return names;
}

template <typename F>
std::chrono::milliseconds timed(F&& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

}  // namespace

TEST(CloudFirmwareFunctionURL, QueryKeepsOnlyLettersAndDigits) {
    const struct {
        const char* value;
        const char* query;
    } cases[] = {
        {"Harlo586KZ", "model=Harlo586KZ"},
        {"A B+C", "model=A%20B%2BC"},
        {"x-y_z.~/&=?", "model=x%2Dy%5Fz%2E%7E%2F%26%3D%3F"},
        {"caf\xC3\xA9", "model=caf%C3%A9"},
        {"A%20B", "model=A%20B"},  // already encoded: decoded first, so not encoded twice
        {"100%", "model=100%25"},  // a stray "%" cannot be decoded and is encoded as it is
        {"%zz", "model=%25zz"},
        {"%FF", "model=%25FF"},  // decodes to a byte that is not UTF-8: left as it was
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(CloudFirmwareFunction::makeURL("/v1/firmware/info", {{"model", c.value}}),
                  std::string("/v1/firmware/info?") + c.query);
    }
    EXPECT_EQ(CloudFirmwareFunction::makeURL("https://h/p", {}), "https://h/p");
    EXPECT_EQ(CloudFirmwareFunction::makeURL("https://h/p", {{"a b", "1"}, {"c", "2"}}),
              "https://h/p?a%20b=1&c=2");
}

TEST_F(CloudFirmwareFunctionTest, RequestsCarryThePathsQueryAndHeaders) {
    server.setFirmwareList({{"Harlo586KZ-HF", "pw-1", "main", "2.0.1", "1.0.0"},
                            {"Harlo586KZ-HF", "pw-2", "boot", "2.0.0", "1.0.1"}});
    const auto [infoResult, list] = CloudFirmwareFunction::fetchFirmwareInfo("Harlo 586+KZ", configuration());
    EXPECT_EQ(infoResult, Result::success);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], (FirmwareInfo{"Harlo586KZ-HF", "pw-1", "main", "2.0.1", "1.0.0"}));
    EXPECT_EQ(list[1].type, "boot");

    const auto [dataResult, image] =
        CloudFirmwareFunction::fetchFirmwareData("Harlo586KZ-HF", configuration());
    EXPECT_EQ(dataResult, Result::success);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->size(), 1024u);
    EXPECT_EQ((*image)[5], static_cast<std::uint8_t>(5 * 7 + 3));

    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), Result::success);

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::string userAgent = "FirmwareUpdate/1.0 iOS_Prelix10/" PRELIX10_VERSION;
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/v1/firmware/info?model=Harlo%20586%2BKZ");
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].target, "/v1/firmware/data?model=Harlo586KZ%2DHF");
    EXPECT_EQ(requests[2].method, "POST");
    EXPECT_EQ(requests[2].target, "/v1/client/info");
    for (const auto& request : requests) {
        SCOPED_TRACE(request.target);
        EXPECT_EQ(request.header("User-Agent"), userAgent);
        EXPECT_EQ(request.header("X-Functions-Key"), std::string(LocalCloudServer::kFirstKey));
        EXPECT_EQ(request.header("Content-Type").has_value(), request.method == "POST");
    }
    EXPECT_EQ(requests[2].header("Content-Type"), std::string("application/json"));
    // The POST headers arrive in the order Content-Type, User-Agent, X-Functions-Key.
    std::vector<std::string> order;
    for (const auto& [name, value] : requests[2].headers) {
        if (name == "Content-Type" || name == "User-Agent" || name == "X-Functions-Key")
            order.push_back(name);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Content-Type", "User-Agent", "X-Functions-Key"}));
}

TEST_F(CloudFirmwareFunctionTest, ClientInformationBodyByteForByte) {
    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), Result::success);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string expected =
        "{\n"
        "\t\"title\": \"OrvoFirmwareUpdateLog\",\n"
        "\t\"version\": \"1.0.0\",\n"
        "\t\"hostInfo\": {\n"
        "\t\t\"appInfo\": \"Shop \\\"Till\\\"\",\n"
        "\t\t\"model\": \"Counter 3\",\n"
        "\t\t\"os\": \"Linux6.1.0\",\n"
        "\t\t\"language\": \"en\",\n"
        "\t\t\"timeZone\": \"Europe/Berlin\"\n"
        "\t},\n"
        "\t\"printerInfo\": {\n"
        "\t\t\"model\": \"Harlo586KZ-HF\",\n"
        "\t\t\"connectedInterface\": 4,\n"
        "\t\t\"currentVersion\": \"1.0.2\",\n"
        "\t\t\"updateVersion\": \"1.1.0\",\n"
        "\t\t\"productSerialNumber\": \"SN\\\\42\"\n"
        "\t}\n"
        "}";
    EXPECT_EQ(requests[0].body, expected);
    EXPECT_EQ(requests[0].header("Content-Length"), std::to_string(expected.size()));
}

TEST_F(CloudFirmwareFunctionTest, StatusesMapToResultsAndOnlyUnauthorisedIsRetried) {
    const struct {
        Fault fault;
        Result get;
        Result post;
        std::size_t requestsEach;
    } cases[] = {
        {Fault::unauthorizedFirstKey, Result::success, Result::success, 2},
        {Fault::unauthorizedAlways, Result::authenticationError, Result::authenticationError, 2},
        {Fault::status400, Result::requestError, Result::requestError, 1},
        {Fault::status404, Result::communicationError, Result::communicationError, 1},
        {Fault::status500, Result::communicationError, Result::communicationError, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        server.setFault(c.fault);
        server.clearRequests();
        EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M1", configuration()).first, c.get);
        EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M1", configuration()).first, c.get);
        EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), c.post);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 3 * c.requestsEach);
        for (std::size_t i = 0; i < requests.size(); ++i) {
            const char* key =
                i % c.requestsEach == 0 ? LocalCloudServer::kFirstKey : LocalCloudServer::kSecondKey;
            EXPECT_EQ(requests[i].header("X-Functions-Key"), std::string(key)) << i;
        }
    }
}

TEST_F(CloudFirmwareFunctionTest, PostAcceptsOkAndCreated) {
    for (const int status : {200, 201}) {
        server.setPostStatus(status);
        EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), Result::success)
            << status;
    }
    server.setPostStatus(204);
    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()),
              Result::communicationError);
}

TEST_F(CloudFirmwareFunctionTest, BadBodiesGiveNoImageAndEmptyLists) {
    const struct {
        Fault fault;
        Result info;
        Result data;
    } cases[] = {
        {Fault::emptyOk, Result::communicationError, Result::communicationError},
        {Fault::malformedJson, Result::success, Result::success},
        {Fault::missingField, Result::success, Result::success},
        {Fault::emptyList, Result::success, Result::success},
        {Fault::oversizedBody, Result::networkError, Result::networkError},
        {Fault::closeMidBody, Result::networkError, Result::networkError},
    };
    auto config = configuration();
    config.https.maxBodyBytes = 64 * 1024;
    server.setOversizedBytes(200 * 1024);
    server.setFirmwareList({{"M", "p", "main", "1", "1"}, {"M", "p", "main", "2", "2"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        server.setFault(c.fault);
        const auto [infoResult, list] = CloudFirmwareFunction::fetchFirmwareInfo("M", config);
        EXPECT_EQ(infoResult, c.info);
        EXPECT_TRUE(list.empty());
        const auto [dataResult, image] = CloudFirmwareFunction::fetchFirmwareData("M", config);
        EXPECT_EQ(dataResult, c.data);
        if (c.data != Result::success) {
            EXPECT_FALSE(image.has_value());
        }
    }
    // A declared length over the cap fails just the same.
    server.setFault(Fault::none);
    server.setFirmwareImage(std::vector<std::uint8_t>(100 * 1024, 0x5A));
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M", config).first, Result::networkError);
    config.https.maxBodyBytes = 100 * 1024;
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M", config).second->size(), 100u * 1024);
}

TEST_F(CloudFirmwareFunctionTest, CertificateFromAnotherAuthorityIsANetworkError) {
    server.setFault(Fault::foreignCertificate);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", configuration()).first, Result::networkError);
    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), Result::networkError);
    EXPECT_GE(server.connectionCount(), 2u);
    EXPECT_EQ(server.requestCount(), 0u);
    // Without the test authority the system store does not know the server either.
    auto config = configuration();
    config.https.caFile.clear();
    server.setFault(Fault::none);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(CloudFirmwareFunctionTest, RedirectIsNotFollowedAndTheOtherPortSeesNothing) {
    LocalCloudServer other;
    server.setFault(Fault::redirect);
    server.setRedirectPort(other.port());
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", configuration()).first,
              Result::communicationError);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M", configuration()).first,
              Result::communicationError);
    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()),
              Result::communicationError);
    EXPECT_EQ(server.requestCount(), 3u);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(other.connectionCount(), 0u);
}

TEST_F(CloudFirmwareFunctionTest, SlowReplyIsAwaitedAndSilenceEndsAtTheIdleTimeout) {
    auto config = configuration();
    config.https.idleTimeout = 3000ms;
    server.setFault(Fault::delay);
    server.setDelay(700ms);
    std::pair<Result, std::vector<FirmwareInfo>> reply;
    const auto waited = timed([&] { reply = CloudFirmwareFunction::fetchFirmwareInfo("M", config); });
    EXPECT_EQ(reply.first, Result::success);
    EXPECT_EQ(reply.second.size(), 1u);
    EXPECT_GE(waited, 650ms);

    config.https.idleTimeout = 400ms;
    server.setDelay(2500ms);
    Result result = Result::success;
    const auto idle = timed([&] { result = CloudFirmwareFunction::fetchFirmwareData("M", config).first; });
    EXPECT_EQ(result, Result::networkError);
    EXPECT_LT(idle, 2000ms);
}

TEST_F(CloudFirmwareFunctionTest, StandardIdleTimeoutEndsAnElevenSecondSilence) {
    server.setFault(Fault::delay);
    server.setDelay(11000ms);
    Result result = Result::success;
    const auto waited =
        timed([&] { result = CloudFirmwareFunction::fetchFirmwareInfo("M", configuration()).first; });
    EXPECT_EQ(result, Result::networkError);
    EXPECT_GE(waited, 9500ms);
    EXPECT_LT(waited, 10900ms);
    EXPECT_EQ(server.requestCount(), 1u);
}

TEST_F(CloudFirmwareFunctionTest, CancelledOrTimedOutTransferLeavesNoThreadBehind) {
    // One finished request first, so that the threads the process keeps for good (the file logger's
    // worker) already run when the count is taken.
    CloudFirmwareFunction::fetchFirmwareInfo("M", configuration());
    server.setFault(Fault::delay);
    server.setDelay(5000ms);
    const std::size_t before = threadCount();
    std::atomic<bool> cancelled{false};
    Result result = Result::success;
    std::optional<std::vector<std::uint8_t>> image;
    const auto waited = timed([&] {
        std::thread canceller([&] {
            std::this_thread::sleep_for(200ms);
            cancelled = true;
        });
        std::tie(result, image) = CloudFirmwareFunction::fetchFirmwareData("M", configuration(), &cancelled);
        canceller.join();
    });
    EXPECT_EQ(result, Result::networkError);
    EXPECT_FALSE(image.has_value());
    EXPECT_LT(waited, 2000ms);
    EXPECT_EQ(threadCount(), before) << threadNames();

    // A retry is not made once the caller has cancelled.
    server.setFault(Fault::unauthorizedAlways);
    server.clearRequests();
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", configuration(), &cancelled).first,
              Result::networkError);
    EXPECT_EQ(server.requestCount(), 0u);

    auto config = configuration();
    config.https.idleTimeout = 300ms;
    server.setFault(Fault::delay);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M", config).first, Result::networkError);
    EXPECT_EQ(threadCount(), before);
}

TEST_F(CloudFirmwareFunctionTest, WithoutAServiceAddressNothingIsSent) {
    auto config = configuration();
    config.baseUrl.clear();
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    config.baseUrl = "http://127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    EXPECT_EQ(server.connectionCount(), 0u);
}

TEST_F(CloudFirmwareFunctionTest, ProcessWideConfigurationServesThePlainForms) {
    const auto saved = CloudFirmwareFunction::configuration();
    CloudFirmwareFunction::setConfiguration(configuration());
    const auto [result, list] = CloudFirmwareFunction::fetchFirmwareInfo(PrinterModelDetail::kelto59kkHf);
    const auto image = CloudFirmwareFunction::fetchFirmwareData(PrinterModelDetail::kelto59kkHf);
    const auto posted = CloudFirmwareFunction::postClientInfo(sampleLog());
    CloudFirmwareFunction::setConfiguration(saved);
    EXPECT_EQ(result, Result::success);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(image.first, Result::success);
    EXPECT_EQ(posted, Result::success);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].query,
              CloudFirmwareFunction::makeURL(
                  "", {{"model", PrinterModelDetails::rawValue(PrinterModelDetail::kelto59kkHf)}})
                  .substr(1));
}

TEST_F(CloudFirmwareFunctionTest, KeysAndPasswordsNeverReachTheLog) {
    const std::string password = "fw-secret-Pa55word";
    server.setFirmwareList({{"M", password, "main", "3.0.0", "1.0.0"}});
    auto& logger = Prelix10Logger::shared();
    logger.start();
    server.setFault(Fault::unauthorizedFirstKey);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", configuration()).second.at(0).password, password);
    EXPECT_EQ(CloudFirmwareFunction::postClientInfo(sampleLog(), configuration()), Result::success);
    server.setFault(Fault::foreignCertificate);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareData("M", configuration()).first, Result::networkError);
    logger.stop();
    auto fileLogger = sharedOrvoLogger();
    ASSERT_TRUE(fileLogger);
    fileLogger->waitUntilWritten();

    std::string all;
    const auto directory = PrivateFileManager::location();
    ASSERT_TRUE(directory);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*directory)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    EXPECT_NE(all.find("sendGetRequest(url:)"), std::string::npos);  // logging was on
    EXPECT_NE(all.find("/v1/firmware/info"), std::string::npos);
    for (const std::string& secret :
         {std::string(LocalCloudServer::kFirstKey), std::string(LocalCloudServer::kSecondKey), password,
          server.baseUrl(), std::string("127.0.0.1")}) {
        EXPECT_EQ(all.find(secret), std::string::npos) << secret;
    }
}

TEST_F(CloudFirmwareFunctionTest, LargeImageArrivesWhole) {
    std::vector<std::uint8_t> image(1024 * 1024);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    server.setFirmwareImage(image);
    const auto [result, received] = CloudFirmwareFunction::fetchFirmwareData("M", configuration());
    EXPECT_EQ(result, Result::success);
    ASSERT_TRUE(received.has_value());
    EXPECT_TRUE(*received == image);
}

// Only an image whose reply frames it (a declared length or chunks) and that arrived whole is handed on.
// A body that runs to the close cannot be told from a cut one, with or without a TLS close_notify.
TEST_F(CloudFirmwareFunctionTest, OnlyWholeFramedImagesAreHandedOn) {
    using Framing = LocalCloudServer::Framing;
    std::vector<std::uint8_t> image(4096);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 1);
    server.setFirmwareImage(image);
    const struct {
        Framing framing;
        const char* name;
        bool framed;
    } framings[] = {
        {Framing::contentLength, "content length", true},
        {Framing::chunked, "chunked", true},
        {Framing::closeWithNotify, "close with close_notify", false},
        {Framing::closeWithoutNotify, "close without close_notify", false},
    };
    for (const auto& framing : framings) {
        for (const double share : {0.0, 0.5, 0.99, 1.0}) {
            SCOPED_TRACE(std::string(framing.name) + " at " + std::to_string(share));
            server.setImageFraming(framing.framing, share);
            const auto [result, received] = CloudFirmwareFunction::fetchFirmwareData("M", configuration());
            if (framing.framed && share == 1.0) {
                EXPECT_EQ(result, Result::success);
                ASSERT_TRUE(received.has_value());
                EXPECT_TRUE(*received == image);
            } else {
                EXPECT_EQ(result, Result::networkError);
                EXPECT_FALSE(received.has_value());
            }
        }
    }
}

TEST_F(CloudFirmwareFunctionTest, ListRepliesHaveTheirOwnCapAndDepth) {
    // Over the list's cap but far under the image's: refused as a network error.
    server.setFirmwareList({{"M", std::string(CloudFirmwareFunction::kSmallReplyBytes, 'p'), "main", "1", "1"}});
    auto config = configuration();
    ASSERT_GT(config.https.maxBodyBytes, 2 * CloudFirmwareFunction::kSmallReplyBytes);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    server.setFirmwareList({{"M", std::string(1000, 'p'), "main", "1", "1"}});
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).second.size(), 1u);

    const std::string entry =
        R"({"model":"M","password":"[{","type":"main","mainVersion":"1","bootVersion":"1"})";
    const std::string list = R"({"firmwareInfo":[)" + entry + "]";
    EXPECT_TRUE(JsonFirmwareInfoList::decode(list + "}"));
    EXPECT_TRUE(JsonFirmwareInfoList::decode(list + R"(,"x":[[[[[]]]]]})"));
    EXPECT_FALSE(JsonFirmwareInfoList::decode(list + R"(,"x":[[[[[[[[[[]]]]]]]]]]})"));
    EXPECT_FALSE(JsonFirmwareInfoList::decode(std::string(100000, '[') + std::string(100000, ']')));
}

// A server that keeps bytes moving, but far too few, no longer holds the caller: the throughput over one
// idle window must reach the floor.
TEST_F(CloudFirmwareFunctionTest, TrickleEndsAtTheThroughputFloor) {
    server.setFirmwareImage(std::vector<std::uint8_t>(300, 0x42));
    server.setFault(Fault::trickle);
    server.setDelay(100ms);
    auto config = configuration();
    config.https.idleTimeout = 1000ms;
    Result result = Result::success;
    const auto elapsed = timed([&] { result = CloudFirmwareFunction::fetchFirmwareData("M", config).first; });
    EXPECT_EQ(result, Result::networkError);
    EXPECT_LT(elapsed, 15s);
}

// Connection and certificate failures leave curl's own text, which names the host and port, out of the log.
TEST_F(CloudFirmwareFunctionTest, FailuresLogNeitherHostNorPort) {
    std::uint16_t closedPort = 0;
    {
        LocalCloudServer gone;
        closedPort = gone.port();
    }
    auto& logger = Prelix10Logger::shared();
    logger.start();
    auto config = configuration();
    config.baseUrl = "https://127.0.0.1:" + std::to_string(closedPort);
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    // The certificate names 127.0.0.1 and localhost, not this host.
    config.baseUrl = "https://127.0.0.2:" + std::to_string(server.port());
    EXPECT_EQ(CloudFirmwareFunction::fetchFirmwareInfo("M", config).first, Result::networkError);
    logger.stop();
    auto fileLogger = sharedOrvoLogger();
    ASSERT_TRUE(fileLogger);
    fileLogger->waitUntilWritten();
    std::string all;
    const auto directory = PrivateFileManager::location();
    ASSERT_TRUE(directory);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(*directory)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        all += text.str();
    }
    EXPECT_NE(all.find("curl code"), std::string::npos);  // the failures were logged
    for (const std::string& secret : {std::string("127.0.0.1"), std::string("127.0.0.2"),
                                      std::to_string(closedPort), std::to_string(server.port())}) {
        EXPECT_EQ(all.find(secret), std::string::npos) << secret;
    }
}
