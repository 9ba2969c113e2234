#pragma once

#include "prelix10/core/Export.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Prelix10 {

// One firmware the service offers for a model variant. Only mainVersion is read; the rest is carried.
struct PRELIX10_EXPORT FirmwareInfo {
    std::string model;
    std::string password;
    std::string type;
    std::string mainVersion;
    std::string bootVersion;

    bool operator==(const FirmwareInfo&) const = default;
};

// The service's list reply: {"firmwareInfo": [ {model, password, type, mainVersion, bootVersion}, ... ]}.
struct PRELIX10_EXPORT JsonFirmwareInfoList {
    std::vector<FirmwareInfo> firmwareInfo;

    // Nothing when the text is not JSON, the list is missing, or any entry lacks a field or holds a
    // field that is not a string.
    static std::optional<JsonFirmwareInfoList> decode(std::string_view text);
    std::string encode() const;
};

}  // namespace Prelix10
