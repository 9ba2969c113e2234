#include "prelix10/command/document/TopMargin.hpp"

#include <algorithm>
#include <map>
#include <vector>

namespace PrinterCommandBuilder::Document {

namespace {

bool hasTopMarginCommand(PrinterModel model) {
    static const std::map<std::int32_t, bool> models = {
        {16, true},  {17, true},  {18, true},  {19, true},  {20, true},  {21, true},  {27, true},
        {33, true},  {34, true},  {35, true},  {36, true},  {15, false}, {22, false}, {23, false},
        {24, false}, {25, false}, {26, false}, {29, false}, {37, false},
    };
    const auto it = models.find(rawValue(model));
    return it != models.end() && it->second;
}

}  // namespace

void TopMargin::kestrin(ByteBuffer* buffer, int height, PrinterModel model) {
    if (!hasTopMarginCommand(model)) return;
    orvoCommon(buffer, height);
}

void TopMargin::orvoLine(ByteBuffer* buffer, int height) {
    orvoCommon(buffer, height);
}

void TopMargin::orvoCommon(ByteBuffer* buffer, int height) {
    if (buffer == nullptr) return;
    // The margin moves one step at a time from 11 toward the requested value.
    const int n = std::clamp(height, 1, 20);
    const int step = n < 12 ? -1 : 1;
    std::vector<std::uint8_t> bytes;
    for (int k = 11;; k += step) {
        bytes.insert(bytes.end(), {0x1B, 0x1E, 0x54, static_cast<std::uint8_t>(k)});
        if (k == n) break;
    }
    buffer->add(bytes);
}

void TopMargin::orvoGraphic(ByteBuffer* buffer, int height) {
    if (buffer == nullptr) return;
    buffer->add({0x1B, 0x2A, 0x72, 0x74, static_cast<std::uint8_t>(std::clamp(height, 3, 11)), 0x00});
}

}  // namespace PrinterCommandBuilder::Document
