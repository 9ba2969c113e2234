#include "support/VirtualPrinterFirmware.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace Prelix10::Testing {

namespace {

constexpr std::size_t kPieceSize = 131072;
constexpr std::uint8_t kFilePrefix[4] = {0x1B, 0x1D, 0x5D, 0x46};
constexpr std::uint8_t kImagePrefix[5] = {0x1B, 'V', 'P', 'F', 'W'};
constexpr std::uint8_t kSetPrefix[4] = {0x1B, 0x1D, 0x29, 0x23};

std::uint64_t little(std::span<const std::uint8_t> in, std::size_t offset, int bytes) {
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(in[offset + static_cast<std::size_t>(i)]) << (8 * i);
    return value;
}

// notMine when the bytes cannot begin with the prefix, needMore when they are a part of it.
std::optional<RequestMatch::Kind> prefixCheck(std::span<const std::uint8_t> bytes,
                                              std::span<const std::uint8_t> prefix) {
    const std::size_t common = std::min(bytes.size(), prefix.size());
    if (!std::equal(prefix.begin(), prefix.begin() + static_cast<std::ptrdiff_t>(common), bytes.begin()))
        return RequestMatch::Kind::notMine;
    if (bytes.size() < prefix.size()) return RequestMatch::Kind::needMore;
    return std::nullopt;
}

RequestMatch kindOnly(RequestMatch::Kind kind) {
    RequestMatch match;
    match.kind = kind;
    return match;
}

RequestMatch handled(std::size_t consumed, Bytes reply = {}) {
    RequestMatch match;
    match.kind = RequestMatch::Kind::handled;
    match.consumed = consumed;
    match.reply = std::move(reply);
    return match;
}

// The version an image carries; nothing for bytes that are no whole image.
std::optional<std::string> imageVersion(const Bytes& image) {
    if (image.size() < 10 || !std::equal(kImagePrefix, kImagePrefix + 5, image.begin())) return std::nullopt;
    const std::size_t versionLength = image[5];
    if (image.size() < 10 + versionLength) return std::nullopt;
    const std::uint64_t payload = little(image, 6 + versionLength, 4);
    if (image.size() != 10 + versionLength + payload) return std::nullopt;
    return std::string(image.begin() + 6, image.begin() + 6 + static_cast<std::ptrdiff_t>(versionLength));
}

}  // namespace

Bytes makeVirtualFirmwareImage(const std::string& version, std::size_t payloadSize) {
    Bytes image(kImagePrefix, kImagePrefix + 5);
    image.push_back(static_cast<std::uint8_t>(version.size()));
    image.insert(image.end(), version.begin(), version.end());
    for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(payloadSize >> (8 * i)));
    // Every byte value, control bytes included, so that nothing of it may be taken for a command.
    for (std::size_t i = 0; i < payloadSize; ++i)
        image.push_back(static_cast<std::uint8_t>((i * 7 + 3) & 0xFF));
    return image;
}

VirtualPrinterFirmware::VirtualPrinterFirmware(VirtualPrinterEngine& engine) : engine_(engine) {
    engine.addPriorityRequestHandler([this](std::span<const std::uint8_t> bytes) { return handle(bytes); });
}

VirtualPrinterFirmware::~VirtualPrinterFirmware() {
    std::vector<std::thread> senders;
    {
        std::lock_guard guard(mutex_);
        senders.swap(senders_);
    }
    for (auto& sender : senders) sender.join();
}

RequestMatch VirtualPrinterFirmware::handle(std::span<const std::uint8_t> bytes) {
    std::lock_guard guard(mutex_);
    if (stream_) return continueStream(bytes);

    if (const auto kind = prefixCheck(bytes, kFilePrefix); !kind) {
        if (bytes.size() < 5) return kindOnly(RequestMatch::Kind::needMore);
        if (bytes[4] == 0x32) {
            ++readyCount_;
            return handled(5);
        }
        if (bytes[4] == 0x31) {
            if (bytes.size() < 7) return kindOnly(RequestMatch::Kind::needMore);
            const std::size_t nameLength = little(bytes, 5, 2);
            const std::size_t header = 7 + nameLength + 4;
            if (bytes.size() < header) return kindOnly(RequestMatch::Kind::needMore);
            Stream stream;
            stream.isFile = true;
            stream.name.assign(bytes.begin() + 7,
                               bytes.begin() + 7 + static_cast<std::ptrdiff_t>(nameLength));
            stream.total = header + little(bytes, 7 + nameLength, 4);
            stream_ = std::move(stream);
            return continueStream(bytes);
        }
    } else if (*kind == RequestMatch::Kind::needMore) {
        return kindOnly(*kind);
    }

    if (const auto kind = prefixCheck(bytes, kImagePrefix); !kind) {
        if (bytes.size() < 6) return kindOnly(RequestMatch::Kind::needMore);
        const std::size_t versionLength = bytes[5];
        if (bytes.size() < 10 + versionLength) return kindOnly(RequestMatch::Kind::needMore);
        Stream stream;
        stream.total = 10 + versionLength + little(bytes, 6 + versionLength, 4);
        stream_ = std::move(stream);
        return continueStream(bytes);
    } else if (*kind == RequestMatch::Kind::needMore) {
        return kindOnly(*kind);
    }

    if (const auto kind = prefixCheck(bytes, kSetPrefix); !kind) {
        return installDocument(bytes);
    } else {
        return kindOnly(*kind);
    }
}

RequestMatch VirtualPrinterFirmware::continueStream(std::span<const std::uint8_t> bytes) {
    Stream& stream = *stream_;
    stream.lastBytes = std::chrono::steady_clock::now();
    std::size_t take = std::min(bytes.size(), stream.total - stream.received);
    if (stream.isFile) {
        // A reply is due at every piece boundary of the command, so a piece ends the take.
        const std::size_t boundary = (stream.received / kPieceSize + 1) * kPieceSize;
        take = std::min(take, boundary - stream.received);
    }
    // The file's data begins after its header, which the first take covers.
    const std::size_t headerLength = stream.isFile ? 7 + stream.name.size() + 4 : 0;
    for (std::size_t i = 0; i < take; ++i) {
        const std::size_t position = stream.received + i;
        if (position >= headerLength) stream.body.push_back(bytes[i]);
    }
    stream.received += take;
    const bool complete = stream.received == stream.total;
    if (!stream.isFile) {
        if (complete) {
            Bytes image = std::move(stream.body);
            stream_.reset();
            blockImages_.push_back(image);
            if (installsImages_) install(image);
        }
        return handled(take);
    }
    const bool atBoundary = stream.received % kPieceSize == 0;
    Bytes reply;
    if (complete || atBoundary) {
        replyOffsets_.push_back(stream.received);
        reply = pieceReply(!complete);
    }
    if (complete) {
        files_[stream.name] = std::move(stream.body);
        stream_.reset();
    }
    return handled(take, std::move(reply));
}

Bytes VirtualPrinterFirmware::pieceReply(bool receiving) {
    const std::size_t piece = piecesAnswered_++;
    const std::size_t received = stream_ ? stream_->received : 0;
    Bytes reply{0x1B, 0x1D, 0x5D, 0x46, 0x31};
    for (int i = 0; i < 4; ++i) reply.push_back(static_cast<std::uint8_t>(received >> (8 * i)));
    reply.push_back(0x00);
    reply.push_back(0x00);
    reply.push_back(receiving ? 0x01 : 0x00);
    if (piece < faultFromPiece_) return reply;
    switch (fault_) {
        case ReplyFault::none:
            return reply;
        case ReplyFault::silent:
            return {};
        case ReplyFault::invalidState:
            reply.back() = 0x07;
            return reply;
        case ReplyFault::split: {
            Bytes rest(reply.begin() + 6, reply.end());
            reply.resize(6);
            const auto delay = splitDelay_;
            senders_.emplace_back([this, rest = std::move(rest), delay] {
                std::this_thread::sleep_for(delay);
                const auto config = engine_.config();
                if (config.replyFraming == ReplyFraming::asbExtension) {
                    engine_.sendRaw(wrapInStatusBlocks(engine_.state(), config.statusBlockLength,
                                                       config.statusVersion, rest, config.replyItemLimit));
                } else {
                    engine_.sendRaw(rest);
                }
            });
            return reply;
        }
    }
    return reply;
}

RequestMatch VirtualPrinterFirmware::installDocument(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8) return kindOnly(RequestMatch::Kind::needMore);
    const std::size_t count = little(bytes, 4, 4);
    if (bytes.size() - 8 < count) return kindOnly(RequestMatch::Kind::needMore);
    if (count < 1 || bytes[8] != 0x30) return kindOnly(RequestMatch::Kind::notMine);
    const std::string text(bytes.begin() + 9, bytes.begin() + 8 + static_cast<std::ptrdiff_t>(count));
    const auto json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("firmwares") ||
        !json["firmwares"].is_array() || json["firmwares"].empty()) {
        // An ordinary configuration document: the configuration store answers it.
        return kindOnly(RequestMatch::Kind::notMine);
    }
    installDocuments_.push_back(text);
    bool installed = true;
    for (const auto& firmware : json["firmwares"]) {
        const bool named = firmware.is_object() && firmware.value("path_type", "") == "internal_file" &&
                           firmware.contains("path") && firmware["path"].is_string();
        const auto found = named ? files_.find(firmware["path"].get<std::string>()) : files_.end();
        installed = installed && found != files_.end() && (!installsImages_ || install(found->second));
    }
    // Result 00 applied; a missing or broken file is the specified-file error (detail 08).
    Bytes reply{0x1B, 0x1D, 0x29, 0x23, 0x03, 0x00, 0x00, 0x00, 0x30};
    reply.push_back(installed ? 0x00 : 0x01);
    reply.push_back(installed ? 0x00 : 0x08);
    return handled(8 + count, std::move(reply));
}

bool VirtualPrinterFirmware::install(const Bytes& image) {
    const auto version = imageVersion(image);
    if (!version) return false;
    installedVersions_.push_back(*version);
    engine_.configureFromHandler([&](VirtualPrinterConfig& config) {
        const std::size_t at = config.firmwareText.find("Ver");
        config.firmwareText =
            (at == std::string::npos ? config.firmwareText : config.firmwareText.substr(0, at)) + "Ver" +
            *version;
    });
    return true;
}

void VirtualPrinterFirmware::setReplyFault(ReplyFault fault, std::size_t fromPiece) {
    std::lock_guard guard(mutex_);
    fault_ = fault;
    faultFromPiece_ = fromPiece;
    piecesAnswered_ = 0;
}

void VirtualPrinterFirmware::setSplitDelay(std::chrono::milliseconds delay) {
    std::lock_guard guard(mutex_);
    splitDelay_ = delay;
}

void VirtualPrinterFirmware::setInstallsImages(bool installs) {
    std::lock_guard guard(mutex_);
    installsImages_ = installs;
}

std::optional<Bytes> VirtualPrinterFirmware::file(const std::string& name) {
    std::lock_guard guard(mutex_);
    const auto found = files_.find(name);
    if (found == files_.end()) return std::nullopt;
    return found->second;
}

std::size_t VirtualPrinterFirmware::readyCount() {
    std::lock_guard guard(mutex_);
    return readyCount_;
}

std::vector<std::size_t> VirtualPrinterFirmware::replyOffsets() {
    std::lock_guard guard(mutex_);
    return replyOffsets_;
}

std::vector<Bytes> VirtualPrinterFirmware::blockImages() {
    std::lock_guard guard(mutex_);
    return blockImages_;
}

std::vector<std::string> VirtualPrinterFirmware::installDocuments() {
    std::lock_guard guard(mutex_);
    return installDocuments_;
}

std::vector<std::string> VirtualPrinterFirmware::installedVersions() {
    std::lock_guard guard(mutex_);
    return installedVersions_;
}

std::size_t VirtualPrinterFirmware::partialFileSize() {
    std::lock_guard guard(mutex_);
    return stream_ && stream_->isFile ? stream_->body.size() : 0;
}

std::size_t VirtualPrinterFirmware::partialImageSize() {
    std::lock_guard guard(mutex_);
    return stream_ && !stream_->isFile ? stream_->received : 0;
}

void VirtualPrinterFirmware::discardPartial() {
    std::lock_guard guard(mutex_);
    stream_.reset();
}

}  // namespace Prelix10::Testing
