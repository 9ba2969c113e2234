#include "prelix10/core/ByteUtil.hpp"

#include <algorithm>

namespace Prelix10::Util {

std::vector<std::vector<std::uint8_t>> chunked(std::span<const std::uint8_t> bytes, int pieceSize) {
    std::vector<std::vector<std::uint8_t>> pieces;
    if (bytes.empty()) return pieces;
    const std::size_t n = pieceSize < 1 ? bytes.size() : static_cast<std::size_t>(pieceSize);
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = start + std::min(bytes.size() - start, n);
        pieces.emplace_back(bytes.begin() + static_cast<std::ptrdiff_t>(start),
                            bytes.begin() + static_cast<std::ptrdiff_t>(end));
        start = end;
    }
    return pieces;
}

bool hasBytePrefix(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

namespace {
std::vector<std::uint8_t> littleEndian(std::int64_t value, int width) {
    const auto v = static_cast<std::uint64_t>(std::max<std::int64_t>(value, 0));
    std::vector<std::uint8_t> out;
    for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    return out;
}
}  // namespace

std::vector<std::uint8_t> littleEndianBytes16(std::int64_t value) { return littleEndian(value, 2); }
std::vector<std::uint8_t> littleEndianBytes32(std::int64_t value) { return littleEndian(value, 4); }

std::uint32_t littleEndianUInt32(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 4) return 0;
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

}  // namespace Prelix10::Util
