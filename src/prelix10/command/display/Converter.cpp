#include "prelix10/command/display/Converter.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace PrinterCommandBuilder::Display {

namespace {
constexpr std::size_t kMaxChunk = 1024;
}  // namespace

void Converter::savePrinterCommand(const char* data, std::size_t length, ByteBuffer* output) {
    if (data == nullptr || output == nullptr) return;
    for (std::size_t offset = 0; offset < length;) {
        const std::size_t chunk = std::min(kMaxChunk, length - offset);
        output->add({0x1B, 0x1D, 0x42, 0x40, static_cast<std::uint8_t>(chunk & 0xFF),
                     static_cast<std::uint8_t>(chunk >> 8)});
        output->add(data + offset, chunk);
        offset += chunk;
    }
}

void Converter::savePrinterCommand(ByteBuffer* data, ByteBuffer* output) {
    if (data == nullptr || output == nullptr) return;
    const std::vector<std::uint8_t> bytes = data->toVector();
    savePrinterCommand(reinterpret_cast<const char*>(bytes.data()), bytes.size(), output);
}

}  // namespace PrinterCommandBuilder::Display
