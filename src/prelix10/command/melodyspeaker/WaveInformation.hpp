#pragma once

#include <cstddef>
#include <cstdint>

#include "prelix10/command/ByteBuffer.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

// The header fields of a wave file held in a buffer. The file is untrusted: a field is read only
// when the file holds all of its bytes, and a file too short for its header is left unread.
class WaveInformation {
  public:
    explicit WaveInformation(ByteBuffer* file);
    WaveInformation(const std::uint8_t* file, std::size_t size);

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
    // The position of the first sample byte once the "data" chunk is found.
    std::uint64_t dataOffset = 0;

  private:
    void read(const std::uint8_t* file, std::size_t size);
};

}  // namespace PrinterCommandBuilder::MelodySpeaker
