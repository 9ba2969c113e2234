#include "prelix10/transport/NetworkPort.hpp"

#include <cerrno>
#include <chrono>
#include <regex>
#include <thread>

#include "prelix10/transport/PollingSleep.hpp"
#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/protocol/WrittenBytesLog.hpp"

namespace Prelix10 {

namespace {

std::int64_t elapsedWhole(const Stopwatch& watch) { return static_cast<std::int64_t>(watch.elapsedMilliseconds()); }

bool matchesWhole(const std::string& text, const char* pattern) {
    if (text.size() > 64) return false;
    try {
        return std::regex_match(text, std::regex(pattern));
    } catch (const std::regex_error&) {
        return false;
    }
}

constexpr const char* kIPv4Pattern =
    "^(([1-9]?[0-9]|1[0-9]{2}|2[0-4][0-9]|25[0-5])[.]){3}([1-9]?[0-9]|1[0-9]{2}|2[0-4][0-9]|25[0-5])$";
constexpr const char* kMacPattern = "^([0-9A-Fa-f]{2}[:-]?){5}[0-9A-Fa-f]{2}$";

}  // namespace

NetworkPort::~NetworkPort() { releaseConnection(); }

void NetworkPort::releaseConnection() {
    std::unique_ptr<TcpConnection> tcp;
    std::unique_ptr<UdpConnection> udp;
    {
        std::lock_guard lock(connectionMutex_);
        tcp = std::move(tcp_);
        udp = std::move(udp_);
    }
    if (tcp) tcp->cancel();
    if (udp) udp->cancel();
}

bool NetworkPort::hasConnection() const {
    std::lock_guard lock(connectionMutex_);
    return tcp_ || udp_;
}

bool NetworkPort::internalIsConnected() const {
    std::lock_guard lock(connectionMutex_);
    if (tcp_) return !tcp_->hasEnded();
    return udp_ != nullptr;
}

std::vector<std::string> NetworkPort::internalIdentifiers() const {
    const auto* network = dynamic_cast<const NetworkPortProtocol*>(this);
    return network ? network->networkIdentifiers() : std::vector<std::string>{};
}

void NetworkPort::internalCheckAvailability() {
    if (!NetworkPortSettings::isNetworkAvailable()) {
        raiseError(Log(this, "internalCheckAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::networkUnavailable,
                                 Prelix10ErrorCode::networkUnavailable));
    }
}

void NetworkPort::internalFindDevice(std::int64_t timeout, Completion completion) {
    auto* network = dynamic_cast<NetworkPortProtocol*>(this);
    if (!network) {
        try {
            raiseUnexpectedState(Log(this, "findDevice(timeout:completion:)", __LINE__), __LINE__);
        } catch (const Prelix10Error& error) {
            completion(error);
        }
        return;
    }
    network->getNICInformation(timeout, std::move(completion));
}

void NetworkPort::internalOpen(std::int64_t timeout, Completion completion) {
    auto* network = dynamic_cast<NetworkPortProtocol*>(this);
    if (!network) {
        try {
            raiseUnexpectedState(Log(this, "open(timeout:completion:)", __LINE__), __LINE__);
        } catch (const Prelix10Error& error) {
            completion(error);
        }
        return;
    }
    network->startConnection(timeout, std::move(completion));
}

void NetworkPort::adoptConnection(std::unique_ptr<TcpConnection> connection) {
    TcpConnection* raw = connection.get();
    {
        std::lock_guard lock(connectionMutex_);
        tcp_ = std::move(connection);
    }
    raw->startReceiving([this](std::span<const std::uint8_t> bytes) { appendReceived(bytes); },
                        [this](SocketStreamEnd end, int error) {
                            noteArrival();
                            Log log(this, "receive()", __LINE__);
                            if (Prelix10Logger::shared().isLogging()) {
                                log.write(end == SocketStreamEnd::closedByPeer
                                              ? std::string("Connection closed by the device.")
                                              : "Connection failed - errno " + std::to_string(error));
                            }
                        });
}

void NetworkPort::adoptConnection(std::unique_ptr<UdpConnection> connection) {
    UdpConnection* raw = connection.get();
    {
        std::lock_guard lock(connectionMutex_);
        udp_ = std::move(connection);
    }
    raw->startReceiving([this](std::span<const std::uint8_t> bytes) { appendReceived(bytes); });
}

void NetworkPort::noteArrival() {
    {
        std::lock_guard lock(arrivalMutex_);
        ++arrivals_;
    }
    arrivalCondition_.notify_all();
}

void NetworkPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(arrivalMutex_);
    const bool woken = arrivalCondition_.wait_for(lock, maxWait, [this] { return arrivals_ != arrivalsSeen_; });
    arrivalsSeen_ = arrivals_;
    lock.unlock();
    PollingSleep::record(std::chrono::steady_clock::now() - start, woken);
}

void NetworkPort::appendReceived(std::span<const std::uint8_t> bytes) {
    responseCache_.append(bytes);
    noteArrival();
    if (Prelix10Logger::shared().isLogging()) {
        Log(this, "receive()", __LINE__).write("Received - " + Util::describeBytes(bytes));
    }
}

void NetworkPort::internalClose() {
    std::unique_ptr<TcpConnection> tcp;
    std::unique_ptr<UdpConnection> udp;
    {
        std::lock_guard lock(connectionMutex_);
        tcp = std::move(tcp_);
        udp = std::move(udp_);
    }
    if (tcp) tcp->cancel();
    if (udp) udp->cancel();
    responseCache_.clear();
}

void NetworkPort::close() {
    if (hasConnection()) internalClose();
}

void NetworkPort::internalReadOnce(std::int64_t size, ReadCompletion completion) {
    const int count = static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize));
    completion(responseCache_.take(count), std::nullopt);
}

void NetworkPort::internalReadOnce(ByteRange range, ReadCompletion completion) {
    if (range.lower < 0 || range.upper < range.lower || range.upper >= responseCache_.unreadCount()) {
        completion(ByteBlock{}, std::nullopt);
        return;
    }
    const int from = static_cast<int>(range.lower);
    const int to = static_cast<int>(range.upper);
    ByteBlock bytes = responseCache_.read(from, to);
    responseCache_.remove(from, to);
    completion(std::move(bytes), std::nullopt);
}

void NetworkPort::internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) {
    const int count = static_cast<int>(std::clamp<std::int64_t>(size, 0, kResponseCacheSize));
    completion(responseCache_.read(count), std::nullopt);
}

void NetworkPort::internalWrite(const ByteBlock& data, std::int64_t timeout, Completion completion) {
    SocketSendResult result;
    {
        std::unique_lock lock(connectionMutex_);
        TcpConnection* tcp = tcp_.get();
        UdpConnection* udp = udp_.get();
        lock.unlock();
        // The write fails once more than its timeout has passed (strictly), as a watchdog would see it.
        const auto wait = std::chrono::milliseconds(Deadline::addMilliseconds(std::max<std::int64_t>(timeout, 0), 1));
        if (tcp) {
            result = tcp->send(data, wait);
        } else if (udp) {
            result = udp->send(data, wait);
        } else {
            // Nothing to send on: the write fails once its time is spent.
            PollingSleep::sleepFor(wait);
            result.error = ENOTCONN;
        }
    }
    Log log(this, "internalWrite(data:timeout:completion:)", __LINE__);
    if (result.error != 0) {
        // Bytes the kernel accepted are never sent again: a partial write ends the job with an error.
        Prelix10Error error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed);
        if (Prelix10Logger::shared().isLogging()) {
            log.write("Error - " + Util::describe(error) + " (sent " + std::to_string(result.sent) + " of " +
                      std::to_string(data.size()) + " bytes, errno " + std::to_string(result.error) + ")");
        }
        completion(error);
        return;
    }
    if (Prelix10Logger::shared().isLogging()) log.write("Write - " + WrittenBytesLog::describe(data, Util::kLogBytePrefix));
    completion(std::nullopt);
}

TCPPort::TCPPort(std::string identifier, std::uint16_t portNumber, std::optional<std::vector<std::string>> subIdentifiers)
    : NetworkPort(identifier, identifier), portNumber_(portNumber), subIdentifiers_(std::move(subIdentifiers)) {}

std::string TCPPort::actualIdentifier() const {
    std::lock_guard lock(recordMutex_);
    return nicInformation_ && nicInformation_->ipAddress ? *nicInformation_->ipAddress : std::string();
}

std::vector<std::string> TCPPort::networkIdentifiers() const {
    std::lock_guard lock(recordMutex_);
    if (!nicInformation_ || !nicInformation_->ipAddress || !nicInformation_->macAddress) return {};
    std::vector<std::string> list{*nicInformation_->ipAddress, *nicInformation_->macAddress};
    if (subIdentifiers_) list.insert(list.end(), subIdentifiers_->begin(), subIdentifiers_->end());
    return list;
}

std::optional<NetworkCardRecord> TCPPort::nicInformation() const {
    std::lock_guard lock(recordMutex_);
    return nicInformation_;
}

void TCPPort::setNicInformation(std::optional<NetworkCardRecord> record) {
    std::lock_guard lock(recordMutex_);
    nicInformation_ = std::move(record);
}

void TCPPort::getNICInformation(std::int64_t timeout, Completion completion) {
    if (nicInformation()) {
        completion(std::nullopt);
        return;
    }
    std::vector<std::string> list{identifier()};
    if (subIdentifiers_) list.insert(list.end(), subIdentifiers_->begin(), subIdentifiers_->end());
    try {
        NetworkCardRecord record = getNICInformation(list, timeout);
        setNicInformation(std::move(record));
        completion(std::nullopt);
    } catch (const Prelix10Error& error) {
        completion(error);
    }
}

NetworkCardRecord TCPPort::getNICInformation(const std::vector<std::string>& identifiers, std::int64_t timeout) {
    Log log(this, "getNICInformation(identifiers:timeout:)", __LINE__);
    const std::string id = identifier();
    if (id != kFirstFoundDevice && !matchesWhole(id, kIPv4Pattern) && !matchesWhole(id, kMacPattern)) {
        raiseError(log, Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::invalidIdentifier));
    }
    auto lookup = NetworkPortSettings::networkCardLookup();
    if (!lookup) raiseError(log, Prelix10Error(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound));
    return lookup(identifiers, timeout);
}

void TCPPort::startConnection(std::int64_t timeout, Completion completion) {
    auto record = nicInformation();
    try {
        Log log(this, "startConnection(timeout:completion:)", __LINE__);
        if (!record) raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed));
        if (!record->ipAddress) raiseUnexpectedState(log, __LINE__);
        connect(*record->ipAddress, timeout);
        completion(std::nullopt);
    } catch (const Prelix10Error& error) {
        completion(error);
    }
}

void TCPPort::connect(const std::string& ipAddress, std::int64_t timeout) {
    Log log(this, "connect(ipAddress:timeout:)", __LINE__);
    const Prelix10Error notFound(Prelix10ErrorKind::notFound, Prelix10ErrorMessage::deviceNotFound);
    if (timeout < 0) raiseError(log, notFound);
    Stopwatch watch;
    watch.start();
    // A printer held by another host refuses; that is retried for at most a second.
    const std::int64_t refusalLimit = timeout <= 1000 ? timeout : 1000;
    std::optional<Prelix10Error> recorded;
    for (;;) {
        const std::int64_t remaining = timeout - elapsedWhole(watch);
        // A budget spent on entry finds nothing; one spent by retries ends with the last attempt's error.
        if (remaining < 0) raiseError(log, recorded ? *recorded : notFound);
        auto connection = std::make_unique<TcpConnection>();
        const int error = connection->connect(ipAddress, portNumber_, std::chrono::milliseconds(remaining));
        if (error == 0) {
            adoptConnection(std::move(connection));
            return;
        }
        const bool refused = error == ECONNREFUSED;
        recorded = refused ? Prelix10Error(Prelix10ErrorKind::inUse, Prelix10ErrorMessage::theDeviceIsInUseByAnotherHost)
                           : Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed);
        const std::int64_t limit = refused ? refusalLimit : timeout;
        const std::int64_t elapsed = elapsedWhole(watch);
        if (elapsed >= limit) raiseError(log, *recorded);
        // The pause between attempts never runs past the limit.
        PollingSleep::sleepFor(std::chrono::milliseconds(std::min<std::int64_t>(100, limit - elapsed)));
    }
}

UDPPort::UDPPort(std::string localAddress, std::uint16_t localPortNumber, std::string remoteAddress,
                 std::uint16_t remotePortNumber)
    : NetworkPort(remoteAddress, remoteAddress),
      localAddress_(std::move(localAddress)),
      localPortNumber_(localPortNumber),
      remoteAddress_(std::move(remoteAddress)),
      remotePortNumber_(remotePortNumber) {}

void UDPPort::startConnection(std::int64_t, Completion completion) {
    auto connection = std::make_unique<UdpConnection>();
    const int error = connection->open(localAddress_, localPortNumber_, remoteAddress_, remotePortNumber_);
    if (error != 0) {
        Prelix10Error failure(Prelix10ErrorKind::communication, Prelix10ErrorMessage::openFailed);
        if (Prelix10Logger::shared().isLogging()) {
            Log(this, "startConnection(timeout:completion:)", __LINE__).write("Error - " + Util::describe(failure));
        }
        completion(failure);
        return;
    }
    boundLocalPort_ = connection->localPort();
    adoptConnection(std::move(connection));
    completion(std::nullopt);
}

}  // namespace Prelix10
