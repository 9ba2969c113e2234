#include "prelix10/platform/CurlHttpsTransport.hpp"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <cstdint>
#include <memory>
#include <mutex>

namespace Prelix10 {

namespace {

void globalInitOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Transfer {
    CURL* easy;
    HttpsResponse* response;
    std::vector<std::uint8_t>* body;
    std::size_t maxBodyBytes;
    bool tooLarge = false;
    const std::atomic<bool>* cancelled;
    bool wasCancelled = false;
    std::chrono::milliseconds idleTimeout;
    std::chrono::steady_clock::time_point lastActivity;
    curl_off_t lastMoved = -1;
    bool idleExpired = false;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    // The body never exceeds the cap, so the subtraction cannot wrap.
    if (length > transfer->maxBodyBytes - transfer->body->size()) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->body->insert(transfer->body->end(), data, data + length);
    return length;
}

// True when the transfer must end now: cancelled, or silent for the idle time-out.
bool shouldStop(Transfer* transfer, curl_off_t downloaded, curl_off_t uploaded) {
    if (transfer->cancelled && transfer->cancelled->load()) {
        transfer->wasCancelled = true;
        return true;
    }
    const auto now = std::chrono::steady_clock::now();
    // Until the TLS session stands, the connect time-out rules; silence counts only from then on.
    curl_off_t connected = 0;
    if (curl_easy_getinfo(transfer->easy, CURLINFO_APPCONNECT_TIME_T, &connected) != CURLE_OK ||
        connected <= 0) {
        transfer->lastActivity = now;
        return false;
    }
    const curl_off_t moved = downloaded + uploaded;
    if (moved != transfer->lastMoved) {
        transfer->lastMoved = moved;
        transfer->lastActivity = now;
    } else if (now - transfer->lastActivity >= transfer->idleTimeout) {
        transfer->idleExpired = true;
        return true;
    }
    return false;
}

// Hands each header line to the framing note.
std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    noteFramingHeader(std::string_view(data, length), *transfer->response);
    return length;
}

int onProgress(void* user, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
    return shouldStop(static_cast<Transfer*>(user), downloaded, uploaded) ? 1 : 0;
}

struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// Runs the transfer on this thread, waking at least every 50 ms to look at the cancel flag and the idle
// clock: libcurl's own loop may sleep a second between progress calls.
CURLcode runTransfer(CURL* easy, Transfer& transfer) {
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    CURLcode code = CURLE_OK;
    bool finished = false;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
            if (message->msg == CURLMSG_DONE) {
                code = message->data.result;
                finished = true;
            }
        }
        if (finished || running == 0) break;
        curl_off_t downloaded = 0;
        curl_off_t uploaded = 0;
        curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &downloaded);
        curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &uploaded);
        if (shouldStop(&transfer, downloaded, uploaded)) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_poll(multi.get(), nullptr, 0, 50, nullptr) != CURLM_OK) {
            code = CURLE_RECV_ERROR;
            break;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return code;
}

long clampMilliseconds(std::chrono::milliseconds value) {
    return static_cast<long>(std::clamp<std::chrono::milliseconds::rep>(value.count(), 1, 24L * 3600 * 1000));
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

namespace {
bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

// Each status line starts afresh, so an interim reply's headers do not count for the final one.
void noteFramingHeader(std::string_view line, HttpsResponse& response) {
    if (startsWithNoCase(line, "http/")) {
        response.declaredLength.reset();
        response.chunked = false;
    } else if (startsWithNoCase(line, "content-length:")) {
        const std::string_view value = trimmed(line.substr(15));
        std::uint64_t parsed = 0;
        bool valid = !value.empty();
        for (const char c : value) {
            if (c < '0' || c > '9' || parsed > (UINT64_MAX - 9) / 10) {
                valid = false;
                break;
            }
            parsed = parsed * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (valid) response.declaredLength = parsed;
    } else if (startsWithNoCase(line, "transfer-encoding:")) {
        std::string value(trimmed(line.substr(18)));
        std::transform(value.begin(), value.end(), value.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        // Chunked is always the last coding when present.
        response.chunked = value.size() >= 7 && value.compare(value.size() - 7, 7, "chunked") == 0;
    }
}

CurlHttpsTransport::CurlHttpsTransport() {
    globalInitOnce();
}

HttpsResponse CurlHttpsTransport::perform(const HttpsRequest& request, const HttpsOptions& options,
                                          const std::atomic<bool>* cancelled) {
    HttpsResponse response;
    if (request.url.rfind("https://", 0) != 0) {
        response.failureText = "only https addresses are accepted";
        return response;
    }
    std::unique_ptr<CURL, EasyDeleter> handle(curl_easy_init());
    if (!handle) {
        response.failureText = "could not create a transfer";
        return response;
    }
    CURL* easy = handle.get();
    std::unique_ptr<curl_slist, ListDeleter> headers;
    for (const auto& [name, value] : request.headers) {
        const std::string line = name + ": " + value;
        curl_slist* appended = curl_slist_append(headers.get(), line.c_str());
        if (!appended) {
            response.failureText = "could not build the headers";
            return response;
        }
        (void)headers.release();
        headers.reset(appended);
    }
    // Without this libcurl would add "Expect: 100-continue" to larger bodies and wait for it.
    if (curl_slist* appended = curl_slist_append(headers.get(), "Expect:")) {
        (void)headers.release();
        headers.reset(appended);
    }

    Transfer transfer{easy,  &response, &response.body,      options.maxBodyBytes,
                      false, cancelled, false,               options.idleTimeout,
                      std::chrono::steady_clock::now()};

    curl_easy_setopt(easy, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.caFile.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, options.caFile.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, clampMilliseconds(options.connectTimeout));
    // libcurl's own low-speed check works in whole seconds: it holds the throughput floor over the idle
    // window, while onProgress catches plain silence more finely.
    const long idleSeconds = std::max<long>(1, (clampMilliseconds(options.idleTimeout) + 999) / 1000);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT,
                     static_cast<long>(std::clamp<std::size_t>(options.minimumBytesPerSecond, 1, 1u << 30)));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, idleSeconds);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    // A declared length over the cap fails before any of the body is read.
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE,
                     static_cast<curl_off_t>(std::min<std::uint64_t>(options.maxBodyBytes, INT64_MAX)));
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
    if (request.method == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        if (request.method == "POST") {
            curl_easy_setopt(easy, CURLOPT_POST, 1L);
        } else {
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        }
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request.body.data());
    }

    const CURLcode code = runTransfer(easy, transfer);
    if (code == CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        response.failure = HttpsFailure::none;
        response.status = status;
        return response;
    }
    response.body.clear();
    response.body.shrink_to_fit();
    if (transfer.wasCancelled) {
        response.failure = HttpsFailure::cancelled;
    } else if (transfer.idleExpired || code == CURLE_OPERATION_TIMEDOUT) {
        response.failure = HttpsFailure::timedOut;
    } else if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        response.failure = HttpsFailure::tooLarge;
    } else {
        response.failure = HttpsFailure::transport;
    }
    response.declaredLength.reset();
    response.chunked = false;
    // libcurl's own text names the host and port; the code alone says what failed.
    response.failureText = "curl code " + std::to_string(static_cast<int>(code));
    return response;
}

std::shared_ptr<HttpsTransport> makeCurlHttpsTransport() {
    return std::make_shared<CurlHttpsTransport>();
}

}  // namespace Prelix10
