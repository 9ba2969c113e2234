#include "prelix10/command/printer/HorizontalTabPositions.hpp"

#include "prelix10/command/printer/MethodChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

// 1B 44, the stops (ascending, at most maxCount, each at most 255), 00. The record keeps the list
// as given.
void emitStops(ByteBuffer* buffer, const std::vector<int>& positions, std::size_t maxCount,
               PrintSettingsInformation* settings) {
    std::vector<std::uint8_t> command = {0x1B, 0x44};
    int previous = -1;
    std::size_t count = 0;
    for (int position : positions) {
        if (count >= maxCount || position < 0) break;
        const int stop = position > 255 ? 255 : position;
        if (stop <= previous) break;
        command.push_back(static_cast<std::uint8_t>(stop));
        previous = stop;
        ++count;
    }
    command.push_back(0x00);
    buffer->add(command);
    settings->horizontalTabPositions = positions;
}

bool pageModeAllows(const PrintSettingsInformation* settings, PrinterModel model) {
    return MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition());
}

}  // namespace

void HorizontalTabPositions::kestrin(ByteBuffer* buffer, const std::vector<int>& positions,
                                     PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!pageModeAllows(settings, model)) return;
    emitStops(buffer, positions, 16, settings);
}

void HorizontalTabPositions::orvoLine(ByteBuffer* buffer, const std::vector<int>& positions,
                                      PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!pageModeAllows(settings, model)) return;
    emitStops(buffer, positions, 16, settings);
}

void HorizontalTabPositions::orvoDotImpact(ByteBuffer* buffer, const std::vector<int>& positions,
                                           PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!pageModeAllows(settings, model)) return;
    emitStops(buffer, positions, 32, settings);
}

void HorizontalTabPositions::escposCommon(ByteBuffer* buffer, const std::vector<int>& positions,
                                          PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    emitStops(buffer, positions, 32, settings);
}

void HorizontalTabPositions::orvoGraphic(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                         PrinterModel) {}

void HorizontalTabPositions::orvoYalme1(ByteBuffer*, const std::vector<int>&, PrintSettingsInformation*,
                                        PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
