#include "prelix10/transport/UDPBroadcastPort.hpp"

#include <algorithm>
#include <cerrno>

#include "prelix10/core/Log.hpp"
#include "prelix10/transport/NetworkPortSettings.hpp"
#include "prelix10/transport/PollingSleep.hpp"

namespace Prelix10 {

namespace {

constexpr std::size_t kLoggedBytes = 64;

// The bytes for a log line: at most the first kLoggedBytes of them, and the count.
std::string describeBounded(const ByteBlock& bytes) {
    if (bytes.size() <= kLoggedBytes) return Util::describe(bytes);
    return Util::describe(std::span<const std::uint8_t>(bytes.data(), kLoggedBytes)) + " ... (" +
           std::to_string(bytes.size()) + " bytes)";
}

Prelix10Error outOfRange() {
    return Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
}

}  // namespace

UDPBroadcastPort::UDPBroadcastPort(std::string localAddress, std::uint16_t localPortNumber, std::string remoteAddress,
                                   std::uint16_t remotePortNumber)
    : BaseRawPort(remoteAddress, remoteAddress),
      localAddress_(std::move(localAddress)),
      localPortNumber_(localPortNumber),
      remoteAddress_(std::move(remoteAddress)),
      remotePortNumber_(remotePortNumber) {}

UDPBroadcastPort::~UDPBroadcastPort() { socket_.close(); }

void UDPBroadcastPort::internalCheckAvailability() {
    if (!NetworkPortSettings::isNetworkAvailable()) {
        raiseError(Log(this, "internalCheckAvailability()", __LINE__),
                   Prelix10Error(Prelix10ErrorKind::illegalDeviceState, Prelix10ErrorMessage::networkUnavailable,
                                 Prelix10ErrorCode::networkUnavailable));
    }
}

void UDPBroadcastPort::internalOpen(std::int64_t, Completion completion) {
    const int error = socket_.open(localAddress_, localPortNumber_);
    if (error != 0) {
        Prelix10Error failure(Prelix10ErrorKind::unknown, Prelix10ErrorMessage::unknownError);
        if (Prelix10Logger::shared().isLogging()) {
            Log(this, "internalOpen(timeout:completion:)", __LINE__)
                .write("Error - " + Util::describe(failure) + " (errno " + std::to_string(error) + ")");
        }
        completion(failure);
        return;
    }
    completion(std::nullopt);
}

void UDPBroadcastPort::internalClose() {
    socket_.close();
    responseCache_.clear();
}

void UDPBroadcastPort::receiveWaiting() {
    std::vector<ByteBlock> arrived;
    // A bounded number per pass: a peer that floods cannot keep a read going, and the rest wait in the socket.
    while (arrived.size() < static_cast<std::size_t>(kDatagramsPerRead)) {
        ByteBlock datagram = socket_.receive(kDatagramSize);
        if (datagram.empty()) break;
        arrived.push_back(std::move(datagram));
    }
    if (arrived.empty()) return;
    // The oldest unread datagrams make room, so the cache never holds more than its byte limit.
    const int excess = responseCache_.unreadCount() + static_cast<int>(arrived.size()) - kMaxUnreadDatagrams;
    for (int i = 0; i < excess; ++i) dropOldest();
    responseCache_.append(std::span<const ByteBlock>(arrived));
}

void UDPBroadcastPort::dropOldest() {
    responseCache_.take(1);
    const int consumed = responseCache_.cacheIndex();
    if (consumed > 0 && consumed >= responseCache_.unreadCount()) responseCache_.removeStored(0, consumed - 1);
}

void UDPBroadcastPort::internalReadOnce(std::int64_t size, ReadCompletion completion) {
    if (size < 0) {
        completion(std::nullopt, outOfRange());
        return;
    }
    receiveWaiting();
    std::vector<ByteBlock> oldest = responseCache_.read(1);
    if (oldest.empty()) {
        completion(ByteBlock{}, std::nullopt);
        return;
    }
    dropOldest();
    ByteBlock& datagram = oldest.front();
    if (static_cast<std::uint64_t>(size) < datagram.size()) datagram.resize(static_cast<std::size_t>(size));
    completion(std::move(datagram), std::nullopt);
}

void UDPBroadcastPort::internalReadOnce(ByteRange range, ReadCompletion completion) {
    receiveWaiting();
    std::vector<ByteBlock> oldest = responseCache_.read(1);
    const std::int64_t available = oldest.empty() ? 0 : static_cast<std::int64_t>(oldest.front().size());
    // Inside the datagram: 0 <= lower <= upper + 1 and upper < its length.
    if (range.lower < 0 || range.upper < range.lower - 1 || range.upper >= available) {
        completion(std::nullopt, outOfRange());
        return;
    }
    if (oldest.empty()) {
        completion(ByteBlock{}, std::nullopt);
        return;
    }
    dropOldest();
    const ByteBlock& datagram = oldest.front();
    completion(ByteBlock(datagram.begin() + range.lower, datagram.begin() + range.upper + 1), std::nullopt);
}

void UDPBroadcastPort::internalReadOnceUnconsumed(std::int64_t size, ReadCompletion completion) {
    if (size < 0) {
        completion(std::nullopt, outOfRange());
        return;
    }
    receiveWaiting();
    std::vector<ByteBlock> oldest = responseCache_.read(1);
    if (oldest.empty()) {
        completion(ByteBlock{}, std::nullopt);
        return;
    }
    ByteBlock& datagram = oldest.front();
    if (static_cast<std::uint64_t>(size) < datagram.size()) datagram.resize(static_cast<std::size_t>(size));
    completion(std::move(datagram), std::nullopt);
}

void UDPBroadcastPort::internalWrite(const ByteBlock& data, std::int64_t, Completion completion) {
    const long sent = socket_.sendTo(data, remoteAddress_, remotePortNumber_);
    const int error = sent < 0 ? errno : 0;
    Log log(this, "internalWrite(data:timeout:completion:)", __LINE__);
    if (sent != static_cast<long>(data.size())) {
        Prelix10Error failure(Prelix10ErrorKind::communication, Prelix10ErrorMessage::writeFailed);
        if (Prelix10Logger::shared().isLogging()) {
            log.write("Error - " + Util::describe(failure) + " (sent " + std::to_string(sent) + " of " +
                      std::to_string(data.size()) + " bytes, errno " + std::to_string(error) + ")");
        }
        completion(failure);
        return;
    }
    if (Prelix10Logger::shared().isLogging()) log.write("Write - " + describeBounded(data));
    completion(std::nullopt);
}

void UDPBroadcastPort::waitForIncomingBytes(std::chrono::milliseconds maxWait) {
    // Closed, there is nothing to wake on: the wait keeps its whole length.
    if (!socket_.isOpen()) {
        PollingSleep::sleepFor(maxWait);
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    const bool woken = socket_.waitReadable(maxWait);
    PollingSleep::record(std::chrono::steady_clock::now() - start, woken);
}

}  // namespace Prelix10
