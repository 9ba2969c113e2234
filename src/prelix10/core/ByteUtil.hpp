#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Prelix10::Util {

// Consecutive pieces of pieceSize bytes from the front, the last holding the rest. An empty block gives no
// pieces; a piece size below 1 gives the whole block as one piece rather than never advancing.
std::vector<std::vector<std::uint8_t>> chunked(std::span<const std::uint8_t> bytes, int pieceSize);

// True when bytes begins with exactly prefix (an empty prefix is always a prefix).
bool hasBytePrefix(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix);

// Low byte first; negative values count as 0 and higher bits are dropped.
std::vector<std::uint8_t> littleEndianBytes16(std::int64_t value);
std::vector<std::uint8_t> littleEndianBytes32(std::int64_t value);
// Bytes 0 to 3, low byte first; 0 when fewer than 4 bytes are given.
std::uint32_t littleEndianUInt32(std::span<const std::uint8_t> bytes);

}  // namespace Prelix10::Util
