#include "support/SimulatedWLanModule.hpp"

namespace Prelix10::Testing {

namespace {

const std::string kOk = "\r\nOK\r\n";
const std::string kError = "\r\nERROR\r\n";
const std::string kScanTimeout = "\r\nERROR (SCAN TIMEOUT)\r\n";

Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string securityName(const std::string& digits) {
    static const std::map<std::string, std::string> names{
        {"0", "OPEN"}, {"1", "WPA-PSK"}, {"2", "WPA2-PSK"}, {"3", "WPA3-SAE"}, {"10", "AUTO"}};
    const auto it = names.find(digits);
    return it == names.end() ? "UNKNOWN" : it->second;
}

}  // namespace

SimulatedBlePeripheral::SettingHandler SimulatedWLanModule::handler() {
    return [self = shared_from_this()](std::span<const std::uint8_t> bytes) { return self->receive(bytes); };
}

Bytes SimulatedWLanModule::receive(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    Bytes out;
    for (auto b : bytes) {
        if (b != '\r') {
            pending_.push_back(static_cast<char>(b));
            continue;
        }
        std::string request = std::move(pending_);
        pending_.clear();
        requests_.push_back(request);
        const Bytes reply = answer(request);
        if (silent_) continue;
        if (echo_) {
            out.insert(out.end(), request.begin(), request.end());
            out.push_back('\r');
        }
        out.insert(out.end(), reply.begin(), reply.end());
    }
    return out;
}

std::string SimulatedWLanModule::command(const std::string& request) {
    const auto at = request.find('=');
    return at == std::string::npos ? request : request.substr(0, at);
}

std::string SimulatedWLanModule::line(const std::string& key, const std::string& separator, const std::string& value) const {
    if (omitted_.count(key)) return {};
    return key + separator + value + "\r\n";
}

Bytes SimulatedWLanModule::answer(const std::string& request) {
    const std::string name = command(request);
    if (failing_.count(name)) return bytesOf(kError);
    const auto value = request.size() > name.size() ? request.substr(name.size() + 1) : std::string();
    if (name == "ATWPROF") {
        if (value.size() != 1 || value[0] < '0' || value[0] > '2') return bytesOf(kError);
        state_.mode = value[0];
        state_.applied = false;
        return bytesOf(kOk);
    }
    if (name == "ATWSSID") {
        state_.ssid = value;
        state_.applied = false;
        return bytesOf(kOk);
    }
    if (name == "ATWSEC") {
        if (securityName(value) == "UNKNOWN") return bytesOf(kError);
        state_.security = value;
        state_.applied = false;
        return bytesOf(kOk);
    }
    if (name == "ATWPSK") {
        state_.passPhrase = value;
        state_.applied = false;
        return bytesOf(kOk);
    }
    if (name == "ATWSET") {
        if (value != "1") return bytesOf(kError);
        state_.applied = true;
        return bytesOf(kOk);
    }
    const AccessPoint* joined = nullptr;
    for (const auto& ap : accessPoints_) {
        if (state_.applied && state_.mode == '1' && ap.ssid == state_.ssid) joined = &ap;
    }
    if (request == "ATW") {
        const std::string mode = state_.mode == '1' ? "Station" : state_.mode == '2' ? "uAP" : "None";
        return bytesOf("\r\n" + line("ssid", " = ", state_.ssid) + line("Mode", " = ", mode) +
                       line("Bssid", " = ", joined ? joined->bssid : "00:00:00:00:00:00") +
                       line("Channel", " = ", std::to_string(joined ? joined->channel : 0)) + kOk);
    }
    if (request == "ATWINSPECT") {
        const auto verdict = [](bool pass) { return std::string(pass ? "pass" : "fail"); };
        const bool securityMatches = joined && securityName(state_.security) == joined->security;
        return bytesOf("\r\n" + line("SSID", ": ", verdict(joined != nullptr)) +
                       line("RSSI", ": ", std::to_string(joined ? joined->indicator : -100) + " dBm") +
                       line("Security Type", ": ", verdict(securityMatches)) +
                       line("Security key", ": ", verdict(securityMatches && joined->passPhrase == state_.passPhrase)) +
                       kOk);
    }
    if (request == "ATWSEC?") return bytesOf("\r\n" + line("Security", " = ", securityName(state_.security)) + kOk);
    if (request == "ATWSSID?") return bytesOf("\r\n" + line("ssid", " = ", state_.ssid) + kOk);
    if (request == "ATWS") {
        std::string text = "\r\n";
        for (const auto& ap : accessPoints_) {
            text += line("ssid", " = ", ap.ssid) + line("bssid", " = ", ap.bssid) +
                    line("channel", " = ", std::to_string(ap.channel)) +
                    line("indicator", " = ", std::to_string(ap.indicator)) + line("security", " = ", ap.security);
        }
        return bytesOf(text + (scanTimesOut_ ? kScanTimeout : kOk));
    }
    return bytesOf(kError);
}

std::vector<std::string> SimulatedWLanModule::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

SimulatedWLanModule::State SimulatedWLanModule::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

void SimulatedWLanModule::setAccessPoints(std::vector<AccessPoint> accessPoints) {
    std::lock_guard lock(mutex_);
    accessPoints_ = std::move(accessPoints);
}

void SimulatedWLanModule::failCommand(const std::string& command) {
    std::lock_guard lock(mutex_);
    failing_.insert(command);
}

void SimulatedWLanModule::setSilent(bool silent) {
    std::lock_guard lock(mutex_);
    silent_ = silent;
}

void SimulatedWLanModule::omitLines(std::set<std::string> keys) {
    std::lock_guard lock(mutex_);
    omitted_ = std::move(keys);
}

void SimulatedWLanModule::setEcho(bool echo) {
    std::lock_guard lock(mutex_);
    echo_ = echo;
}

void SimulatedWLanModule::setScanTimesOut(bool timesOut) {
    std::lock_guard lock(mutex_);
    scanTimesOut_ = timesOut;
}

}  // namespace Prelix10::Testing
