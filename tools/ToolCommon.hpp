// What the command-line tools share: whole-file reads that tell a failed read from an empty file,
// strict number arguments, and a main wrapper that turns every failure into one line on stderr.
#pragma once

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>

#include "prelix10/core/LibraryVersion.hpp"

namespace ToolCommon {

// A failure the tool reports as one line and exit status `status`.
struct ToolFailure {
    std::string message;
    int status = 2;
};

// The whole content of a file, or of standard input for "-". Throws ToolFailure on any read error,
// a directory or a missing file.
inline std::string readAll(const std::string& path) {
    std::ostringstream content;
    if (path == "-") {
        content << std::cin.rdbuf();
        if (std::cin.bad()) throw ToolFailure{"cannot read standard input"};
        return content.str();
    }
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) throw ToolFailure{"cannot read " + path + ": is a directory"};
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ToolFailure{"cannot read " + path + ": " + std::strerror(errno)};
    in.peek();
    if (in.bad()) throw ToolFailure{"cannot read " + path};
    if (!in.eof()) content << in.rdbuf();
    if (in.bad()) throw ToolFailure{"cannot read " + path};
    return content.str();
}

// A decimal integer in [0, max], the whole argument and nothing else.
inline std::uint64_t parseUnsigned(const std::string& option, const std::string& text, std::uint64_t max) {
    std::uint64_t value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value > max)
        throw ToolFailure{option + " needs a whole number from 0 to " + std::to_string(max) + ", not '" + text + "'"};
    return value;
}

// A non-negative decimal number, such as "1.5".
inline double parseSeconds(const std::string& option, const std::string& text) {
    std::size_t used = 0;
    double value = -1;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || !(value >= 0) || value > 1e9)
        throw ToolFailure{option + " needs a number of seconds, not '" + text + "'"};
    return value;
}

// The line --version prints.
inline std::string versionLine(const char* tool) { return std::string(tool) + " " + Prelix10::libraryVersion(); }

// Runs the tool's body; any failure becomes "<tool>: <message>" on one line of stderr.
template <typename Body>
int run(const char* tool, Body body) {
    auto oneLine = [](std::string text) {
        for (auto& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        return text;
    };
    try {
        return body();
    } catch (const ToolFailure& failure) {
        std::cerr << tool << ": " << oneLine(failure.message) << "\n";
        return failure.status;
    } catch (const std::exception& error) {
        std::cerr << tool << ": " << oneLine(error.what()) << "\n";
        return 1;
    } catch (...) {
        std::cerr << tool << ": unexpected failure\n";
        return 1;
    }
}

}  // namespace ToolCommon
