#include "prelix10/core/FormatConverter.hpp"

#include <cctype>

namespace Prelix10 {

namespace {
bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
}  // namespace

bool FormatChecker::isMacAddress(std::string_view text) {
    // Matched by hand rather than with a regular expression so that untrusted long texts cost nothing.
    std::size_t i = 0;
    for (int pair = 0; pair < 6; ++pair) {
        if (i + 2 > text.size() || !isHex(text[i]) || !isHex(text[i + 1])) return false;
        i += 2;
        if (pair < 5 && i < text.size() && (text[i] == ':' || text[i] == '-')) ++i;
    }
    return i == text.size();
}

bool FormatChecker::isIPv4Address(std::string_view text) {
    std::size_t i = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != '.') return false;
            ++i;
        }
        const std::size_t start = i;
        int value = 0;
        while (i < text.size() && i - start < 3 && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        const std::size_t digits = i - start;
        if (digits == 0 || value > 255 || (digits > 1 && text[start] == '0')) return false;
    }
    return i == text.size();
}

std::string FormatConverter::normalizeMacAddress(std::string_view text) {
    if (!FormatChecker::isMacAddress(text)) return std::string(text);
    std::string out;
    out.reserve(12);
    for (char c : text) {
        if (c == ':' || c == '-') continue;
        out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
    return out;
}

}  // namespace Prelix10
