#include "prelix10/command/RunLengthEncoder.hpp"

namespace PrinterCommandBuilder::Printer {

void RunLengthEncoder::encode(const std::uint8_t* data, std::size_t length, std::vector<std::uint8_t>& out) {
    std::size_t p = 0;
    while (p < length) {
        const std::size_t remaining = length - p;
        if (remaining == 1) {
            out.push_back(0x81);
            out.push_back(data[p]);
            ++p;
            continue;
        }
        std::size_t count = 2;
        if (data[p] == data[p + 1]) {
            // Repeat run. A run never takes the last two bytes' positions beyond length - 2, so
            // the tail always leaves room for a header of its own.
            if (remaining >= 4) {
                while (count < maxRunLength && p + count - 1 < length - 2 && data[p + count] == data[p]) {
                    ++count;
                }
            }
            out.push_back(static_cast<std::uint8_t>(0xC0 | count));
            out.push_back(data[p]);
        } else {
            // Literal run: stops before a pair of equal neighbours, which starts a repeat run.
            if (remaining >= 4) {
                while (count < maxRunLength && p + count - 1 < length - 2 &&
                       data[p + count] != data[p + count + 1]) {
                    ++count;
                }
            }
            out.push_back(static_cast<std::uint8_t>(0x80 | count));
            out.insert(out.end(), data + p, data + p + count);
        }
        p += count;
    }
}

}  // namespace PrinterCommandBuilder::Printer
