#pragma once

// The printer's configuration document: its typed model, decoding from the document text and encoding
// back. The read and write commands that carry it are OrvoConfigCommand's; the area selector and the
// write result are OrvoConfigArea and OrvoConfigurationSetResult, beside them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/protocol/OrvoConfigCommand.hpp"

namespace Prelix10 {

namespace OrvoConfig {

// One firmware the document installs.
struct Firmware {
    std::string action;
    std::string deviceName;
    std::string pathType;
    std::string path;
    std::optional<std::string> fileType;
    std::optional<std::string> printType;
    std::optional<std::string> printBeforeWriting;
    std::optional<std::string> selftestAfterWriting;

    bool operator==(const Firmware&) const = default;
};

// One device's configuration entry.
struct Configuration {
    std::string deviceName;
    std::optional<std::string> printType;
    std::optional<std::string> printBeforeWriting;
    std::optional<std::string> selftestAfterWriting;

    bool operator==(const Configuration&) const = default;
};

struct Root {
    std::string title;
    std::string version;
    std::optional<std::string> notification;
    std::optional<std::string> printWhenCompletedType;
    std::optional<std::string> printWhenCompleted;
    std::optional<std::vector<Firmware>> firmwares;
    std::optional<std::vector<Configuration>> configurations;

    bool operator==(const Root&) const = default;

    // Nothing for a text that is not JSON, not an object, lacks a required key or holds a value of the
    // wrong type. Unknown keys are ignored; an optional key holding null counts as absent.
    static std::optional<Root> decode(std::string_view text);
    // Compact JSON; absent optional fields are left out. Every text is escaped, so the result is strict
    // JSON whatever the values hold (text that is not UTF-8 is replaced, not copied).
    std::string encode() const;
    // The same document, pretty-printed.
    std::string description() const;
};

// The title a document written by this library carries.
inline constexpr const char* kDocumentTitle = "orvo_configuration";

}  // namespace OrvoConfig

class OrvoConfigFunction {
public:
    // Decodes the document text; any bad input fails with the unexpected-state error of line 9.
    static OrvoConfig::Root orvoConfig(std::string_view text);
};

}  // namespace Prelix10
