#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Prelix10 {

// One HTTPS request. Header values may hold secrets: no backend writes them to the log.
struct HttpsRequest {
    std::string method = "GET";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

// How a request is carried. Certificate and host-name verification are always on; caFile only chooses
// which authorities are trusted ("" means the system's store).
struct HttpsOptions {
    std::string caFile;
    // Replies longer than this fail as a transport error; nothing of them is kept.
    std::size_t maxBodyBytes = 64u * 1024u * 1024u;
    std::chrono::milliseconds connectTimeout{10000};
    // The longest time without any byte moving; a slow but steady transfer is never cut off.
    std::chrono::milliseconds idleTimeout{10000};
    // The slowest average a transfer may keep up over one idle window before it ends as timed out, so
    // that a trickle cannot hold the caller for ever while a large reply on a slow link still arrives.
    std::size_t minimumBytesPerSecond = 4096;
};

enum class HttpsFailure {
    none,
    // Could not connect, TLS or certificate failure, reset, malformed reply.
    transport,
    timedOut,
    tooLarge,
    cancelled,
};

// The outcome: either a failure, or the status and the whole body of the reply. Redirects are never
// followed, so a 3xx is an ordinary status here.
struct HttpsResponse {
    HttpsFailure failure = HttpsFailure::transport;
    long status = 0;
    std::vector<std::uint8_t> body;
    // How the reply marked the end of its body: the length it declared, or chunked framing. With neither,
    // the body ran until the connection closed and cannot be told from one cut short.
    std::optional<std::uint64_t> declaredLength;
    bool chunked = false;
    // For the log: the failure class and the backend's code, never the backend's own text, which names the
    // host and port.
    std::string failureText;

    bool framed() const { return declaredLength.has_value() || chunked; }

    bool ok() const { return failure == HttpsFailure::none; }
};

// Carries one request at a time on the caller's thread and returns only when the exchange has ended:
// the reply is complete, or it failed, timed out or was cancelled. No thread outlives the call.
class HttpsTransport {
  public:
    virtual ~HttpsTransport() = default;
    // `cancelled`, when given, is polled during the transfer; setting it ends the call soon after.
    virtual HttpsResponse perform(const HttpsRequest& request, const HttpsOptions& options,
                                  const std::atomic<bool>* cancelled) = 0;
};

// Notes what one reply header line ("Name: value" with its line end, or a status line, which starts the
// reply afresh) says about the body's framing: Content-Length and a chunked Transfer-Encoding. Other lines
// and malformed values leave the response as it was.
void noteFramingHeader(std::string_view line, HttpsResponse& response);

// The libcurl backend.
std::shared_ptr<HttpsTransport> makeCurlHttpsTransport();

}  // namespace Prelix10
