#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Prelix10Test {

// A stand-in for the firmware cloud service: HTTPS on 127.0.0.1 at an ephemeral port, with a throw-away
// certificate authority made at start whose certificate file the client is given. It answers the firmware
// list, firmware image and client-information endpoints, checks the user agent, the function key and the
// content type, records every request it reads, and can be told to misbehave. One connection is served
// at a time, each with bounded socket waits.
class LocalCloudServer {
  public:
    static constexpr const char* kFirstKey = "Qm7tRw-Lp3XaVn9KdZc2HfYs8UeBj4Tg_0PoWiEk5NqMhGx6ArCyDv==";
    static constexpr const char* kSecondKey = "Hb2kZe_Nw8QsLc4RtYp7GmVa1UoXj9Fd3Ki-EyTn6WqBr5PzMh0SgA==";

    enum class Fault {
        none,
        status400,
        unauthorizedFirstKey,  // 401 for the first key, normal answers for the second
        unauthorizedAlways,
        status404,
        status500,
        emptyOk,             // 200 with an empty body
        malformedJson,       // the list endpoint answers text that is not JSON
        missingField,        // the list holds an entry without "bootVersion"
        emptyList,           // {"firmwareInfo": []}
        oversizedBody,       // a 200 whose body runs to oversizedBytes, without a declared length
        redirect,            // 302 to the same path on redirectPort
        delay,               // waits `delay` before answering
        closeMidBody,        // declares the whole body, sends half, then drops the connection
        foreignCertificate,  // presents a certificate from an authority the client was not given
        trickle,             // declares the whole image, then sends one byte of it every `delay`
    };

    // How the image reply marks the end of its body, as a server may send it.
    enum class Framing {
        contentLength,
        chunked,
        closeWithNotify,     // no length, no chunks: the body ends at a TLS close_notify and a close
        closeWithoutNotify,  // no length, no chunks: the body ends at a bare TCP close
    };

    struct Request {
        std::string method;
        std::string target;  // path and query as sent
        std::string path;
        std::string query;
        std::vector<std::pair<std::string, std::string>> headers;  // in the order received
        std::string body;
        // Header value by case-insensitive name; nullopt when absent.
        std::optional<std::string> header(const std::string& name) const;
    };

    struct Firmware {
        std::string model, password, type, mainVersion, bootVersion;
    };

    LocalCloudServer();
    ~LocalCloudServer();
    LocalCloudServer(const LocalCloudServer&) = delete;
    LocalCloudServer& operator=(const LocalCloudServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "https://127.0.0.1:<port>"
    std::string baseUrl() const;
    // PEM file of the authority that signed the normal certificate.
    std::string caFile() const { return (directory_ / "ca.pem").string(); }

    void setFault(Fault fault);
    void setDelay(std::chrono::milliseconds delay);
    void setRedirectPort(std::uint16_t port);
    void setOversizedBytes(std::size_t bytes);
    void setFirmwareList(std::vector<Firmware> list);
    void setFirmwareImage(std::vector<std::uint8_t> image);
    // The image reply's framing, and the share of the image sent before the connection goes (1 sends it
    // whole and ends it as the framing says; less drops the link there without a TLS close, except for
    // closeWithNotify, which still ends with close_notify).
    void setImageFraming(Framing framing, double sentShare = 1.0);
    void setPostStatus(int status);
    void setExpectedUserAgent(std::string userAgent);

    std::vector<Request> requests() const;
    std::size_t requestCount() const;
    // TCP connections accepted, including those whose handshake failed.
    std::size_t connectionCount() const;
    void clearRequests();

  private:
    struct Tls;
    void run();
    void serve(int socket);
    // False when the server stops or the client hangs up first.
    bool waitOrStop(std::chrono::milliseconds delay, int socket);

    std::filesystem::path directory_;
    Tls* tls_ = nullptr;
    int listener_ = -1;
    std::uint16_t port_ = 0;

    mutable std::mutex mutex_;
    std::condition_variable stopWake_;
    bool stop_ = false;
    Fault fault_ = Fault::none;
    std::chrono::milliseconds delay_{11000};
    std::uint16_t redirectPort_ = 0;
    std::size_t oversizedBytes_ = 128 * 1024;
    std::vector<Firmware> list_;
    std::vector<std::uint8_t> image_;
    Framing framing_ = Framing::contentLength;
    double sentShare_ = 1.0;
    int postStatus_ = 201;
    std::string userAgent_;
    std::vector<Request> requests_;
    std::size_t connections_ = 0;
    std::thread worker_;
};

}  // namespace Prelix10Test
