#pragma once

// Shared pieces of the parsers whose replies are a header, a text and LF NUL.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "prelix10/protocol/CommandParser.hpp"

namespace Prelix10::TextReplyScan {

// Finds the LF NUL that ends a text: the first index k at or after a start with byte k-1 = 0A and byte
// k = 00. Starts must not decrease from one call to the next; every byte is then looked at once, so a
// parse over a buffer full of headers stays linear.
class TerminatorFinder {
public:
    explicit TerminatorFinder(ByteView data) : data_(data) {}

    std::optional<std::size_t> firstFrom(std::size_t start) {
        if (start == 0) start = 1;
        if (last_ && *last_ >= start) return last_;
        if (exhausted_) return std::nullopt;
        std::size_t k = last_ ? std::max(start, *last_ + 1) : start;
        for (; k < data_.size(); ++k) {
            if (data_[k] == 0x00 && data_[k - 1] == 0x0A) {
                last_ = k;
                return last_;
            }
        }
        exhausted_ = true;
        return std::nullopt;
    }

private:
    ByteView data_;
    std::optional<std::size_t> last_;
    bool exhausted_ = false;
};

inline bool startsWith(ByteView data, std::size_t at, ByteView prefix) {
    if (at > data.size() || data.size() - at < prefix.size()) return false;
    for (std::size_t j = 0; j < prefix.size(); ++j) {
        if (data[at + j] != prefix[j]) return false;
    }
    return true;
}

// The bytes from first to last (inclusive) as text; empty when last is before first.
inline std::string textBetween(ByteView data, std::size_t first, std::size_t lastPlusOne) {
    if (lastPlusOne <= first) return {};
    return std::string(reinterpret_cast<const char*>(data.data() + first), lastPlusOne - first);
}

inline bool isAscii(std::string_view text) {
    for (unsigned char c : text) {
        if (c >= 0x80) return false;
    }
    return true;
}

// Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
inline bool isUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length) return false;
        const auto second = static_cast<unsigned char>(text[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t j = 2; j < length; ++j) {
            const auto next = static_cast<unsigned char>(text[i + j]);
            if (next < 0x80 || next > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

// The non-empty items of a text separated by ",".
inline std::vector<std::string_view> items(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
        if (end > start) out.push_back(text.substr(start, end - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return out;
}

}  // namespace Prelix10::TextReplyScan
