#include "prelix10/command/printer/CjkPriority.hpp"

#include <algorithm>
#include <array>

#include "prelix10/command/CommonModelChecker.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {
namespace {

constexpr int32_t kEmptySlot = 4;

bool slotByte(int32_t value, uint8_t* byte) {
    switch (value) {
        case static_cast<int32_t>(Encode::Japanese):
            *byte = 1;
            return true;
        case static_cast<int32_t>(Encode::SimplifiedChinese):
            *byte = 2;
            return true;
        case static_cast<int32_t>(Encode::TraditionalChinese):
            *byte = 3;
            return true;
        case static_cast<int32_t>(Encode::Korean):
            *byte = 4;
            return true;
        case kEmptySlot:
            *byte = 0;
            return true;
        default:
            return false;
    }
}

}  // namespace

void CjkPriority::orvoCommon(ByteBuffer* buffer, const std::vector<Encode>& priority,
                             PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr ||
        !MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) {
        return;
    }
    settings->cjkCharacterPriority = priority;
    if (CommonModelChecker::isMobile(model)) return;
    // Repeats of a known value change nothing in the command: when the list holds only known
    // values, its distinct values (at most five, worked out once per list) give the same slots.
    const std::vector<Encode>& distinct = settings->cjkCharacterPriority.distinctValues();
    const bool onlyKnown = std::all_of(distinct.begin(), distinct.end(), [](Encode encode) {
        uint8_t unused = 0;
        return slotByte(static_cast<int32_t>(encode), &unused);
    });
    const std::vector<Encode>& walked = onlyKnown ? distinct : settings->cjkCharacterPriority.values();
    std::array<int32_t, 4> slots = {kEmptySlot, kEmptySlot, kEmptySlot, kEmptySlot};
    size_t filled = 0;
    for (const Encode encode : walked) {
        const auto value = static_cast<int32_t>(encode);
        if (value == kEmptySlot) break;
        if (std::find(slots.begin(), slots.begin() + filled, value) != slots.begin() + filled) continue;
        uint8_t unused = 0;
        slots[filled] = slotByte(value, &unused) ? value : kEmptySlot;
        if (++filled == slots.size()) break;
    }
    uint8_t bytes[4] = {};
    for (size_t i = 0; i < slots.size(); ++i) slotByte(slots[i], &bytes[i]);
    buffer->add({0x1B, 0x1D, 0x29, 0x55, 0x05, 0x00, 0x41, bytes[0], bytes[1], bytes[2], bytes[3]});
}

void CjkPriority::orvoGraphic(ByteBuffer*, const std::vector<Encode>&, PrintSettingsInformation*,
                              PrinterModel) {}

void CjkPriority::orvoYalme1(ByteBuffer*, const std::vector<Encode>&, PrintSettingsInformation*,
                             PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
