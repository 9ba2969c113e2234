#include "support/VirtualPrinterEngine.hpp"

#include <algorithm>

namespace Prelix10::Testing {

namespace {

std::uint8_t packFive(int value) {
    auto v = static_cast<unsigned>(value) & 0x1Fu;
    return static_cast<std::uint8_t>(((v & 0x18u) << 2) | ((v & 0x07u) << 1));
}

constexpr std::size_t kStatusPortRequestLength = 51;

constexpr std::size_t kNotACommand = static_cast<std::size_t>(-1);

// The longest parameter list ended by a terminator byte (tab stops, barcode data, raster parameters); a
// command without its terminator by then is taken as no command.
constexpr std::size_t kMaxTerminatedCommand = 1024;

std::size_t littleEndian16(std::span<const std::uint8_t> p, std::size_t at) {
    return p[at] | (static_cast<std::size_t>(p[at + 1]) << 8);
}

// The length of the command that starts with `header` bytes and ends at the first `terminator` after
// them; 0 while the terminator has not arrived.
std::size_t untilTerminator(std::span<const std::uint8_t> p, std::size_t header, std::uint8_t terminator) {
    for (std::size_t i = header; i < p.size() && i < kMaxTerminatedCommand; ++i)
        if (p[i] == terminator) return i + 1;
    return p.size() >= kMaxTerminatedCommand ? kNotACommand : 0;
}

// The bytes one run-length encoded mobile picture band takes (ESC X 3 w r, then runs until w x r bytes are
// drawn): 0 while more are needed.
std::size_t runLengthBandLength(std::span<const std::uint8_t> p) {
    if (p.size() < 5) return 0;
    const std::size_t wanted = static_cast<std::size_t>(p[3]) * p[4];
    std::size_t at = 5, drawn = 0;
    while (drawn < wanted) {
        if (at >= p.size()) return 0;
        const std::size_t count = p[at] & 0x3F;
        const std::size_t taken = (p[at] & 0x40) ? 2 : 1 + count;
        at += taken;
        drawn += count;
        if (count == 0) drawn = wanted;  // a run of nothing ends the band
    }
    return at <= p.size() ? at : 0;
}

// The length of one ESC/POS command at the front of the bytes (ESC, GS, FS or DLE first), for the ESC/POS
// and mobile ESC/POS printers: 0 while more bytes are needed, kNotACommand for bytes that are none.
std::size_t escPosCommandLength(std::span<const std::uint8_t> p, bool mobile) {
    const std::size_t size = p.size();
#define NEED(n)                    \
    do {                           \
        if (size < (n)) return 0;  \
    } while (false)
#define FIXED(n) return (n) <= size ? (n) : 0
    NEED(2);
    if (p[0] == 0x1B) {
        switch (p[1]) {
            case 0x40:  // ESC @
                return 2;
            case 0x79:  // ESC y, ESC z: the mobile printer's feed to the cutter
            case 0x7A:
                if (mobile) return 2;
                FIXED(3);
            case 0x20:  // ESC SP, ESC !, ESC -, ESC 3, ESC E, ESC J, ESC M, ESC R, ESC a, ESC d, ESC f: one parameter
            case 0x21:
            case 0x2D:
            case 0x33:
            case 0x45:
            case 0x4A:
            case 0x4D:
            case 0x52:
            case 0x61:
            case 0x64:
            case 0x66:
                FIXED(3);
            case 0x24:  // ESC $ nL nH, ESC \ nL nH: positions
            case 0x5C:
                FIXED(4);
            case 0x70:  // ESC p m t1 t2: drawer
                FIXED(5);
            case 0x44:  // ESC D stops NUL
                return untilTerminator(p, 2, 0x00);
            case 0x5A:  // ESC Z m e c nL nH data: mobile two-dimensional symbol
                NEED(7);
                return 7 + littleEndian16(p, 5);
            case 0x58:  // ESC X 2 r, ESC X 3 w r runs, ESC X 4 w r data: mobile picture bands
                NEED(3);
                if (p[2] == 0x32) FIXED(4);
                if (p[2] == 0x33) return runLengthBandLength(p);
                if (p[2] == 0x34) {
                    NEED(5);
                    return 5 + static_cast<std::size_t>(p[3]) * p[4];
                }
                return kNotACommand;
            default:
                return kNotACommand;
        }
    }
    if (p[0] == 0x1C) {
        switch (p[1]) {
            case 0x26:  // FS &, FS .: multi-byte text on and off
            case 0x2E:
                return 2;
            case 0x2D:  // FS - n, FS C n
            case 0x43:
                FIXED(3);
            case 0x53:  // FS S n1 n2
                FIXED(4);
            default:
                return kNotACommand;
        }
    }
    if (p[0] == 0x10) {  // DLE EOT n
        if (p[1] != 0x04) return kNotACommand;
        FIXED(3);
    }
    if (p[0] != 0x1D) return kNotACommand;
    switch (p[1]) {
        case 0x21:  // GS !, GS B, GS H, GS Z, GS h, GS w: one parameter
        case 0x42:
        case 0x48:
        case 0x5A:
        case 0x61:
        case 0x68:
        case 0x77:
            FIXED(3);
        case 0x50:  // GS P x y
            FIXED(4);
        case 0x56:  // GS V m [n]: cut
            NEED(3);
            if (p[2] == 0x41 || p[2] == 0x42 || p[2] == 0x61 || p[2] == 0x62) FIXED(4);
            return 3;
        case 0x6B:  // GS k m n data (or data NUL for the old forms): barcode
            NEED(3);
            if (p[2] < 0x41) return untilTerminator(p, 3, 0x00);
            NEED(4);
            return 4 + p[3];
        case 0x28:  // GS ( k pL pH ...: two-dimensional symbols
            NEED(5);
            return 5 + littleEndian16(p, 3);
        case 0x38:  // GS 8 L p1..p4 ...: logo
            NEED(7);
            return 7 + (p[3] | (static_cast<std::size_t>(p[4]) << 8) | (static_cast<std::size_t>(p[5]) << 16) |
                        (static_cast<std::size_t>(p[6]) << 24));
        case 0x76:  // GS v 0 m xL xH yL yH data: raster picture
            NEED(8);
            return 8 + littleEndian16(p, 4) * littleEndian16(p, 6);
        default:
            return kNotACommand;
    }
#undef FIXED
#undef NEED
}

// The length of one command of the maker's command set at the front of the bytes (ESC first), so that
// its parameter and data bytes are never read as commands of their own: 0 while more bytes are needed,
// kNotACommand for bytes that are no command this printer knows.
std::size_t orvoCommandLength(std::span<const std::uint8_t> p) {
    const std::size_t size = p.size();
#define NEED(n)                    \
    do {                           \
        if (size < (n)) return 0;  \
    } while (false)
    NEED(2);
    switch (p[1]) {
        case 0x07:  // ESC BEL a b: drawer pulse
            return 4 <= size ? 4 : 0;
        case 0x0C:  // ESC FF: raster form feed
        case 0x34:  // ESC 4 / ESC 5: invert on / off
        case 0x35:
        case 0x45:  // ESC E / ESC F: bold on / off
        case 0x46:
        case 0x4D:  // ESC M / ESC P: dot-impact fonts
        case 0x50:
            return 2;
        case 0x16:  // ESC SYN n m: hold print, presenter, bezel page length
            return 4 <= size ? 4 : 0;
        case 0x1C:  // ESC FS p n m: logo
            return 5 <= size ? 5 : 0;
        case 0x1E:  // ESC RS x n: one parameter byte
            return 4 <= size ? 4 : 0;
        case 0x20:  // ESC SP n: character space
        case 0x2D:  // ESC - n: underline
        case 0x49:  // ESC I n: unit feed
        case 0x4A:  // ESC J n: dot-impact feed
        case 0x52:  // ESC R n: international characters
        case 0x57:  // ESC W n, ESC h n, ESC x n: dot-impact expansion
        case 0x68:
        case 0x78:
        case 0x61:  // ESC a n: line feed
        case 0x64:  // ESC d n: cut
        case 0x79:  // ESC y n: dot-impact line space
        case 0x7A:  // ESC z n: line space
            return 3 <= size ? 3 : 0;
        case 0x69:  // ESC i a b: expansion
        case 0x73:  // ESC s 0 n, ESC t 0 n: character space halves
        case 0x74:
            return 4 <= size ? 4 : 0;
        case 0x44:  // ESC D stops... NUL: tab positions
            return untilTerminator(p, 2, 0x00);
        case 0x4B:  // ESC K nL nH columns: dot-impact picture band
            NEED(4);
            return 4 + littleEndian16(p, 2);
        case 0x58:  // ESC X nL nH, 3 bytes per column: page-mode picture band
            NEED(4);
            return 4 + 3 * littleEndian16(p, 2);
        case 0x62:  // ESC b s t w h data RS: barcode
            NEED(6);
            return untilTerminator(p, 6, 0x1E);
        case 0x2A:  // ESC * r x ...: raster commands; the ones with parameters end with NUL
            NEED(4);
            if (p[2] != 0x72) return kNotACommand;
            switch (p[3]) {
                case 0x41:
                case 0x42:
                    return 4;
                case 0x45:
                case 0x50:
                case 0x59:
                case 0x65:
                case 0x74:
                    return untilTerminator(p, 4, 0x00);
                default:
                    return kNotACommand;
            }
        case 0x1D:
            break;
        default:
            return kNotACommand;
    }
    // ESC GS x ...
    NEED(3);
    switch (p[2]) {
        case 0x19:  // ESC GS EM fn m ...: buzzer and drawer channels
            NEED(4);
            if (p[3] == 0x14) return 5 <= size ? 5 : 0;
            return 7 <= size ? 7 : 0;
        case 0x1A:  // ESC GS SUB fn c a b: LEDs
            return 7 <= size ? 7 : 0;
        case 0x28:  // ESC GS ( fn pL pH parameters: logo
        case 0x29:  // ESC GS ) fn pL pH parameters: settings
            NEED(6);
            return 6 + littleEndian16(p, 4);
        case 0x41:  // ESC GS A nL nH: absolute position
        case 0x52:  // ESC GS R nL nH: relative position
            return 5 <= size ? 5 : 0;
        case 0x42:  // ESC GS B @ nL nH data: customer display envelope
            NEED(4);
            if (p[3] != 0x40) return kNotACommand;
            NEED(6);
            return 6 + littleEndian16(p, 4);
        case 0x50:  // ESC GS P fn ...: page mode
            NEED(4);
            switch (p[3]) {
                case 0x32:
                    return 5 <= size ? 5 : 0;
                case 0x33:
                    return 12 <= size ? 12 : 0;
                case 0x34:
                case 0x35:
                    return 6 <= size ? 6 : 0;
                default:
                    return 4;
            }
        case 0x53:  // ESC GS S 1 xL xH yL yH 0 data: raster picture
            NEED(9);
            return 9 + littleEndian16(p, 4) * littleEndian16(p, 6);
        case 0x61:  // ESC GS a n: alignment
        case 0x74:  // ESC GS t n: code page
            return 4 <= size ? 4 : 0;
        case 0x73:  // ESC GS s R bits volume size(3) samples: one-time sound
            NEED(9);
            return 9 + (p[6] | (static_cast<std::size_t>(p[7]) << 8) | (static_cast<std::size_t>(p[8]) << 16));
        case 0x78:  // ESC GS x ...: PDF417
        case 0x79:  // ESC GS y ...: QR code
        {
            NEED(4);
            const bool qr = p[2] == 0x79;
            switch (p[3]) {
                case 0x44:  // store: (QR: mode, 0,) nL nH data
                    if (qr) {
                        NEED(8);
                        return 8 + littleEndian16(p, 6);
                    }
                    NEED(6);
                    return 6 + littleEndian16(p, 4);
                case 0x50:  // print
                    return 4;
                case 0x53:  // settings: fn value (PDF417 size: fn 30, kind, rows, columns)
                    NEED(5);
                    if (!qr && p[4] == 0x30) return 8 <= size ? 8 : 0;
                    return 6 <= size ? 6 : 0;
                default:
                    return kNotACommand;
            }
        }
        default:
            return kNotACommand;
    }
#undef NEED
}

constexpr std::size_t kMaxItemValue = 0x7000;

}  // namespace

Bytes encodeStatusBlock(const PrinterState& state, int blockLength, int version, const Bytes* extensionItem) {
    const int n = std::clamp(blockLength, 2, 31);
    Bytes block(static_cast<std::size_t>(n), 0x00);
    block[0] = static_cast<std::uint8_t>(0x01 | packFive(n));
    const auto v = static_cast<unsigned>(version) & 0x0Fu;
    block[1] = static_cast<std::uint8_t>((extensionItem ? 0x80 : 0x00) | ((v & 0x08u) << 2) | ((v & 0x07u) << 1));
    auto set = [&](int index, std::uint8_t bits) {
        if (index < n) block[static_cast<std::size_t>(index)] |= bits;
    };
    const bool error = state.errorForced || state.coverOpen || state.paperEmpty;
    if (state.coverOpen) set(2, 0x20);
    if (error) set(2, 0x08);
    if (state.drawerSignal) set(2, 0x04);
    if (state.paperEmpty) set(5, 0x08);
    if (state.paperNearEmpty) set(5, 0x04);
    if (state.paperPresent) set(6, 0x02);
    if (n > 7) block[7] = packFive(state.etbCounter);
    if (n > 11 && state.connectedInterface) block[11] = packFive(*state.connectedInterface);
    if (state.externalDevice12NotReady) set(12, 0x02);
    if (state.externalDevice34NotReady) set(13, 0x02);
    static constexpr std::uint8_t kConnectedBits[4] = {0x40, 0x20, 0x08, 0x04};
    for (int i = 0; i < 4; ++i)
        if (state.externalDeviceConnected[i]) set(14, kConnectedBits[i]);
    set(15, 0x04);  // paper width code 2
    if (extensionItem) {
        const std::size_t m = extensionItem->size();
        const std::size_t l = m + 5;
        block.push_back(static_cast<std::uint8_t>(l >> 8));
        block.push_back(static_cast<std::uint8_t>(l & 0xFF));
        block.push_back(0x00);
        block.push_back(0x3A);
        block.push_back(0x42);
        block.push_back(static_cast<std::uint8_t>(m >> 8));
        block.push_back(static_cast<std::uint8_t>(m & 0xFF));
        block.insert(block.end(), extensionItem->begin(), extensionItem->end());
    }
    return block;
}

Bytes encodeEscPosStatus(const PrinterState& state) {
    Bytes status{0x10, 0x00, 0x00, 0x00};
    const bool error = state.errorForced || state.coverOpen || state.paperEmpty;
    if (state.drawerSignal) status[0] |= 0x04;
    if (error) status[0] |= 0x08;
    if (state.coverOpen) status[0] |= 0x20;
    if (state.paperNearEmpty) status[2] |= 0x03;
    if (state.paperEmpty) status[2] |= 0x0C;
    return status;
}

std::uint8_t encodeEscPosMobileStatus(const PrinterState& state) {
    return static_cast<std::uint8_t>(0x30 | (state.paperEmpty ? 0x01 : 0x00) | (state.coverOpen ? 0x02 : 0x00));
}

Bytes wrapInStatusBlocks(const PrinterState& state, int blockLength, int version, std::span<const std::uint8_t> reply) {
    return wrapInStatusBlocks(state, blockLength, version, reply, kMaxItemValue);
}

Bytes wrapInStatusBlocks(const PrinterState& state, int blockLength, int version, std::span<const std::uint8_t> reply,
                         std::size_t itemLimit) {
    itemLimit = std::clamp<std::size_t>(itemLimit, 1, kMaxItemValue);
    Bytes out;
    std::size_t offset = 0;
    do {
        const std::size_t piece = std::min(itemLimit, reply.size() - offset);
        Bytes item(reply.begin() + static_cast<std::ptrdiff_t>(offset),
                   reply.begin() + static_cast<std::ptrdiff_t>(offset + piece));
        Bytes frame = encodeStatusBlock(state, blockLength, version, &item);
        out.insert(out.end(), frame.begin(), frame.end());
        offset += piece;
    } while (offset < reply.size());
    return out;
}

Bytes PrinterSession::receive(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(engine_.mutex_);
    auto& capture = engine_.capture_[channel_];
    capture.insert(capture.end(), bytes.begin(), bytes.end());
    return engine_.processLocked(*this, bytes);
}

Bytes PrinterSession::poll() {
    std::lock_guard lock(engine_.mutex_);
    engine_.settleLocked();
    if (channel_ != PrinterChannel::data) return {};
    Bytes out;
    out.swap(engine_.rawOutput_);
    if (engine_.config_.dialect == PrinterDialect::escPos) engine_.flushEscPosLocked(*this, out);
    if (!engine_.automaticStatus_) return out;
    if (greeted_ && lastAutomaticStatusVersion_ == engine_.stateVersion_) return out;
    greeted_ = true;
    lastAutomaticStatusVersion_ = engine_.stateVersion_;
    Bytes status = engine_.statusReplyLocked();
    out.insert(out.end(), status.begin(), status.end());
    return out;
}

VirtualPrinterEngine::VirtualPrinterEngine(VirtualPrinterConfig config)
    : config_(std::move(config)), automaticStatus_(config_.automaticStatus) {
    // Printer information: ESC GS ) I 01 00 31 -> the same seven bytes, the text, LF NUL.
    handlers_.push_back([this](std::span<const std::uint8_t> bytes) {
        static const Bytes request{0x1B, 0x1D, 0x29, 0x49, 0x01, 0x00, 0x31};
        RequestMatch match;
        const std::size_t common = std::min(bytes.size(), request.size());
        if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common), request.begin())) {
            return match;
        }
        if (bytes.size() < request.size()) {
            match.kind = RequestMatch::Kind::needMore;
            return match;
        }
        match.kind = RequestMatch::Kind::handled;
        match.consumed = request.size();
        match.reply = request;
        match.reply.insert(match.reply.end(), config_.informationText.begin(), config_.informationText.end());
        match.reply.push_back(0x0A);
        match.reply.push_back(0x00);
        return match;
    });
    addPeripheryHandlers();
}

namespace {

// Matches one fixed request at the front of the bytes; the reply comes from the given function.
RequestHandler fixedRequest(Bytes request, std::function<Bytes()> reply) {
    return [request = std::move(request), reply = std::move(reply)](std::span<const std::uint8_t> bytes) {
        RequestMatch match;
        const std::size_t common = std::min(bytes.size(), request.size());
        if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common), request.begin())) {
            return match;
        }
        if (bytes.size() < request.size()) {
            match.kind = RequestMatch::Kind::needMore;
            return match;
        }
        match.kind = RequestMatch::Kind::handled;
        match.consumed = request.size();
        match.reply = reply();
        return match;
    };
}

Bytes textReply(Bytes header, const std::string& text) {
    header.insert(header.end(), text.begin(), text.end());
    header.push_back(0x0A);
    header.push_back(0x00);
    return header;
}

}  // namespace

void VirtualPrinterEngine::queueStoredData(Bytes data) {
    std::lock_guard guard(mutex_);
    queuedStoredData_.push_back(std::move(data));
}

std::size_t VirtualPrinterEngine::queuedStoredDataCount() {
    std::lock_guard guard(mutex_);
    return queuedStoredData_.size();
}

std::size_t VirtualPrinterEngine::accessoryRequestCount() {
    std::lock_guard guard(mutex_);
    return accessoryRequests_;
}

void VirtualPrinterEngine::addPeripheryHandlers() {
    // The handlers run under mutex_, so they read the configuration directly.
    handlers_.push_back(fixedRequest({0x1B, 0x1D, 0x29, 0x49, 0x03, 0x00, 0x33, 0x00, 0x00}, [this] {
        return textReply({0x1B, 0x1D, 0x29, 0x49, 0x03, 0x00, 0x33, 0x00, 0x00}, config_.mountedInterfacesText);
    }));
    handlers_.push_back(fixedRequest({0x1B, 0x23, 0x2A, 0x0A, 0x00},
                                     [this] { return textReply({0x1B, 0x23, 0x2A, 0x2C}, config_.firmwareText); }));
    handlers_.push_back(fixedRequest({0x1B, 0x1E, 0x42, 0x41}, [this] {
        ++accessoryRequests_;
        return Bytes{0x1B, 0x1E, 0x42, 0x41, config_.displayStatus};
    }));
    handlers_.push_back(fixedRequest({0x1B, 0x1E, 0x42, 0x31}, [this] {
        ++accessoryRequests_;
        if (config_.inputDeviceStatusSilent) return Bytes{};
        const std::uint8_t stored = queuedStoredData_.empty() ? 0x00 : 0x01;
        return Bytes{0x1B, 0x1E, 0x42, 0x31, static_cast<std::uint8_t>(config_.inputDeviceStatus | stored)};
    }));
    handlers_.push_back(fixedRequest({0x1B, 0x1D, 0x42, 0x32}, [this] {
        ++accessoryRequests_;
        Bytes queued;
        if (!queuedStoredData_.empty()) {
            queued = std::move(queuedStoredData_.front());
            queuedStoredData_.pop_front();
        }
        const Bytes& data = queued.empty() ? config_.inputDeviceStoredData : queued;
        Bytes reply{0x1B, 0x1D, 0x42, 0x32, static_cast<std::uint8_t>((data.size() >> 8) & 0xFF),
                    static_cast<std::uint8_t>(data.size() & 0xFF)};
        reply.insert(reply.end(), data.begin(), data.end());
        return reply;
    }));
    // ESC GS ) I pL pH 7F 00 00 command: the length counts the bytes after pH. The reply's length counts
    // from pH to its last byte: pH, 7F, the echoed command and the result (01 available, 00 not).
    handlers_.push_back([this](std::span<const std::uint8_t> bytes) {
        static const Bytes prefix{0x1B, 0x1D, 0x29, 0x49};
        RequestMatch match;
        const std::size_t common = std::min(bytes.size(), prefix.size());
        if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common), prefix.begin())) {
            return match;
        }
        if (bytes.size() < 7) {
            match.kind = RequestMatch::Kind::needMore;
            return match;
        }
        if (bytes[6] != 0x7F) return match;
        const std::size_t parameterLength = bytes[4] | (static_cast<std::size_t>(bytes[5]) << 8);
        if (parameterLength < 3) return match;
        if (bytes.size() < 6 + parameterLength) {
            match.kind = RequestMatch::Kind::needMore;
            return match;
        }
        const Bytes command(bytes.begin() + 9, bytes.begin() + static_cast<std::ptrdiff_t>(6 + parameterLength));
        const bool available = std::find(config_.availableCommands.begin(), config_.availableCommands.end(),
                                         command) != config_.availableCommands.end();
        const std::size_t replyLength = command.size() + 3;
        match.kind = RequestMatch::Kind::handled;
        match.consumed = 6 + parameterLength;
        match.reply = {0x1B, 0x1D, 0x29, 0x49, static_cast<std::uint8_t>(replyLength & 0xFF),
                       static_cast<std::uint8_t>((replyLength >> 8) & 0xFF), 0x7F};
        match.reply.insert(match.reply.end(), command.begin(), command.end());
        match.reply.push_back(available ? 0x01 : 0x00);
        return match;
    });
}

std::unique_ptr<PrinterSession> VirtualPrinterEngine::openSession(PrinterChannel channel) {
    return std::unique_ptr<PrinterSession>(new PrinterSession(*this, channel));
}

PrinterState VirtualPrinterEngine::state() {
    std::lock_guard lock(mutex_);
    settleLocked();
    return state_;
}

void VirtualPrinterEngine::update(const std::function<void(PrinterState&)>& change) {
    std::lock_guard lock(mutex_);
    change(state_);
    state_.etbCounter &= 0x1F;
    changedLocked();
}

VirtualPrinterConfig VirtualPrinterEngine::config() {
    std::lock_guard lock(mutex_);
    return config_;
}

void VirtualPrinterEngine::configure(const std::function<void(VirtualPrinterConfig&)>& change) {
    std::lock_guard lock(mutex_);
    const bool wasAutomatic = config_.automaticStatus;
    change(config_);
    if (config_.automaticStatus != wasAutomatic) automaticStatus_ = config_.automaticStatus;
    changedLocked();
}

bool VirtualPrinterEngine::automaticStatusEnabled() {
    std::lock_guard lock(mutex_);
    return automaticStatus_;
}

void VirtualPrinterEngine::addPriorityRequestHandler(RequestHandler handler) {
    std::lock_guard lock(mutex_);
    priorityHandlers_.push_back(std::move(handler));
}

void VirtualPrinterEngine::addRequestHandler(RequestHandler handler) {
    std::lock_guard lock(mutex_);
    handlers_.push_back(std::move(handler));
}

Bytes VirtualPrinterEngine::capture(PrinterChannel channel) {
    std::lock_guard lock(mutex_);
    return capture_[channel];
}

std::size_t VirtualPrinterEngine::captureSize(PrinterChannel channel) {
    std::lock_guard lock(mutex_);
    return capture_[channel].size();
}

Bytes VirtualPrinterEngine::printedData() {
    std::lock_guard lock(mutex_);
    return printed_;
}

void VirtualPrinterEngine::clearCapture() {
    std::lock_guard lock(mutex_);
    capture_.clear();
    printed_.clear();
    statusRequests_.clear();
    etbMarkers_ = 0;
}

std::size_t VirtualPrinterEngine::statusRequestCount() {
    std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const auto& [channel, count] : statusRequests_) total += count;
    return total;
}

std::size_t VirtualPrinterEngine::statusRequestCount(PrinterChannel channel) {
    std::lock_guard lock(mutex_);
    const auto found = statusRequests_.find(channel);
    return found == statusRequests_.end() ? 0 : found->second;
}

void VirtualPrinterEngine::sendRaw(const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    rawOutput_.insert(rawOutput_.end(), bytes.begin(), bytes.end());
}

std::size_t VirtualPrinterEngine::etbMarkerCount() {
    std::lock_guard lock(mutex_);
    return etbMarkers_;
}

void VirtualPrinterEngine::settleLocked() {
    if (pendingEtb_.empty() || state_.paperEmpty) return;
    const auto now = Clock::now();
    bool changed = false;
    while (!pendingEtb_.empty() && pendingEtb_.front() <= now) {
        pendingEtb_.erase(pendingEtb_.begin());
        state_.etbCounter = (state_.etbCounter + 1) & 0x1F;
        changed = true;
    }
    if (changed) changedLocked();
}

Bytes VirtualPrinterEngine::statusBlockLocked() {
    return encodeStatusBlock(state_, config_.statusBlockLength, config_.statusVersion);
}

Bytes VirtualPrinterEngine::statusReplyLocked() {
    Bytes block = config_.dialect == PrinterDialect::escPos ? encodeEscPosStatus(state_) : statusBlockLocked();
    if (config_.garbageReplies) std::fill(block.begin(), block.end(), std::uint8_t{0xFE});
    if (config_.truncateRepliesTo && *config_.truncateRepliesTo < block.size()) block.resize(*config_.truncateRepliesTo);
    return block;
}

Bytes VirtualPrinterEngine::frameReplyLocked(const PrinterSession& session, std::span<const std::uint8_t> reply) {
    if (reply.empty()) return {};  // a request the printer takes without answering
    if (session.channel() == PrinterChannel::data && config_.replyFraming == ReplyFraming::asbExtension) {
        return wrapInStatusBlocks(state_, config_.statusBlockLength, config_.statusVersion, reply,
                                  config_.replyItemLimit);
    }
    return Bytes(reply.begin(), reply.end());
}

void VirtualPrinterEngine::takePrintDataLocked(std::uint8_t byte) {
    printed_.push_back(byte);
    ++printedCount_;
    if (config_.paperEmptyAfterDataBytes && printedCount_ >= *config_.paperEmptyAfterDataBytes && !state_.paperEmpty) {
        state_.paperEmpty = true;
        changedLocked();
    }
}

Bytes VirtualPrinterEngine::processLocked(PrinterSession& session, std::span<const std::uint8_t> bytes) {
    auto& pending = session.pending_;
    pending.insert(pending.end(), bytes.begin(), bytes.end());
    settleLocked();
    Bytes out;
    std::size_t position = 0;
    while (position < pending.size()) {
        const std::span<const std::uint8_t> rest(pending.data() + position, pending.size() - position);
        const std::size_t consumed = session.channel() == PrinterChannel::data ? stepDataLocked(rest, session, out)
                                                                                : stepStatusLocked(rest, out);
        if (consumed == 0) break;
        position += consumed;
    }
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(position));
    if (session.channel() == PrinterChannel::data && config_.dialect == PrinterDialect::escPos) {
        flushEscPosLocked(session, out);
    }
    return out;
}

std::size_t VirtualPrinterEngine::stepStatusLocked(std::span<const std::uint8_t> p, Bytes& out) {
    if (p[0] != 0x32) return 1;
    if (p.size() < kStatusPortRequestLength) return 0;
    ++statusRequests_[PrinterChannel::status];
    Bytes reply = statusReplyLocked();
    out.insert(out.end(), reply.begin(), reply.end());
    return kStatusPortRequestLength;
}

std::size_t VirtualPrinterEngine::stepDataLocked(std::span<const std::uint8_t> p, PrinterSession& session, Bytes& out) {
    for (const auto& handler : priorityHandlers_) {
        RequestMatch match = handler(p);
        if (match.kind == RequestMatch::Kind::needMore) return 0;
        if (match.kind == RequestMatch::Kind::handled) {
            Bytes framed = frameReplyLocked(session, match.reply);
            out.insert(out.end(), framed.begin(), framed.end());
            return std::clamp<std::size_t>(match.consumed, 1, p.size());
        }
    }
    // Printable bytes are print data; commands start with a control byte, and in raster mode "b" starts a
    // raster row (b nL nH, then n bytes).
    auto asCommand = [&](std::size_t length) -> std::size_t {
        if (length == 0 || length > p.size()) return 0;
        for (std::size_t i = 0; i < length; ++i) takePrintDataLocked(p[i]);
        return length;
    };
    if (session.rasterMode_ && p[0] == 0x62) {
        if (p.size() < 3) return 0;
        return asCommand(3 + littleEndian16(p, 1));
    }
    if (p[0] >= 0x20) {
        std::size_t run = 1;
        while (run < p.size() && p[run] >= 0x20 && !(session.rasterMode_ && p[run] == 0x62)) ++run;
        for (std::size_t i = 0; i < run; ++i) takePrintDataLocked(p[i]);
        return run;
    }
    if (config_.dialect != PrinterDialect::orvo) {
        const std::size_t consumed = stepEscPosLocked(p, session, out);
        if (consumed != std::string::npos) return consumed;
    }
    for (const auto& handler : handlers_) {
        RequestMatch match = handler(p);
        if (match.kind == RequestMatch::Kind::needMore) return 0;
        if (match.kind == RequestMatch::Kind::handled) {
            Bytes framed = frameReplyLocked(session, match.reply);
            out.insert(out.end(), framed.begin(), framed.end());
            return std::clamp<std::size_t>(match.consumed, 1, p.size());
        }
    }
    auto asData = [&]() -> std::size_t {
        takePrintDataLocked(p[0]);
        return 1;
    };
    const std::uint8_t b = p[0];
    if (b == 0x00) return 1;  // NUL does nothing (hosts send one after each status-port exchange)
    if (b == 0x17) {
        ++etbMarkers_;
        if (config_.countsEtb) pendingEtb_.push_back(Clock::now() + config_.printDelay);
        settleLocked();
        return 1;
    }
    if (config_.dialect != PrinterDialect::orvo && (b == 0x1B || b == 0x1C || b == 0x1D || b == 0x10)) {
        const std::size_t length = escPosCommandLength(p, config_.dialect == PrinterDialect::escPosMobile);
        if (length != kNotACommand) return asCommand(length);
    }
    if (b != 0x1B) return asData();
    if (p.size() < 2) return 0;
    // Any other command of the maker's set is taken whole, parameters and data with it; bytes that are
    // no command go one at a time.
    auto otherCommand = [&]() -> std::size_t {
        if (config_.dialect != PrinterDialect::orvo) return asData();
        const std::size_t length = orvoCommandLength(p);
        if (length == kNotACommand) return asData();
        if (length >= 4 && p[1] == 0x2A && p[3] == 0x41) session.rasterMode_ = true;
        return asCommand(length);
    };
    switch (p[1]) {
        case 0x06: {  // ESC ACK SOH: status request
            if (p.size() < 3) return 0;
            if (p[2] != 0x01) return otherCommand();
            ++statusRequests_[PrinterChannel::data];
            Bytes reply = statusReplyLocked();
            out.insert(out.end(), reply.begin(), reply.end());
            return 3;
        }
        case 0x1E:  // ESC RS a n (automatic status switch), ESC RS E n (clear the ETB counter)
            if (p.size() < 3) return 0;
            if (p[2] != 0x61 && p[2] != 0x45) return otherCommand();
            if (p.size() < 4) return 0;
            if (p[2] == 0x61) {
                automaticStatus_ = p[3] != 0;
            } else {
                state_.etbCounter = 0;
                pendingEtb_.clear();
                changedLocked();
            }
            return 4;
        case 0x2A:  // ESC * r B (leaves raster mode)
            if (p.size() < 4) return 0;
            if (p[2] != 0x72 || p[3] != 0x42) return otherCommand();
            session.rasterMode_ = false;
            return 4;
        case 0x1D:  // ESC GS ETX s NUL NUL
            if (p.size() < 3) return 0;
            if (p[2] != 0x03) return otherCommand();
            if (p.size() < 6) return 0;
            if (p[4] != 0x00 || p[5] != 0x00) return otherCommand();
            return 6;
        default:
            return otherCommand();
    }
}

std::size_t VirtualPrinterEngine::stepEscPosLocked(std::span<const std::uint8_t> p, PrinterSession& session, Bytes& out) {
    constexpr std::size_t notMine = std::string::npos;
    if (config_.dialect == PrinterDialect::escPos) {
        if (p[0] == 0x1D) {  // GS a n
            if (p.size() < 2) return 0;
            if (p[1] != 0x61) return notMine;
            return p.size() < 3 ? 0 : 3;
        }
        if (p[0] != 0x1B) return notMine;
        if (p.size() < 3) return p.size() >= 2 && p[1] != 0x1D ? notMine : 0;
        if (p[1] != 0x1D || p[2] != 0x03) return notMine;
        if (p.size() < 6) return 0;
        if (p[4] != 0x00 || p[5] != 0x00) return notMine;
        switch (p[3]) {
            case 0x02:  // clear the counter
                if (config_.clearsEtbCounter) {
                    state_.etbCounter = 0;
                    pendingEtb_.clear();
                    changedLocked();
                }
                break;
            case 0x01:  // count once the data before it is printed
                ++etbMarkers_;
                if (config_.countsEtb) pendingEtb_.push_back(Clock::now() + config_.printDelay);
                settleLocked();
                break;
            case 0x00:  // report the counter (after everything counted so far is printed)
                ++session.etbReportsWaiting_;
                break;
            default:
                break;
        }
        return 6;
    }
    // Mobile ESC/POS.
    if (p[0] == 0x10) {  // DLE EOT 4
        if (p.size() < 3) return p.size() == 2 && p[1] != 0x04 ? notMine : 0;
        if (p[1] != 0x04 || p[2] != 0x04) return notMine;
        ++statusRequests_[PrinterChannel::data];
        out.push_back(config_.mobileStatusByte.value_or(encodeEscPosMobileStatus(state_)));
        return 3;
    }
    if (p[0] != 0x1B) return notMine;
    if (p.size() >= 2 && p[1] == 0x06) {  // ESC ACK SOH is no command of this emulation
        if (p.size() < 3) return 0;
        return p[2] == 0x01 ? 3 : notMine;
    }
    if (p.size() < 3) return p.size() >= 2 && p[1] != 0x1C ? notMine : 0;
    if (p[1] != 0x1C || p[2] != 0x15) return notMine;
    if (p.size() < 6) return 0;
    if (p[4] != 0x00 || p[5] != 0x00) return notMine;
    if (p[3] == 0x06) out.push_back(config_.mobileHandshakeByte);
    return 6;
}

void VirtualPrinterEngine::flushEscPosLocked(PrinterSession& session, Bytes& out) {
    settleLocked();
    const auto now = Clock::now();
    if (session.etbReportsWaiting_ > 0 && pendingEtb_.empty()) {
        for (; session.etbReportsWaiting_ > 0; --session.etbReportsWaiting_) {
            const Bytes reply{0x1B, 0x1D, 0x03, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(state_.etbCounter & 0x1F), 0x00};
            out.insert(out.end(), config_.noiseBeforeEtbReply.begin(), config_.noiseBeforeEtbReply.end());
            if (config_.splitEtbReplyDelay) {
                out.insert(out.end(), reply.begin(), reply.begin() + 4);
                session.delayed_.emplace_back(now + *config_.splitEtbReplyDelay, Bytes(reply.begin() + 4, reply.end()));
            } else {
                out.insert(out.end(), reply.begin(), reply.end());
            }
        }
    }
    while (!session.delayed_.empty() && session.delayed_.front().first <= now) {
        out.insert(out.end(), session.delayed_.front().second.begin(), session.delayed_.front().second.end());
        session.delayed_.erase(session.delayed_.begin());
    }
}

}  // namespace Prelix10::Testing
