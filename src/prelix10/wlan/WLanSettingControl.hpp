#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "prelix10/protocol/CommandParser.hpp"
#include "prelix10/wlan/APInfo.hpp"
#include "prelix10/wlan/CurrentWLanInfo.hpp"
#include "prelix10/wlan/FoundAPInfo.hpp"

namespace Prelix10 {

class Log;
class SettingDevicePort;
class Stopwatch;

// What the wireless LAN setting object asks of a device's module. Every operation blocks its thread and spends
// one budget of timeout milliseconds over all of its requests.
class WLanSettingControl {
public:
    virtual ~WLanSettingControl() = default;
    virtual void initSetting(std::int64_t timeout) = 0;
    virtual CurrentWLanInfo loadCurrentInfo(std::int64_t timeout) = 0;
    virtual void setupConnection(const APInfo& apInfo, std::int64_t timeout) = 0;
    virtual std::vector<FoundAPInfo> fetchNearbyAccessPointInfo(std::int64_t timeout) = 0;
};

// Holds the port; its own operations fail with the unexpected-state error.
class BaseWLanSettingControl : public WLanSettingControl {
public:
    explicit BaseWLanSettingControl(std::shared_ptr<SettingDevicePort> port) : port_(std::move(port)) {}

    void initSetting(std::int64_t timeout) override;
    CurrentWLanInfo loadCurrentInfo(std::int64_t timeout) override;
    void setupConnection(const APInfo& apInfo, std::int64_t timeout) override;
    std::vector<FoundAPInfo> fetchNearbyAccessPointInfo(std::int64_t timeout) override;

protected:
    SettingDevicePort& port() const { return *port_; }

private:
    const std::shared_ptr<SettingDevicePort> port_;
};

// The interface module's control: one AT request at a time, each written with what is left of the budget, its
// reply read in 1024-byte reads and judged after each, the next request only after a positive reply. Nothing
// is retried and nothing is undone when a later request fails.
class Lupek599WLanSettingControl final : public BaseWLanSettingControl {
public:
    static constexpr std::chrono::milliseconds kPollInterval{100};
    static constexpr std::chrono::milliseconds kScanPollInterval{10};
    static constexpr std::int64_t kReadSize = 1024;

    using BaseWLanSettingControl::BaseWLanSettingControl;

    // Mode "unknown", then apply.
    void initSetting(std::int64_t timeout) override;
    // Status, diagnosis, security and SSID queries.
    CurrentWLanInfo loadCurrentInfo(std::int64_t timeout) override;
    // Mode, SSID, security, pass phrase (sent for every security type), apply; nothing is sent when the input
    // check fails.
    void setupConnection(const APInfo& apInfo, std::int64_t timeout) override;
    std::vector<FoundAPInfo> fetchNearbyAccessPointInfo(std::int64_t timeout) override;

    // "Specified argument value is out of specification." (argument) unless: a known mode and security type, a
    // non-empty SSID, not an access point with automatic security, no pass phrase for an open network and
    // otherwise one of 8 to 64 user-perceived characters; and neither SSID nor pass phrase holds CR, LF or NUL,
    // which would end the request early and let the rest run as a command of its own.
    static void checkInputAPInfo(const APInfo& apInfo);

private:
    using Judge = std::function<CommandParserResult(ByteView)>;
    enum class Secrecy { none, concealed };
    void exchange(const Log& log, const ByteBlock& request, const Judge& judge, std::chrono::milliseconds pollInterval,
                  const Stopwatch& stopwatch, std::int64_t timeout, Secrecy secrecy = Secrecy::none);
    void exchange(const Log& log, CommandParser& parser, std::chrono::milliseconds pollInterval,
                  const Stopwatch& stopwatch, std::int64_t timeout);
};

class WLanSettingControlFactory {};

}  // namespace Prelix10
