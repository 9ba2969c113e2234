#include "prelix10/setting/CloudFirmwareFunction.hpp"

#include <algorithm>
#include <cstdint>
#include <mutex>

#include "prelix10/core/JSONBuilder.hpp"
#include "prelix10/core/LibraryVersion.hpp"
#include "prelix10/core/Log.hpp"

namespace Prelix10 {

namespace {

using Result = CloudFirmwareFunction::Result;
constexpr char kClassName[] = "CloudFirmwareFunction";
constexpr char kInfoPath[] = "/v1/firmware/info";
constexpr char kDataPath[] = "/v1/firmware/data";
constexpr char kClientInfoPath[] = "/v1/client/info";

std::mutex& configurationMutex() {
    static std::mutex m;
    return m;
}
CloudFirmwareFunction::Configuration& configurationSlot() {
    static CloudFirmwareFunction::Configuration slot;
    return slot;
}

Log logSite(const char* method, int line) {
    return Log(nullptr, kClassName, method, line);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t extra;
        std::uint32_t value;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            value = lead & 0x07;
        } else {
            return false;
        }
        if (extra >= text.size() - i) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3F);
        }
        const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (value < minimum[extra] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// The text with %XX sequences decoded; unchanged when a sequence is malformed or the result is not UTF-8.
std::string removingPercentEncoding(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded += text[i];
            continue;
        }
        if (text.size() - i < 3) return text;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return text;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return isValidUtf8(decoded) ? decoded : text;
}

std::string percentEncoded(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size() * 3);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

// A reply whose body ran until the connection closed cannot be told from one cut short, whatever the TLS
// layer said at the close; and a declared length must be met exactly.
bool wholeReply(const HttpsResponse& response) {
    if (!response.framed()) return false;
    return !response.declaredLength || *response.declaredLength == response.body.size();
}

Result resultOfGet(const HttpsResponse& response) {
    if (!response.ok() || !wholeReply(response)) return Result::networkError;
    switch (response.status) {
        case 200:
            return response.body.empty() ? Result::communicationError : Result::success;
        case 400:
            return Result::requestError;
        case 401:
            return Result::authenticationError;
        default:
            return Result::communicationError;
    }
}

Result resultOfPost(const HttpsResponse& response) {
    if (!response.ok() || !wholeReply(response)) return Result::networkError;
    switch (response.status) {
        case 200:
        case 201:
            return Result::success;
        case 400:
            return Result::requestError;
        case 401:
            return Result::authenticationError;
        default:
            return Result::communicationError;
    }
}

const char* describe(HttpsFailure failure) {
    switch (failure) {
        case HttpsFailure::none:
            return "none";
        case HttpsFailure::transport:
            return "transport";
        case HttpsFailure::timedOut:
            return "timed out";
        case HttpsFailure::tooLarge:
            return "reply too large";
        case HttpsFailure::cancelled:
            return "cancelled";
    }
    return "transport";
}

// One request with the first key and, when it is refused as unauthorised, once more with the second.
// `target` is the path and query: the log shows it, never the host or a header.
Result send(const std::string& target, const std::string* body,
            const CloudFirmwareFunction::Configuration& configuration, const std::atomic<bool>* cancelled,
            std::vector<std::uint8_t>* replyBody, std::size_t replyCap) {
    const bool isPost = body != nullptr;
    const Log log = logSite(isPost ? "sendPostRequest(url:body:)" : "sendGetRequest(url:)", __LINE__);
    if (configuration.baseUrl.empty()) {
        log.writeIfLogging("Error - no service address is configured");
        return Result::networkError;
    }
    const std::shared_ptr<HttpsTransport> transport =
        configuration.transport ? configuration.transport : makeCurlHttpsTransport();
    HttpsRequest request;
    request.method = isPost ? "POST" : "GET";
    request.url = configuration.baseUrl + target;
    if (isPost) request.body = *body;
    HttpsOptions options = configuration.https;
    options.maxBodyBytes = std::min(options.maxBodyBytes, replyCap);

    Result result = Result::networkError;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string& key =
            attempt == 0 ? configuration.firstFunctionKey : configuration.secondFunctionKey;
        request.headers.clear();
        if (isPost) request.headers.emplace_back("Content-Type", "application/json");
        request.headers.emplace_back("User-Agent", CloudFirmwareFunction::userAgent());
        request.headers.emplace_back("X-Functions-Key", key);
        if (Prelix10Logger::shared().isLogging()) {
            log.write(std::string(request.method) + " " + target + " attempt " + std::to_string(attempt + 1));
        }
        HttpsResponse response = transport->perform(request, options, cancelled);
        result = isPost ? resultOfPost(response) : resultOfGet(response);
        if (Prelix10Logger::shared().isLogging()) {
            if (response.ok()) {
                log.write("Status " + std::to_string(response.status) + ", " +
                          std::to_string(response.body.size()) +
                          " bytes: " + CloudFirmwareFunction::describe(result));
            } else {
                log.write(std::string("Error - ") + describe(response.failure) + ", " + response.failureText);
            }
            if (response.ok() && !wholeReply(response)) log.write("Error - the reply is not framed whole");
        }
        if (result == Result::success && replyBody) *replyBody = std::move(response.body);
        if (result != Result::authenticationError || (cancelled && cancelled->load())) break;
    }
    return result;
}

}  // namespace

CloudFirmwareFunction::Configuration CloudFirmwareFunction::configuration() {
    std::lock_guard guard(configurationMutex());
    return configurationSlot();
}

void CloudFirmwareFunction::setConfiguration(Configuration configuration) {
    std::lock_guard guard(configurationMutex());
    configurationSlot() = std::move(configuration);
}

std::pair<Result, std::vector<FirmwareInfo>> CloudFirmwareFunction::fetchFirmwareInfo(
    PrinterModelDetail model) {
    return fetchFirmwareInfo(PrinterModelDetails::rawValue(model), configuration());
}

std::pair<Result, std::optional<std::vector<std::uint8_t>>> CloudFirmwareFunction::fetchFirmwareData(
    PrinterModelDetail model) {
    return fetchFirmwareData(PrinterModelDetails::rawValue(model), configuration());
}

Result CloudFirmwareFunction::postClientInfo(const FirmwareUpdateLog& log) {
    return postClientInfo(log, configuration());
}

std::pair<Result, std::vector<FirmwareInfo>> CloudFirmwareFunction::fetchFirmwareInfo(
    std::string_view model, const Configuration& configuration, const std::atomic<bool>* cancelled) {
    const std::string target = makeURL(kInfoPath, {{"model", std::string(model)}});
    std::vector<std::uint8_t> body;
    const Result result = send(target, nullptr, configuration, cancelled, &body, kSmallReplyBytes);
    if (result != Result::success) return {result, {}};
    auto decoded = JsonFirmwareInfoList::decode(
        std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
    if (!decoded) {
        logSite("fetchFirmwareInfo(model:)", __LINE__).writeIfLogging("The firmware list does not decode");
        return {Result::success, {}};
    }
    return {Result::success, std::move(decoded->firmwareInfo)};
}

std::pair<Result, std::optional<std::vector<std::uint8_t>>> CloudFirmwareFunction::fetchFirmwareData(
    std::string_view model, const Configuration& configuration, const std::atomic<bool>* cancelled) {
    const std::string target = makeURL(kDataPath, {{"model", std::string(model)}});
    std::vector<std::uint8_t> body;
    const Result result = send(target, nullptr, configuration, cancelled, &body, SIZE_MAX);
    if (result != Result::success) return {result, std::nullopt};
    return {result, std::move(body)};
}

Result CloudFirmwareFunction::postClientInfo(const FirmwareUpdateLog& log, const Configuration& configuration,
                                             const std::atomic<bool>* cancelled) {
    const std::string body = clientInfoBody(log);
    return send(makeURL(kClientInfoPath, {}), &body, configuration, cancelled, nullptr, kSmallReplyBytes);
}

std::string CloudFirmwareFunction::makeURL(const std::string& url,
                                           const std::vector<std::pair<std::string, std::string>>& query) {
    if (query.empty()) return url;
    std::string text = url + "?";
    bool first = true;
    for (const auto& [key, value] : query) {
        if (!first) text += '&';
        first = false;
        text += percentEncoded(removingPercentEncoding(key));
        text += '=';
        text += percentEncoded(removingPercentEncoding(value));
    }
    return text;
}

std::string CloudFirmwareFunction::userAgent() {
    const std::string version = libraryVersion();
    return "FirmwareUpdate/1.0 iOS_Prelix10/" + (version.empty() ? std::string("0.0.0") : version);
}

std::string CloudFirmwareFunction::clientInfoBody(const FirmwareUpdateLog& log) {
    const JSONBuilder builder;
    const std::string& newLine = builder.newLineCode();
    const std::string& indent = builder.indentCode();
    std::string body = "{" + newLine;
    body += indent + "\"title\": " + builder.build(JsonValue(log.title), 1) + "," + newLine;
    body += indent + "\"version\": " + builder.build(JsonValue(log.version), 1) + "," + newLine;
    body += indent + "\"hostInfo\": " + builder.build(log.hostInfo.toDictionary(), 1) + "," + newLine;
    body += indent + "\"printerInfo\": " + builder.build(log.printerInfo.toDictionary(), 1) + newLine;
    body += "}";
    return body;
}

const char* CloudFirmwareFunction::describe(Result result) {
    switch (result) {
        case Result::success:
            return "success";
        case Result::networkError:
            return "networkError";
        case Result::communicationError:
            return "communicationError";
        case Result::requestError:
            return "requestError";
        case Result::authenticationError:
            return "authenticationError";
    }
    return "networkError";
}

}  // namespace Prelix10
