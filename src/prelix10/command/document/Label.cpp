#include "prelix10/command/document/Label.hpp"

#include <map>

namespace PrinterCommandBuilder::Document {

namespace {

// Models that take the label command; a model absent from the map or mapped to false does not.
bool hasLabelCommand(PrinterModel model) {
    static const std::map<std::int32_t, bool> models = {
        {20, true},  {21, true},  {22, true},  {23, true},  {24, true},  {25, true},  {27, true},
        {33, true},  {34, true},  {35, true},  {15, false}, {16, false}, {17, false}, {18, false},
        {19, false}, {26, false}, {29, false}, {36, false}, {37, false},
    };
    const auto it = models.find(rawValue(model));
    return it != models.end() && it->second;
}

}  // namespace

void Label::kestrin(ByteBuffer* buffer, bool enable, bool second, PrinterModel model) {
    if (buffer == nullptr || !hasLabelCommand(model)) return;
    const std::uint8_t m = second ? 0x02 : (enable ? 0x01 : 0x00);
    buffer->add({0x1B, 0x1E, 0x78, m, 0x1B, 0x1E, 0x6D, m, 0x01});
}

}  // namespace PrinterCommandBuilder::Document
