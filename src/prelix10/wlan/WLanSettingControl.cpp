#include "prelix10/wlan/WLanSettingControl.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <thread>

#include "prelix10/core/Deadline.hpp"
#include "prelix10/core/Log.hpp"
#include "prelix10/core/Stopwatch.hpp"
#include "prelix10/transport/SettingDevicePort.hpp"
#include "prelix10/wlan/ATCommand.hpp"
#include "prelix10/wlan/ATReplyParsers.hpp"

namespace Prelix10 {

namespace {

std::int64_t elapsedWhole(const Stopwatch& stopwatch) { return static_cast<std::int64_t>(stopwatch.elapsedMilliseconds()); }

Prelix10Error outOfSpecification() {
    return Prelix10Error(Prelix10ErrorKind::argument, Prelix10ErrorMessage::specifiedArgumentValueIsOutOfSpecification);
}

// Any C0 control or DEL is refused, not only line breaks and NUL: no real SSID needs one, and a backspace could
// rewrite the command on a module that edits its input line.
bool holdsControl(const std::string& text) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing past U+10FFFF.
bool isUtf8(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t value = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            value = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            value = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) return false;
            value = (value << 6) | (next & 0x3Fu);
        }
        if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000) || value > 0x10FFFF ||
            (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool isHexDigits(const std::string& text) {
    for (const unsigned char c : text) {
        if (!std::isxdigit(c)) return false;
    }
    return true;
}

// A module with echo on (ATE1) sends each request line back before its reply: those bytes are no part of the
// reply. Gives how many leading bytes of the reply so far are that echo, or nothing while they could still be.
std::optional<std::size_t> echoLength(ByteView reply, const ByteBlock& request) {
    const auto common = std::min(reply.size(), request.size());
    if (!std::equal(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(common), request.begin())) return 0;
    if (reply.size() < request.size()) return std::nullopt;
    return request.size();
}

// Switches the port's concealment of received bytes on for one exchange, and off however it ends.
class ConcealedReplies {
public:
    ConcealedReplies(SettingDevicePort& port, bool on) : port_(on ? &port : nullptr) {
        if (port_) port_->setConcealsReplies(true);
    }
    ~ConcealedReplies() {
        if (port_) port_->setConcealsReplies(false);
    }
    ConcealedReplies(const ConcealedReplies&) = delete;
    ConcealedReplies& operator=(const ConcealedReplies&) = delete;

private:
    SettingDevicePort* port_;
};

// An 802.11 SSID is at most 32 bytes.
constexpr std::size_t kMaximumSsidBytes = 32;

}  // namespace

void BaseWLanSettingControl::initSetting(std::int64_t) {
    raiseUnexpectedState(Log(this, "initSetting(timeout:)", __LINE__), 20);
}
CurrentWLanInfo BaseWLanSettingControl::loadCurrentInfo(std::int64_t) {
    raiseUnexpectedState(Log(this, "loadCurrentInfo(timeout:)", __LINE__), 24);
}
void BaseWLanSettingControl::setupConnection(const APInfo&, std::int64_t) {
    raiseUnexpectedState(Log(this, "setupConnection(apInfo:timeout:)", __LINE__), 28);
}
std::vector<FoundAPInfo> BaseWLanSettingControl::fetchNearbyAccessPointInfo(std::int64_t) {
    raiseUnexpectedState(Log(this, "fetchNearbyAccessPointInfo(timeout:)", __LINE__), 32);
}

void Lupek599WLanSettingControl::exchange(const Log& log, const ByteBlock& request, const Judge& judge,
                                          std::chrono::milliseconds pollInterval, const Stopwatch& stopwatch,
                                          std::int64_t timeout, Secrecy secrecy) {
    ByteBlock reply;
    const auto left = Deadline::remaining(timeout, elapsedWhole(stopwatch));
    const ConcealedReplies concealed(port(), secrecy == Secrecy::concealed);
    if (secrecy == Secrecy::concealed) port().writeConcealed(request, left);
    else port().write(request, left);
    for (;;) {
        const auto piece = port().readOnce(kReadSize);
        reply.insert(reply.end(), piece.begin(), piece.end());
        const auto echo = echoLength(reply, request);
        const auto result = echo ? judge(ByteView(reply).subspan(*echo)) : CommandParserResult::needMoreData();
        if (result.state == CommandParserState::complete) return;
        if (result.state == CommandParserState::invalid) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::badResponse, Prelix10ErrorMessage::badResponseFromDevice));
        }
        if (elapsedWhole(stopwatch) >= timeout) {
            raiseError(log, Prelix10Error(Prelix10ErrorKind::communication, Prelix10ErrorMessage::requestTimedOut));
        }
        std::this_thread::sleep_for(pollInterval);
    }
}

void Lupek599WLanSettingControl::exchange(const Log& log, CommandParser& parser, std::chrono::milliseconds pollInterval,
                                          const Stopwatch& stopwatch, std::int64_t timeout) {
    exchange(log, parser.requestCommands(), [&parser](ByteView data) { return parser.parse(data); }, pollInterval,
             stopwatch, timeout);
}

void Lupek599WLanSettingControl::initSetting(std::int64_t timeout) {
    const Log log(this, "initSetting(timeout:)", __LINE__);
    Stopwatch stopwatch;
    stopwatch.start();
    port().clearReadBuffer();
    exchange(log, ATCommand::Lupek599::createChangeTargetModeCommand(WLanMode::unknown), ATReply::judgeSetReply,
             kPollInterval, stopwatch, timeout);
    exchange(log, ATCommand::Lupek599::createApplySettingCommand(), ATReply::judgeSetReply, kPollInterval, stopwatch,
             timeout);
}

CurrentWLanInfo Lupek599WLanSettingControl::loadCurrentInfo(std::int64_t timeout) {
    const Log log(this, "loadCurrentInfo(timeout:)", __LINE__);
    Stopwatch stopwatch;
    stopwatch.start();
    port().clearReadBuffer();
    CurrentWirelessStatusParser status;
    exchange(log, status, kPollInterval, stopwatch, timeout);
    ConnectionDiagnosisParser diagnosis;
    exchange(log, diagnosis, kPollInterval, stopwatch, timeout);
    GetSecurityTypeParser security;
    exchange(log, security, kPollInterval, stopwatch, timeout);
    GetSsidParser ssid;
    exchange(log, ssid, kPollInterval, stopwatch, timeout);
    // The SSID of the status reply is not used: the SSID query's is the one set.
    return CurrentWLanInfo(ssid.ssid, status.mode, status.channel, status.bssid, security.securityType, diagnosis.rssi,
                           diagnosis.isPassedSsid, diagnosis.isPassedSecurityType, diagnosis.isPassedSecurityKey);
}

void Lupek599WLanSettingControl::checkInputAPInfo(const APInfo& apInfo) {
    const Log log(nullptr, "Lupek599WLanSettingControl", "checkInputAPInfo(apInfo:)", __LINE__);
    const auto fail = [&] { raiseError(log, outOfSpecification()); };
    // Only the named modes: any other value would be sent as a raw byte of the mode command.
    if (apInfo.wlanMode != WLanMode::infrastructure && apInfo.wlanMode != WLanMode::accessPoint) fail();
    if (apInfo.securityType == WLanSecurityType::unknown) fail();
    if (apInfo.ssid.empty()) fail();
    if (apInfo.wlanMode == WLanMode::accessPoint && apInfo.securityType == WLanSecurityType::automatic) fail();
    if (apInfo.ssid.size() > kMaximumSsidBytes) fail();
    if (!isUtf8(apInfo.ssid) || !isUtf8(apInfo.password)) fail();
    if (holdsControl(apInfo.ssid) || holdsControl(apInfo.password)) fail();
    if (apInfo.securityType == WLanSecurityType::open) {
        if (!apInfo.password.empty()) fail();
        return;
    }
    // A pass phrase of 8 to 63 characters, or a key of exactly 64 hex digits.
    if (apInfo.password.size() == 64 && isHexDigits(apInfo.password)) return;
    const auto length = ATReply::characterCount(apInfo.password);
    if (length < 8 || length > 63) fail();
}

void Lupek599WLanSettingControl::setupConnection(const APInfo& apInfo, std::int64_t timeout) {
    const Log log(this, "setupConnection(apInfo:timeout:)", __LINE__);
    checkInputAPInfo(apInfo);
    port().clearReadBuffer();
    Stopwatch stopwatch;
    stopwatch.start();
    const auto judge = ATReply::judgeSetReply;
    exchange(log, ATCommand::Lupek599::createChangeTargetModeCommand(apInfo.wlanMode), judge, kPollInterval, stopwatch,
             timeout);
    exchange(log, ATCommand::Lupek599::createSetSsidCommand(apInfo.ssid), judge, kPollInterval, stopwatch, timeout);
    exchange(log, ATCommand::Lupek599::createSetSecurityTypeCommand(apInfo.securityType), judge, kPollInterval,
             stopwatch, timeout);
    // The pass phrase never reaches the log, not even as the bytes of its request.
    exchange(log, ATCommand::Lupek599::createSetPasswordCommand(apInfo.password), judge, kPollInterval, stopwatch,
             timeout, Secrecy::concealed);
    exchange(log, ATCommand::Lupek599::createApplySettingCommand(), judge, kPollInterval, stopwatch, timeout);
}

std::vector<FoundAPInfo> Lupek599WLanSettingControl::fetchNearbyAccessPointInfo(std::int64_t timeout) {
    const Log log(this, "fetchNearbyAccessPointInfo(timeout:)", __LINE__);
    Stopwatch stopwatch;
    stopwatch.start();
    ScanNearbyAccessPointParser parser;
    exchange(log, parser, kScanPollInterval, stopwatch, timeout);
    return parser.foundAPInfoList;
}

}  // namespace Prelix10
