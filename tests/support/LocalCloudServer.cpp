#include "support/LocalCloudServer.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <system_error>

#include "prelix10/core/LibraryVersion.hpp"

namespace Prelix10Test {

namespace {

struct KeyDeleter {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateDeleter {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyDeleter>;
using CertificatePtr = std::unique_ptr<X509, CertificateDeleter>;

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(std::string("local cloud server: ") + what);
}

KeyPtr makeKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    check(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    check(extension != nullptr, "certificate extension");
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

// A certificate for `key` named `commonName`; self-signed when no issuer is given.
CertificatePtr makeCertificate(const char* commonName, EVP_PKEY* key, X509* issuer, EVP_PKEY* issuerKey,
                               bool authority, long serial) {
    CertificatePtr certificate(X509_new());
    check(certificate != nullptr, "certificate");
    X509* cert = certificate.get();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 2L * 24 * 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName),
                               -1, -1, 0);
    X509_set_issuer_name(cert, issuer ? X509_get_subject_name(issuer) : name);
    X509* signer = issuer ? issuer : cert;
    if (authority) {
        addExtension(cert, signer, NID_basic_constraints, "critical,CA:TRUE");
        addExtension(cert, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
        addExtension(cert, signer, NID_subject_key_identifier, "hash");
    } else {
        addExtension(cert, signer, NID_basic_constraints, "critical,CA:FALSE");
        addExtension(cert, signer, NID_key_usage, "critical,digitalSignature,keyAgreement");
        addExtension(cert, signer, NID_ext_key_usage, "serverAuth");
        addExtension(cert, signer, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost");
        addExtension(cert, signer, NID_authority_key_identifier, "keyid:always");
    }
    check(X509_sign(cert, issuerKey ? issuerKey : key, EVP_sha256()) > 0, "signing");
    return certificate;
}

SSL_CTX* makeContext(X509* certificate, EVP_PKEY* key) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    check(context != nullptr, "TLS context");
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    check(SSL_CTX_use_certificate(context, certificate) == 1, "server certificate");
    check(SSL_CTX_use_PrivateKey(context, key) == 1, "server key");
    return context;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool writeAll(SSL* ssl, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(data.size() - sent, 16384));
        const int written = SSL_write(ssl, data.data() + sent, chunk);
        if (written <= 0) return false;
        sent += static_cast<std::size_t>(written);
    }
    return true;
}

const char* reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 201:
            return "Created";
        case 302:
            return "Found";
        case 400:
            return "Bad Request";
        case 401:
            return "Unauthorized";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

std::string head(int status, const std::string& contentType, std::optional<std::size_t> length,
                 const std::string& extra = "") {
    std::string text = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + "\r\n";
    if (!contentType.empty()) text += "Content-Type: " + contentType + "\r\n";
    if (length) text += "Content-Length: " + std::to_string(*length) + "\r\n";
    return text + extra + "Connection: close\r\n\r\n";
}

std::string listJson(const std::vector<LocalCloudServer::Firmware>& list, bool dropBootVersion) {
    nlohmann::ordered_json entries = nlohmann::ordered_json::array();
    for (std::size_t i = 0; i < list.size(); ++i) {
        nlohmann::ordered_json entry;
        entry["model"] = list[i].model;
        entry["password"] = list[i].password;
        entry["type"] = list[i].type;
        entry["mainVersion"] = list[i].mainVersion;
        if (!(dropBootVersion && i + 1 == list.size())) entry["bootVersion"] = list[i].bootVersion;
        entries.push_back(std::move(entry));
    }
    nlohmann::ordered_json document;
    document["firmwareInfo"] = std::move(entries);
    return document.dump();
}

}  // namespace

struct LocalCloudServer::Tls {
    SSL_CTX* normal = nullptr;
    SSL_CTX* foreign = nullptr;
    ~Tls() {
        SSL_CTX_free(normal);
        SSL_CTX_free(foreign);
    }
};

std::optional<std::string> LocalCloudServer::Request::header(const std::string& name) const {
    const std::string wanted = lower(name);
    for (const auto& [key, value] : headers) {
        if (lower(key) == wanted) return value;
    }
    return std::nullopt;
}

LocalCloudServer::LocalCloudServer() {
    // A client that gives up mid-reply must not kill the test process on the next write.
    ::signal(SIGPIPE, SIG_IGN);
    std::string pattern = (std::filesystem::temp_directory_path() / "prelix10-cloud-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::system_error(errno, std::generic_category(), "mkdtemp");
    directory_ = pattern;

    list_ = {{"Harlo586KZ-HF", "fw-pass-7731", "main", "1.2.0", "0.9.1"}};
    image_.resize(1024);
    for (std::size_t i = 0; i < image_.size(); ++i) image_[i] = static_cast<std::uint8_t>(i * 7 + 3);
    userAgent_ = "FirmwareUpdate/1.0 iOS_Prelix10/" + Prelix10::libraryVersion();

    auto tls = std::make_unique<Tls>();
    const KeyPtr authorityKey = makeKey();
    const CertificatePtr authority =
        makeCertificate("Prelix10 Test Authority", authorityKey.get(), nullptr, nullptr, true, 1);
    const KeyPtr serverKey = makeKey();
    const CertificatePtr server =
        makeCertificate("127.0.0.1", serverKey.get(), authority.get(), authorityKey.get(), false, 2);
    const KeyPtr otherKey = makeKey();
    const CertificatePtr other =
        makeCertificate("Prelix10 Other Authority", otherKey.get(), nullptr, nullptr, true, 3);
    const CertificatePtr foreign =
        makeCertificate("127.0.0.1", serverKey.get(), other.get(), otherKey.get(), false, 4);
    tls->normal = makeContext(server.get(), serverKey.get());
    tls->foreign = makeContext(foreign.get(), serverKey.get());
    {
        FILE* file = std::fopen(caFile().c_str(), "w");
        check(file != nullptr, "CA file");
        const bool written = PEM_write_X509(file, authority.get()) == 1;
        std::fclose(file);
        check(written, "CA file");
    }

    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    check(listener_ >= 0, "socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    const bool bound = ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       ::listen(listener_, 16) == 0 &&
                       ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    if (!bound) {
        ::close(listener_);
        check(false, "bind");
    }
    port_ = ntohs(address.sin_port);
    tls_ = tls.release();
    worker_ = std::thread([this] { run(); });
}

LocalCloudServer::~LocalCloudServer() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    stopWake_.notify_all();
    if (worker_.joinable()) worker_.join();
    if (listener_ >= 0) ::close(listener_);
    delete tls_;
    std::error_code error;
    std::filesystem::remove_all(directory_, error);
}

std::string LocalCloudServer::baseUrl() const {
    return "https://127.0.0.1:" + std::to_string(port_);
}

void LocalCloudServer::setFault(Fault fault) {
    std::lock_guard lock(mutex_);
    fault_ = fault;
}
void LocalCloudServer::setDelay(std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    delay_ = delay;
}
void LocalCloudServer::setRedirectPort(std::uint16_t port) {
    std::lock_guard lock(mutex_);
    redirectPort_ = port;
}
void LocalCloudServer::setOversizedBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    oversizedBytes_ = bytes;
}
void LocalCloudServer::setFirmwareList(std::vector<Firmware> list) {
    std::lock_guard lock(mutex_);
    list_ = std::move(list);
}
void LocalCloudServer::setFirmwareImage(std::vector<std::uint8_t> image) {
    std::lock_guard lock(mutex_);
    image_ = std::move(image);
}
void LocalCloudServer::setImageFraming(Framing framing, double sentShare) {
    std::lock_guard lock(mutex_);
    framing_ = framing;
    sentShare_ = std::clamp(sentShare, 0.0, 1.0);
}
void LocalCloudServer::setPostStatus(int status) {
    std::lock_guard lock(mutex_);
    postStatus_ = status;
}
void LocalCloudServer::setExpectedUserAgent(std::string userAgent) {
    std::lock_guard lock(mutex_);
    userAgent_ = std::move(userAgent);
}
std::vector<LocalCloudServer::Request> LocalCloudServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}
std::size_t LocalCloudServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}
std::size_t LocalCloudServer::connectionCount() const {
    std::lock_guard lock(mutex_);
    return connections_;
}
void LocalCloudServer::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    connections_ = 0;
}

bool LocalCloudServer::waitOrStop(std::chrono::milliseconds delay, int socket) {
    // In short slices, so that a client that gives up frees the server at once.
    const auto end = std::chrono::steady_clock::now() + delay;
    std::unique_lock lock(mutex_);
    while (!stop_) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return true;
        stopWake_.wait_for(
            lock, std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(20)));
        pollfd entry{socket, POLLRDHUP, 0};
        if (::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR))) return false;
    }
    return false;
}

void LocalCloudServer::run() {
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stop_) return;
        }
        pollfd entry{listener_, POLLIN, 0};
        if (::poll(&entry, 1, 50) <= 0) continue;
        const int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) continue;
        timeval limit{3, 0};
        ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        try {
            serve(socket);
        } catch (...) {
        }
        ::close(socket);
    }
}

void LocalCloudServer::serve(int socket) {
    Fault fault;
    {
        std::lock_guard lock(mutex_);
        ++connections_;
        fault = fault_;
    }
    std::unique_ptr<SSL, decltype(&SSL_free)> ssl(
        SSL_new(fault == Fault::foreignCertificate ? tls_->foreign : tls_->normal), SSL_free);
    if (!ssl) return;
    SSL_set_fd(ssl.get(), socket);
    if (SSL_accept(ssl.get()) != 1) {
        ERR_clear_error();
        return;
    }

    // The request head, then the declared body; both bounded.
    std::string data;
    char buffer[8192];
    std::size_t headEnd;
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
        if (data.size() > 64 * 1024) return;
        const int got = SSL_read(ssl.get(), buffer, sizeof buffer);
        if (got <= 0) return;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    Request request;
    const std::string headText = data.substr(0, headEnd);
    std::size_t lineEnd = headText.find("\r\n");
    const std::string requestLine = headText.substr(0, lineEnd);
    const auto firstSpace = requestLine.find(' ');
    const auto secondSpace = requestLine.find(' ', firstSpace + 1);
    if (firstSpace == std::string::npos || secondSpace == std::string::npos) return;
    request.method = requestLine.substr(0, firstSpace);
    request.target = requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    const auto question = request.target.find('?');
    request.path = request.target.substr(0, question);
    if (question != std::string::npos) request.query = request.target.substr(question + 1);
    while (lineEnd != std::string::npos) {
        const std::size_t start = lineEnd + 2;
        lineEnd = headText.find("\r\n", start);
        const std::string line =
            headText.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        request.headers.emplace_back(line.substr(0, colon), value);
    }
    std::size_t contentLength = 0;
    if (auto declared = request.header("Content-Length")) {
        contentLength = std::stoul(*declared);
        if (contentLength > 1024 * 1024) return;
    }
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < contentLength) {
        const int got = SSL_read(ssl.get(), buffer, sizeof buffer);
        if (got <= 0) return;
        request.body.append(buffer, static_cast<std::size_t>(got));
    }

    std::chrono::milliseconds delay;
    std::uint16_t redirectPort;
    std::size_t oversized;
    std::vector<Firmware> list;
    std::vector<std::uint8_t> image;
    int postStatus;
    std::string userAgent;
    Framing framing;
    double sentShare;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        delay = delay_;
        redirectPort = redirectPort_;
        oversized = oversizedBytes_;
        list = list_;
        image = image_;
        postStatus = postStatus_;
        userAgent = userAgent_;
        framing = framing_;
        sentShare = sentShare_;
    }

    auto answer = [&](int status, const std::string& contentType, const std::string& body,
                      const std::string& extra = "") {
        if (writeAll(ssl.get(), head(status, contentType, body.size(), extra) + body))
            SSL_shutdown(ssl.get());
    };

    const std::string key = request.header("X-Functions-Key").value_or("");
    if (request.header("User-Agent") != userAgent) return answer(400, "text/plain", "bad user agent");
    if (key != kFirstKey && key != kSecondKey) return answer(401, "text/plain", "unknown key");
    if (request.method == "POST" && request.header("Content-Type") != "application/json")
        return answer(400, "text/plain", "bad content type");

    switch (fault) {
        case Fault::status400:
            return answer(400, "text/plain", "bad request");
        case Fault::status404:
            return answer(404, "text/plain", "not found");
        case Fault::status500:
            return answer(500, "text/plain", "failure");
        case Fault::unauthorizedAlways:
            return answer(401, "text/plain", "unauthorized");
        case Fault::unauthorizedFirstKey:
            if (key == kFirstKey) return answer(401, "text/plain", "unauthorized");
            break;
        case Fault::emptyOk:
            return answer(200, "application/json", "");
        case Fault::redirect:
            return answer(
                302, "text/plain", "moved",
                "Location: https://127.0.0.1:" + std::to_string(redirectPort) + request.target + "\r\n");
        case Fault::delay:
            if (!waitOrStop(delay, socket)) return;
            break;
        case Fault::oversizedBody: {
            if (!writeAll(ssl.get(), head(200, "application/octet-stream", std::nullopt))) return;
            const std::string block(16384, 'x');
            for (std::size_t sent = 0; sent < oversized; sent += block.size()) {
                if (!writeAll(ssl.get(), block.substr(0, std::min(block.size(), oversized - sent)))) return;
            }
            SSL_shutdown(ssl.get());
            return;
        }
        default:
            break;
    }

    std::string body;
    std::string contentType = "application/json";
    int status = 200;
    if (request.path == "/v1/firmware/info" && request.method == "GET") {
        if (fault == Fault::malformedJson) {
            body = "{\"firmwareInfo\": [{\"model\": ";
        } else if (fault == Fault::emptyList) {
            body = "{\"firmwareInfo\": []}";
        } else {
            body = listJson(list, fault == Fault::missingField);
        }
    } else if (request.path == "/v1/firmware/data" && request.method == "GET") {
        body.assign(image.begin(), image.end());
        contentType = "application/octet-stream";
    } else if (request.path == "/v1/client/info" && request.method == "POST") {
        status = postStatus;
    } else if (request.path == "/v1/firmware/info" || request.path == "/v1/firmware/data" ||
               request.path == "/v1/client/info") {
        return answer(405, "text/plain", "method not allowed");
    } else {
        return answer(404, "text/plain", "not found");
    }
    if (request.path == "/v1/firmware/data" && fault == Fault::trickle) {
        if (!writeAll(ssl.get(), head(status, contentType, body.size()))) return;
        for (const char byte : body) {
            if (!writeAll(ssl.get(), std::string(1, byte)) || !waitOrStop(delay, socket)) return;
        }
        SSL_shutdown(ssl.get());
        return;
    }
    if (request.path == "/v1/firmware/data" && (framing != Framing::contentLength || sentShare < 1.0)) {
        const auto sent = static_cast<std::size_t>(static_cast<double>(body.size()) * sentShare);
        const bool whole = sent == body.size();
        const std::string part = body.substr(0, sent);
        std::string text;
        if (framing == Framing::contentLength) {
            text = head(status, contentType, body.size()) + part;
        } else if (framing == Framing::chunked) {
            text = head(status, contentType, std::nullopt, "Transfer-Encoding: chunked\r\n");
            // Two chunks, so that a cut can fall inside either; a cut stops at the same share of the image.
            const std::size_t first = body.size() / 2;
            bool cut = false;
            for (const auto& [from, count] : {std::pair{std::size_t{0}, first},
                                              std::pair{first, body.size() - first}}) {
                char size[32];
                std::snprintf(size, sizeof size, "%zx\r\n", count);
                text += size;
                if (!whole && from + count > sent) {
                    text += body.substr(from, sent - from);
                    cut = true;
                    break;
                }
                text += body.substr(from, count) + "\r\n";
            }
            if (!cut) text += "0\r\n\r\n";
        } else {
            text = head(status, contentType, std::nullopt) + part;
        }
        if (!writeAll(ssl.get(), text)) return;
        if (framing == Framing::closeWithNotify || (whole && framing != Framing::closeWithoutNotify))
            SSL_shutdown(ssl.get());
        return;
    }
    if (fault == Fault::closeMidBody) {
        // Declare the whole body, send half of it and drop the connection without a TLS close.
        writeAll(ssl.get(), head(status, contentType, body.size()) + body.substr(0, body.size() / 2));
        return;
    }
    answer(status, contentType, body);
}

}  // namespace Prelix10Test
