#include "prelix10/builder/Base64.hpp"

#include <array>
#include <cstring>

namespace Prelix10::VelmarCommand {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit group, so three bytes take two look-ups.
constexpr auto kPairs = [] {
    std::array<std::array<char, 2>, 4096> pairs{};
    for (std::size_t group = 0; group < pairs.size(); ++group)
        pairs[group] = {kAlphabet[group >> 6], kAlphabet[group & 63]};
    return pairs;
}();

}  // namespace

std::string base64Encode(std::span<const std::uint8_t> bytes) {
    std::string out;
    out.resize((bytes.size() + 2) / 3 * 4);
    char* o = out.data();
    const std::uint8_t* b = bytes.data();
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3, o += 4) {
        const std::uint32_t v = (std::uint32_t{b[i]} << 16) | (std::uint32_t{b[i + 1]} << 8) | b[i + 2];
        std::memcpy(o, kPairs[v >> 12].data(), 2);
        std::memcpy(o + 2, kPairs[v & 0xFFF].data(), 2);
    }
    const std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t v = std::uint32_t{b[i]} << 16;
        if (rest == 2) v |= std::uint32_t{b[i + 1]} << 8;
        o[0] = kAlphabet[(v >> 18) & 63];
        o[1] = kAlphabet[(v >> 12) & 63];
        o[2] = rest == 2 ? kAlphabet[(v >> 6) & 63] : '=';
        o[3] = '=';
    }
    return out;
}

}  // namespace Prelix10::VelmarCommand
