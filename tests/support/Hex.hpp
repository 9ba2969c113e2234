#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Prelix10::Testing {

// "1B0601" for {0x1B, 0x06, 0x01}; byte expectations in tests compare these texts.
inline std::string hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (auto b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

// Parses hex text, ignoring spaces: "1B 06 01" -> {0x1B, 0x06, 0x01}.
inline std::vector<std::uint8_t> bytesFromHex(std::string_view text) {
    std::vector<std::uint8_t> out;
    int high = -1;
    for (char c : text) {
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else continue;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<std::uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

}  // namespace Prelix10::Testing
