#include "prelix10/wlan/ATCommand.hpp"

#include <string_view>

namespace Prelix10 {

namespace {

constexpr std::uint8_t kCR = 0x0D;

ByteBlock request(std::string_view head, std::span<const std::uint8_t> value) {
    ByteBlock out;
    out.reserve(head.size() + value.size() + 1);
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), value.begin(), value.end());
    out.push_back(kCR);
    return out;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

ByteBlock ATCommand::Lupek599::createChangeTargetModeCommand(WLanMode wlanMode) {
    const std::uint8_t digit = WLanModes::rawValue(wlanMode);
    return request("ATWPROF=", std::span<const std::uint8_t>(&digit, 1));
}

ByteBlock ATCommand::Lupek599::createSetSsidCommand(const std::string& ssid) { return request("ATWSSID=", bytesOf(ssid)); }

ByteBlock ATCommand::Lupek599::createSetSecurityTypeCommand(const WLanSecurityType& securityType) {
    const auto raw = securityType.rawValue();
    return request("ATWSEC=", raw);
}

ByteBlock ATCommand::Lupek599::createSetPasswordCommand(const std::string& password) {
    return request("ATWPSK=", bytesOf(password));
}

ByteBlock ATCommand::Lupek599::createApplySettingCommand() {
    static constexpr std::uint8_t kOne = '1';
    return request("ATWSET=", std::span<const std::uint8_t>(&kOne, 1));
}

}  // namespace Prelix10
