#include "prelix10/command/PrintableAreaTable.hpp"

#include <cstdint>

namespace PrinterCommandBuilder::Document {

namespace {

void addSteps(std::vector<PrintableAreaInfo>& list, int from, int to, int step) {
    for (int width = from; width <= to; width += step) {
        list.push_back({width, static_cast<std::uint8_t>(width / 8)});
    }
}

}  // namespace

std::vector<PrintableAreaInfo> PrintableAreaTable::entries(PrinterModel model) {
    std::vector<PrintableAreaInfo> list;
    switch (rawValue(model)) {
        case 2:
            list = {{576, 0}, {276, 1}, {256, 2}, {406, 3}};
            break;
        case 3:
            list = {{576, 0}, {406, 3}, {420, 1}, {416, 4}, {640, 2}};
            break;
        case 4:
            list = {{832, 0}, {576, 2}};
            break;
        case 5:
            list = {{576, 0}, {406, 3}, {420, 1}, {416, 4}};
            addSteps(list, 240, 576, 8);
            break;
        case 6:
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
            list = {{576, 0}, {408, 1}};
            break;
        case 15:
            list = {{576, 0}, {408, 1}, {384, 2}, {406, 3}};
            break;
        case 16:
            list = {{576, 0}, {408, 1}, {384, 2}, {406, 3}, {276, 5}, {256, 6}};
            break;
        case 17:
        case 18:
            list = {{384, 0}, {406, 3}, {432, 1}};
            break;
        case 19:
            list = {{576, 0}, {406, 3}, {384, 2}};
            break;
        case 20: {
            list = {{576, 0}, {638, 1}, {568, 2}, {600, 3}, {672, 4}, {408, 6}, {620, 7}};
            static constexpr std::int32_t widths[] = {178, 190, 202, 214, 226, 238, 248, 260, 272, 284, 296,
                                                      308, 320, 332, 344, 356, 366, 378, 390, 402, 414, 426,
                                                      438, 450, 462, 474, 486, 496, 508, 520, 532, 544, 556,
                                                      568, 580, 592, 604, 614, 626, 638, 650, 662};
            std::uint8_t code = 15;
            for (std::int32_t width : widths) {
                list.push_back({width, code++});
            }
            break;
        }
        case 21:
            list = {{576, 0}, {432, 1}, {384, 2}, {406, 3}, {276, 6}, {420, 7}};
            addSteps(list, 120, 576, 8);
            break;
        case 27:
            list = {{576, 0}, {406, 3}};
            addSteps(list, 240, 576, 8);
            break;
        case 28:
        case 30:
            list = {{576, 0}, {406, 3}};
            break;
        case 29:
            list = {{576, 0}, {408, 1}, {384, 2}, {406, 3}};
            break;
        case 31:
            list = {{210, 0}, {160, 1}, {200, 2}, {150, 3}, {190, 4}, {180, 5}};
            break;
        case 32:
            addSteps(list, 320, 640, 8);
            break;
        case 33:
            list = {{432, 0}, {448, 2}};
            break;
        case 34:
            list = {{576, 0}, {432, 1}, {448, 2}, {544, 3}, {640, 4}};
            break;
        case 35:
            list = {{832, 0}, {640, 1}, {576, 2}};
            break;
        case 36:
            list = {{576, 0}, {432, 1}, {448, 2}, {544, 3}, {640, 4}};
            addSteps(list, 432, 640, 16);
            break;
        default:
            break;
    }
    return list;
}

std::optional<std::uint8_t> PrintableAreaTable::chooseCode(PrinterModel model, std::int32_t dots) {
    const std::vector<PrintableAreaInfo> list = entries(model);
    if (list.empty()) {
        return std::nullopt;
    }
    // First the narrowest width that holds the dots; failing that, the widest.
    const PrintableAreaInfo* best = nullptr;
    std::int64_t bestDifference = 0;
    for (const PrintableAreaInfo& e : list) {
        const std::int64_t difference = static_cast<std::int64_t>(e.width) - dots;
        if (difference >= 0 && (best == nullptr || difference < bestDifference)) {
            best = &e;
            bestDifference = difference;
        }
    }
    if (best == nullptr) {
        for (const PrintableAreaInfo& e : list) {
            const std::int64_t difference = static_cast<std::int64_t>(dots) - e.width;
            if (best == nullptr || difference < bestDifference) {
                best = &e;
                bestDifference = difference;
            }
        }
    }
    return best->code;
}

}  // namespace PrinterCommandBuilder::Document
