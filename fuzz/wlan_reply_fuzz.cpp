// The wireless LAN module's replies over arbitrary bytes: every parser, above all the scan's, reads only
// inside the reply, never reports a frame range, and takes nothing from the reply that is longer than it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "prelix10/wlan/ATReplyParsers.hpp"

using namespace Prelix10;

namespace {
void checkRange(const CommandParserResult& r) {
    if (r.lowerIndex != -1 || r.upperIndex != -1) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView reply(data, size);

    ScanNearbyAccessPointParser scan;
    const auto s = scan.parse(reply);
    checkRange(s);
    if (s.state == CommandParserState::invalid) std::abort();
    if (s.state != CommandParserState::complete && !scan.foundAPInfoList.empty()) std::abort();
    // Each entry takes at least five lines of the reply.
    if (scan.foundAPInfoList.size() * 10 > size) std::abort();
    for (const auto& ap : scan.foundAPInfoList) {
        if (ap.ssid.size() + ap.bssid.size() + ap.security.size() > size) std::abort();
    }

    const auto set = ATReply::judgeSetReply(reply);
    checkRange(set);
    if (set.state != CommandParserState::needMoreData && size < 6) std::abort();

    GetSsidParser ssid;
    checkRange(ssid.parse(reply));
    if (ssid.ssid.size() > size) std::abort();
    GetSecurityTypeParser security;
    checkRange(security.parse(reply));
    CurrentWirelessStatusParser status;
    checkRange(status.parse(reply));
    if (status.ssid.size() + status.bssid.size() > size) std::abort();
    ConnectionDiagnosisParser diagnosis;
    checkRange(diagnosis.parse(reply));
    return 0;
}
