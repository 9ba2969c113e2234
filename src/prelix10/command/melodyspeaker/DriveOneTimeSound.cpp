#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/melodyspeaker/WaveInformation.hpp"

namespace PrinterCommandBuilder::MelodySpeaker {

namespace {

constexpr std::uint64_t kMaxSampleBytes = 128000;
constexpr std::uint64_t kSampleRate = 12800;
constexpr std::size_t kPieceSize = 1024;

}  // namespace

// Plays a mono 12800 Hz PCM wave file of 8- or 16-bit samples carried as Base64 text; any other
// file sends nothing.
void DriveOneTimeSound::kestrin(ByteBuffer* buffer, const std::string& source, int volume, PrinterModel) {
    if (buffer == nullptr) return;
    std::vector<std::uint8_t> file;
    VelmarCommandParser::StrUtil::decodeBase64(source, file);
    const WaveInformation wave(file.data(), file.size());
    if (wave.dataSize > kMaxSampleBytes || wave.formatKind != 0 || wave.sampleRate != kSampleRate ||
        wave.channels != 1 || (wave.bitsPerSample != 8 && wave.bitsPerSample != 16))
        return;
    if (wave.dataOffset > file.size() || wave.dataSize > file.size() - wave.dataOffset) return;

    const bool eightBit = wave.bitsPerSample == 8;
    const auto volumeByte = static_cast<std::uint8_t>(volume == -1 ? 0xFF : std::clamp(volume, 0, 15));
    const auto size = static_cast<std::uint32_t>(wave.dataSize);
    buffer->add({0x1B, 0x1D, 0x73, 0x52, static_cast<std::uint8_t>(eightBit ? 0x01 : 0x02), volumeByte,
                 static_cast<std::uint8_t>(size & 0xFF), static_cast<std::uint8_t>((size >> 8) & 0xFF),
                 static_cast<std::uint8_t>((size >> 16) & 0xFF)});

    const std::uint8_t* samples = file.data() + wave.dataOffset;
    std::uint8_t piece[kPieceSize];
    for (std::size_t offset = 0; offset < size; offset += kPieceSize) {
        const std::size_t length = std::min<std::size_t>(kPieceSize, size - offset);
        for (std::size_t i = 0; i < length; ++i) {
            // The speaker takes 8-bit samples signed; the wave file holds them unsigned.
            piece[i] = eightBit ? static_cast<std::uint8_t>(samples[offset + i] ^ 0x80) : samples[offset + i];
        }
        buffer->add(piece, length);
    }
}

// The other emulations have no melody speaker.
void DriveOneTimeSound::orvoGraphic(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoLine(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoDotImpact(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::orvoYalme1(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::escpos(ByteBuffer*, const std::string&, int, PrinterModel) {}

void DriveOneTimeSound::escposMobile(ByteBuffer*, const std::string&, int, PrinterModel) {}

}  // namespace PrinterCommandBuilder::MelodySpeaker
