#include "prelix10/command/melodyspeaker/WaveInformation.hpp"

#include <cstring>
#include <vector>

namespace PrinterCommandBuilder::MelodySpeaker {

namespace {

constexpr std::size_t kHeaderSize = 44;
constexpr std::size_t kDataSearchStart = 36;

std::uint32_t le16(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t le32(const std::uint8_t* p) {
    return le16(p) | le16(p + 2) << 16;
}

bool tagAt(const std::uint8_t* file, std::size_t offset, const char* tag) {
    return std::memcmp(file + offset, tag, 4) == 0;
}

}  // namespace

WaveInformation::WaveInformation(ByteBuffer* file) {
    if (file == nullptr) return;
    const std::vector<std::uint8_t> bytes = file->toVector();
    read(bytes.data(), bytes.size());
}

WaveInformation::WaveInformation(const std::uint8_t* file, std::size_t size) {
    if (file != nullptr) read(file, size);
}

void WaveInformation::read(const std::uint8_t* file, std::size_t size) {
    if (size < kHeaderSize) return;
    if (!tagAt(file, 0, "RIFF") || !tagAt(file, 8, "WAVE") || !tagAt(file, 12, "fmt ")) return;

    // The first "data" tag from offset 36 on whose 32-bit length is inside the file too.
    std::size_t position = kDataSearchStart;
    bool found = false;
    for (; position + 8 <= size; ++position) {
        if (tagAt(file, position, "data")) {
            found = true;
            break;
        }
    }
    if (!found) return;
    dataSize = le32(file + position + 4);
    dataOffset = position + 8;

    fmtChunkSize = le32(file + 16);
    switch (le16(file + 20)) {
        case 1:
            formatKind = 0;
            break;
        case 2:
            formatKind = 1;
            break;
        case 5:
            formatKind = 2;
            break;
        case 6:
            formatKind = 3;
            break;
        case 7:
            formatKind = 4;
            break;
        default:
            return;
    }
    channels = le16(file + 22);
    sampleRate = le32(file + 24);
    byteRate = le32(file + 28);
    blockAlign = le16(file + 32);
    bitsPerSample = le16(file + 34);
}

}  // namespace PrinterCommandBuilder::MelodySpeaker
