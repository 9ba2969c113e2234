#include "prelix10/wlan/WLanSettingControl.hpp"

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

bool holdsLineBreakOrNul(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

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
    if (secrecy == Secrecy::concealed) port().writeConcealed(request, left);
    else port().write(request, left);
    for (;;) {
        const auto piece = port().readOnce(kReadSize);
        reply.insert(reply.end(), piece.begin(), piece.end());
        const auto result = judge(reply);
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
    if (apInfo.wlanMode == WLanMode::unknown) fail();
    if (apInfo.securityType == WLanSecurityType::unknown) fail();
    if (apInfo.ssid.empty()) fail();
    if (apInfo.wlanMode == WLanMode::accessPoint && apInfo.securityType == WLanSecurityType::automatic) fail();
    if (holdsLineBreakOrNul(apInfo.ssid) || holdsLineBreakOrNul(apInfo.password)) fail();
    if (apInfo.securityType == WLanSecurityType::open) {
        if (!apInfo.password.empty()) fail();
        return;
    }
    const auto length = ATReply::characterCount(apInfo.password);
    if (length < 8 || length > 64) fail();
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
