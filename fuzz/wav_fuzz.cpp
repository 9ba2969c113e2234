// Arbitrary bytes as a wave file: the header reader must never read past the file, and a one-time
// sound is sent only for a file that holds every sample byte it declares.
#include <cstddef>
#include <cstdint>
#include <string>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/PrinterModel.hpp"
#include "prelix10/command/melodyspeaker/DriveOneTimeSound.hpp"
#include "prelix10/command/melodyspeaker/WaveInformation.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::MelodySpeaker;

namespace {

std::string base64(const std::uint8_t* data, std::size_t size) {
    static const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < size; i += 3) {
        const std::uint32_t v = data[i] << 16 | data[i + 1] << 8 | data[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += alphabet[(v >> s) & 63];
    }
    if (i + 1 == size) {
        const std::uint32_t v = data[i] << 16;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], '=', '='};
    } else if (i + 2 == size) {
        const std::uint32_t v = data[i] << 16 | data[i + 1] << 8;
        out += {alphabet[(v >> 18) & 63], alphabet[(v >> 12) & 63], alphabet[(v >> 6) & 63], '='};
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WaveInformation direct(data, size);
    if (direct.formatKind < 0 || direct.formatKind > 5) __builtin_trap();
    if (direct.dataOffset > size) __builtin_trap();

    ByteBuffer file;
    if (size > 0) file.add(data, size);
    const WaveInformation buffered(&file);
    if (buffered.dataSize != direct.dataSize || buffered.dataOffset != direct.dataOffset ||
        buffered.formatKind != direct.formatKind)
        __builtin_trap();

    ByteBuffer out;
    DriveOneTimeSound::kestrin(&out, base64(data, size), 8, PrinterModel::Harlo599KZ);
    if (out.getDataSize() != 0) {
        if (direct.formatKind != 0 || direct.dataOffset + direct.dataSize > size) __builtin_trap();
        if (out.getDataSize() != 9 + direct.dataSize) __builtin_trap();
    }
    return 0;
}
