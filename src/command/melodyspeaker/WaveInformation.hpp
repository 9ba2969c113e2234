#pragma once

#include <cstdint>

#include "command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// The header fields of a wave file held in a buffer.
class WaveInformation {
  public:
    explicit WaveInformation(ByteBuffer* file);

    std::uint64_t fmtChunkSize = 0;
    // 0 for PCM (tag 1), 1 for tag 2, 2 for tag 5, 3 for tag 6, 4 for tag 7; 5 otherwise or unread.
    std::int32_t formatKind = 5;
    std::uint64_t channels = 0;
    std::uint64_t sampleRate = 0;
    std::uint64_t byteRate = 0;
    std::uint64_t blockAlign = 0;
    std::uint64_t bitsPerSample = 0;
    std::uint64_t dataSize = 0;
    std::uint64_t reserved = 0;
    std::uint64_t dataOffset = 0;
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
