#pragma once

// The wireless LAN interface module behind a simulated setting device, written from the module's side: it
// collects written bytes until CR, answers each request in turn with CR LF text (the peripheral cuts the answer
// into notifications of the link's size), keeps the mode, SSID, security, pass phrase and whether the setting
// was applied, and captures every request. Knobs: an ERROR answer per command, silence, scan results with any
// SSID text, reply lines left out, and echo.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "support/SimulatedBle.hpp"

namespace Prelix10::Testing {

// Made with std::make_shared: the handler keeps the module alive.
class SimulatedWLanModule : public std::enable_shared_from_this<SimulatedWLanModule> {
public:
    // One access point the module can see; ssid may be any bytes.
    struct AccessPoint {
        std::string ssid;
        std::string bssid;
        int channel = 1;
        int indicator = -60;
        std::string security = "WPA2-PSK";
        std::string passPhrase;
    };
    struct State {
        char mode = '0';
        std::string ssid;
        std::string security = "0";
        std::string passPhrase;
        bool applied = false;
    };

    // The handler to give the simulated peripheral's setting service.
    SimulatedBlePeripheral::SettingHandler handler();
    // Takes written bytes; answers every request they complete.
    Bytes receive(std::span<const std::uint8_t> bytes);

    // Every request received, without its CR, in order.
    std::vector<std::string> requests() const;
    State state() const;

    // Knobs.
    void setAccessPoints(std::vector<AccessPoint> accessPoints);
    // Requests beginning with this command ("ATWPROF", "ATWSEC?", "ATWS", ...) are answered CR LF "ERROR" CR LF.
    void failCommand(const std::string& command);
    // No answers at all (requests are still captured).
    void setSilent(bool silent);
    // Reply lines whose key is one of these are left out.
    void omitLines(std::set<std::string> keys);
    // Echo on (as after ATE1): each request line, CR included, is sent back before its answer.
    void setEcho(bool echo);
    // The scan ends in the scan time-out text instead of OK.
    void setScanTimesOut(bool timesOut);

private:
    Bytes answer(const std::string& request);
    static std::string command(const std::string& request);
    std::string line(const std::string& key, const std::string& separator, const std::string& value) const;

    mutable std::mutex mutex_;
    std::string pending_;
    std::vector<std::string> requests_;
    State state_;
    std::vector<AccessPoint> accessPoints_;
    std::set<std::string> failing_;
    std::set<std::string> omitted_;
    bool silent_ = false;
    bool scanTimesOut_ = false;
    bool echo_ = false;
};

}  // namespace Prelix10::Testing
