#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"

namespace TestHex {

// "1B 40" for the bytes 0x1B 0x40.
inline std::string hex(const std::vector<std::uint8_t>& bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i) out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

inline std::string hex(const PrinterCommandBuilder::ByteBuffer& buffer) {
    return hex(buffer.toVector());
}

inline std::string hex(const std::string& bytes) {
    return hex(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

}  // namespace TestHex
