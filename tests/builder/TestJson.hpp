#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

namespace Testing {

// A strict parse with nlohmann (which also checks UTF-8) and, when jq is installed, `jq empty`.
inline bool isValidJson(const std::string& text) {
    if (!nlohmann::json::accept(text)) return false;
    if (std::system("command -v jq >/dev/null 2>&1") != 0) return true;
    char path[] = "/tmp/prelix10_json_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return false;
    close(fd);
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    const std::string command = std::string("jq empty ") + path + " >/dev/null 2>&1";
    const bool ok = std::system(command.c_str()) == 0;
    std::remove(path);
    return ok;
}

}  // namespace Testing

#include "prelix10/core/JSONBuilder.hpp"

namespace Testing {

// The written text of one object, parsed back with its key order kept.
inline nlohmann::ordered_json written(const Prelix10::JsonObjectRef& object) {
    return nlohmann::ordered_json::parse(Prelix10::JSONBuilder().build(Prelix10::JsonValue(object), 0));
}

}  // namespace Testing
