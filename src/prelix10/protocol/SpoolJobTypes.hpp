#pragma once

#include "prelix10/core/Export.hpp"
#include <cstdint>
#include <optional>
#include <string>

#include "prelix10/core/SpoolJobState.hpp"

namespace Prelix10 {

// The settings of one spool print job. The timeout is kept within 0 to 3600.
class PRELIX10_EXPORT OrvoSpoolJobSettings {
public:
    OrvoSpoolJobSettings(bool isRetryEnabled, std::int64_t timeout, std::string note)
        : isRetryEnabled_(isRetryEnabled), timeout_(clampTimeout(timeout)), note_(std::move(note)) {}

    bool isRetryEnabled() const { return isRetryEnabled_; }
    std::int64_t timeout() const { return timeout_; }
    const std::string& note() const { return note_; }
    bool operator==(const OrvoSpoolJobSettings&) const = default;

    // The builders' starting value: no retry, timeout 0, empty note.
    static OrvoSpoolJobSettings internalDefault() { return OrvoSpoolJobSettings(false, 0, ""); }

    // "isRetryEnabled : false, timeout : 0, note : "
    std::string description() const;

private:
    static std::int64_t clampTimeout(std::int64_t t) { return t < 0 ? 0 : (t > 3600 ? 3600 : t); }
    bool isRetryEnabled_;
    std::int64_t timeout_;
    std::string note_;
};

// The host information sent with a spool print job.
struct OrvoSpoolJobSettingsAdditionalInfo {
    std::string title = "OrvoSpoolJobSettingsAdditionalInfo";
    std::string version = "1.0.0";
    std::string note;
    std::string app_info;
    std::string host_model;
    std::string host_OS;
    std::string host_IP;

    // Decodes a JSON object with the seven keys; nothing when the text is no such object.
    static std::optional<OrvoSpoolJobSettingsAdditionalInfo> decode(const std::string& json);
    // The text sent to the spooler: "{", one tab-indented line per field in declaration order, "}" with
    // no line feed after it. Values are JSON-escaped, so the text stays strict JSON whatever they hold.
    std::string jsonText() const;
    bool operator==(const OrvoSpoolJobSettingsAdditionalInfo&) const = default;
};

enum class SpoolJobReceivedInterface : int {
    unknown = 0,
    usbPrinterClass = 1,
    usbAOA = 2,
    usbiAP = 3,
    bluetooth = 4,
    lan = 5,
    cloudKestrin = 6,
    webKestrin = 7,
    qvtd = 8,
};

namespace SpoolJobReceivedInterfaces PRELIX10_EXPORT {
// No value outside 0...8.
std::optional<SpoolJobReceivedInterface> fromRawValue(std::int64_t raw);
// The case name.
std::string description(SpoolJobReceivedInterface value);
}  // namespace SpoolJobReceivedInterfaces

inline std::string describeEnumeration(SpoolJobReceivedInterface value) {
    return SpoolJobReceivedInterfaces::description(value);
}

// The status of one spooled job, as the spooler reports it.
class PRELIX10_EXPORT OrvoSpoolJobStatus {
public:
    class Builder {
    public:
        std::int64_t jobId = 0;
        SpoolJobState jobState = SpoolJobState::unknown;
        std::int64_t elapsedTime = 0;
        SpoolJobReceivedInterface jobReceivedInterface = SpoolJobReceivedInterface::unknown;
        std::string appInfo;
        std::string hostModel;
        std::string hostOS;
        std::string hostIpAddress;
        OrvoSpoolJobSettings jobSettings = OrvoSpoolJobSettings::internalDefault();
    };

    explicit OrvoSpoolJobStatus(const Builder& builder) : fields_(builder) {}

    std::int64_t jobId() const { return fields_.jobId; }
    SpoolJobState jobState() const { return fields_.jobState; }
    std::int64_t elapsedTime() const { return fields_.elapsedTime; }
    SpoolJobReceivedInterface jobReceivedInterface() const { return fields_.jobReceivedInterface; }
    const std::string& appInfo() const { return fields_.appInfo; }
    const std::string& hostModel() const { return fields_.hostModel; }
    const std::string& hostOS() const { return fields_.hostOS; }
    const std::string& hostIpAddress() const { return fields_.hostIpAddress; }
    const OrvoSpoolJobSettings& jobSettings() const { return fields_.jobSettings; }

    // Every field as "label : value", in declaration order.
    std::string description() const;

private:
    Builder fields_;
};

class SpoolUtil {
public:
    // 1 to 9 give that state, anything else unknown.
    static SpoolJobState jobState(std::int64_t rawValue);
    // The printer's interface code: 0..4 -> 1..5, 10..12 -> 6..8, anything else unknown.
    static SpoolJobReceivedInterface jobReceivedInterface(std::int64_t rawValue);
};

}  // namespace Prelix10
