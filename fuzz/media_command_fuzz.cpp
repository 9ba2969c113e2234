// Arbitrary document values for pictures, barcodes and ruled lines: no creator may read past its
// input, and the run-length form and the Code128 code-set marks must decode back to their input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "prelix10/command/ByteBuffer.hpp"
#include "prelix10/command/Code128CodeSetChooser.hpp"
#include "prelix10/command/RunLengthEncoder.hpp"
#include "prelix10/command/printer/Barcode.hpp"
#include "prelix10/command/printer/Image.hpp"
#include "prelix10/command/printer/PrintSettingsInformation.hpp"
#include "prelix10/command/printer/RuledLine.hpp"

using namespace PrinterCommandBuilder;
using namespace PrinterCommandBuilder::Printer;

namespace {

void checkRunLength(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> encoded;
    RunLengthEncoder::encode(data, size, encoded);
    if (encoded.size() > RunLengthEncoder::maxEncodedSize(size)) __builtin_trap();
    std::vector<std::uint8_t> decoded;
    for (std::size_t p = 0; p < encoded.size();) {
        const std::uint8_t header = encoded[p++];
        const std::size_t count = header & 0x3F;
        if (!(header & 0x80) || count < 1 || count > RunLengthEncoder::maxRunLength) __builtin_trap();
        if (header & 0x40) {
            decoded.insert(decoded.end(), count, encoded.at(p++));
        } else {
            for (std::size_t i = 0; i < count; ++i) decoded.push_back(encoded.at(p++));
        }
    }
    if (decoded.size() != size || (size > 0 && std::memcmp(decoded.data(), data, size) != 0))
        __builtin_trap();
}

void checkCode128(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> out = Code128CodeSetChooser::choose(data, size);
    if (!out.empty() && out[0] != '{') __builtin_trap();  // the data opens with a code set
    for (std::size_t p = 0; p < out.size(); ++p) {
        if (out[p] != '{') continue;
        if (p + 1 >= out.size() || !std::strchr("ABCS1234{", out[p + 1])) __builtin_trap();
        ++p;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8) return 0;
    const std::uint8_t selector = data[0];
    const int width = (data[1] | (data[2] << 8)) - 8;  // a few negative values too
    const int height = (data[3] | (data[4] << 8)) % 4096 - 4;
    const std::string rest(reinterpret_cast<const char*>(data + 8), size - 8);

    checkRunLength(data + 8, size - 8);
    checkCode128(data + 8, size - 8);

    PrintSettingsInformation settings;
    settings.alignment = static_cast<AlignmentType>(data[5] % 4);
    settings.isLineHead = data[5] & 0x10;
    ByteBuffer buffer;
    const PrinterModel model = static_cast<PrinterModel>(data[6] % 40);
    switch (selector % 8) {
        case 0:
            Image::kestrin(&buffer, rest, width, height, &settings, model);
            break;
        case 1:
            Image::escpos(&buffer, rest, width, height, &settings);
            break;
        case 2:
            Image::escposMobile(&buffer, rest, width, height, &settings);
            break;
        case 3:
            Image::orvoGraphic(&buffer, rest, width, height, &settings);
            break;
        case 4:
            Image::orvoDotImpact(&buffer, rest, width * 4096 + height, height, &settings);
            break;
        case 5: {
            const auto type = static_cast<BarcodeType>(data[7] % 12);
            const auto level = static_cast<BarRatioLevel>(data[5] % 4);
            const double barHeight = (data[1] - 64) * 1.5;
            Barcode::orvoCommon(&buffer, type, rest, data[7] & 0x80, data[2] - 100, level, &settings, model,
                                barHeight);
            Barcode::orvoDotImpact(&buffer, type, rest, data[7] & 0x80, data[2] - 100, level, &settings,
                                   barHeight);
            Barcode::escpos(&buffer, type, rest, data[7] & 0x80, data[2] - 100, level, &settings, barHeight);
            Barcode::escposMobile(&buffer, type, rest, data[7] & 0x80, data[2] - 100, level, &settings,
                                  barHeight);
            break;
        }
        default: {
            const double x = (static_cast<std::int8_t>(data[1])) * 1.7;
            const double w = data[2] * 0.6 - 10;
            const double t = data[3] * 0.1 - 2;
            const auto style = static_cast<LineStyle>(data[7] % 3);
            RuledLine::orvoCommon(&buffer, x, w, t, style, &settings, model);
            RuledLine::orvoDotImpact(&buffer, x, w, t, style, &settings, model);
            RuledLine::escpos(&buffer, x, w, t, style, &settings, model);
            RuledLine::escposMobile(&buffer, x, w, t, style, &settings, model);
            RuledLine::orvoGraphic(&buffer, x, w, t, style, &settings, model);
            break;
        }
    }
    return 0;
}
