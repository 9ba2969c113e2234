#include "prelix10/command/printer/Pdf417.hpp"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "prelix10/command/ORVOPDF417.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"
#include "prelix10/command/printer/SymbolRaster.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

using VelmarCommandParser::StrUtil;

constexpr std::size_t kCommandDataLimit = 65536;  // two length bytes
constexpr std::size_t kEscposDataLimit = 65533;   // the length also counts three parameter bytes

std::vector<std::uint8_t> decode(const std::string& content) {
    ByteBuffer scratch;
    StrUtil::decodeEscape(content, &scratch, nullptr, nullptr);
    return scratch.toVector();
}

// Level n as the printer's byte: n itself, or its ASCII digit for EscPos. False for an unknown level.
bool mapLevel(Pdf417EccLevel level, bool asciiDigit, std::uint8_t& value) {
    std::map<Pdf417EccLevel, std::uint8_t> table;
    for (int n = 0; n <= 8; ++n)
        table[static_cast<Pdf417EccLevel>(n)] = static_cast<std::uint8_t>(asciiDigit ? 0x30 + n : n);
    const auto it = table.find(level);
    if (it == table.end()) return false;
    value = it->second;
    return true;
}

int clampLine(int line) {
    if (line < 0) return 0;
    if (line == 1 || line == 2) return 3;
    return std::min(line, 90);
}

// Rows and columns are never both automatic.
int clampColumn(int clampedLine, int column) {
    if (clampedLine == 0 && column < 1) return 1;
    return std::clamp(column, 0, 30);
}

std::uint8_t low(std::size_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t high(std::size_t v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }

}  // namespace

void Pdf417::orvoCommon(ByteBuffer* buffer, const std::string& content, int line, int column, Pdf417EccLevel level,
                        int module, int aspect, PrintSettingsInformation* settings, PrinterModel model) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    std::uint8_t e = 0;
    if (!mapLevel(level, false, e)) return;
    const int l = clampLine(line);
    const int c = clampColumn(l, column);
    const int maxModule = ModelChecker::getPrintResolution(model) == PrintResolution::Dpi300 ? 15 : 10;
    const auto m = static_cast<std::uint8_t>(std::clamp(module, 1, maxModule));
    const auto a = static_cast<std::uint8_t>(std::clamp(aspect, 1, 10));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kCommandDataLimit) return;
    buffer->add({0x1B, 0x1D, 0x78, 0x53, 0x30, 0x01, static_cast<std::uint8_t>(l), static_cast<std::uint8_t>(c)});
    buffer->add({0x1B, 0x1D, 0x78, 0x53, 0x31, e});
    buffer->add({0x1B, 0x1D, 0x78, 0x53, 0x32, m});
    buffer->add({0x1B, 0x1D, 0x78, 0x53, 0x33, a});
    buffer->add({0x1B, 0x1D, 0x78, 0x44, low(data.size()), high(data.size())});
    buffer->add(data);
    buffer->add({0x1B, 0x1D, 0x78, 0x50});
    settings->isLineHead = true;
}

void Pdf417::escpos(ByteBuffer* buffer, const std::string& content, int line, int column, Pdf417EccLevel level,
                    int module, int aspect, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    std::uint8_t e = 0;
    if (!mapLevel(level, true, e)) return;
    const int l = clampLine(line);
    const int c = clampColumn(l, column);
    const auto m = static_cast<std::uint8_t>(std::clamp(module, 2, 8));
    const auto a = static_cast<std::uint8_t>(std::clamp(aspect, 2, 8));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kEscposDataLimit) return;
    const std::size_t p = data.size() + 3;
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x41, static_cast<std::uint8_t>(c)});
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x42, static_cast<std::uint8_t>(l)});
    buffer->add({0x1D, 0x28, 0x6B, 0x04, 0x00, 0x30, 0x45, 0x30, e});
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x43, m});
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x44, a});
    buffer->add({0x1D, 0x28, 0x6B, low(p), high(p), 0x30, 0x50, 0x30});
    buffer->add(data);
    buffer->add({0x1D, 0x28, 0x6B, 0x03, 0x00, 0x30, 0x51, 0x30});
    settings->isLineHead = true;
}

void Pdf417::escposMobile(ByteBuffer* buffer, const std::string& content, int, int column, Pdf417EccLevel level,
                          int module, int aspect, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    std::uint8_t e = 0;
    if (!mapLevel(level, false, e)) return;
    const auto w = static_cast<std::uint8_t>(std::clamp(module, 1, 8));
    const auto c = static_cast<std::uint8_t>(std::clamp(column, 1, 30));
    const auto a = static_cast<std::uint8_t>(std::clamp(aspect, 2, 5));
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() >= kCommandDataLimit) return;
    if (!settings->isLineHead) buffer->add({0x0A});
    buffer->add({0x1D, 0x5A, 0x00});
    buffer->add({0x1D, 0x77, w});
    buffer->add({0x1B, 0x5A, c, e, a, low(data.size()), high(data.size())});
    buffer->add(data);
    settings->isLineHead = false;
}

void Pdf417::orvoGraphic(ByteBuffer* buffer, const std::string& content, int line, int column, Pdf417EccLevel level,
                         int module, int aspect, PrintSettingsInformation* settings) {
    if (buffer == nullptr || settings == nullptr) return;
    std::uint8_t e = 0;
    if (!mapLevel(level, false, e)) return;
    const int l = clampLine(line);
    const int c = clampColumn(l, column);
    const int scale = module < 2 ? 1 : std::min(module, 8);
    const std::vector<std::uint8_t> data = decode(content);
    if (data.size() > ORVOPDF417InputCapacity) return;

    auto information = std::make_unique<ORVOPDF417InformationStruct>();
    ORVOPDF417Initialize(information.get());
    information->sizeMode = 0;
    information->eccMode = 0;
    information->requestedRows = static_cast<std::uint16_t>(l);
    information->requestedColumns = static_cast<std::uint16_t>(c);
    information->requestedEccLevel = e;
    information->rowHeight = static_cast<std::int16_t>(std::clamp(aspect, 2, 10));
    std::copy(data.begin(), data.end(), information->input);
    information->inputLength = static_cast<std::uint16_t>(data.size());
    if (ORVOPDF417Generate(information.get()) <= 0) return;
    SymbolRaster::appendRows(buffer, &information->pattern[0][0], ORVOPDF417PatternRowBytes,
                             information->patternHeight, information->patternWidth, scale);
}

void Pdf417::orvoDotImpact(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                           PrintSettingsInformation*) {}

void Pdf417::orvoYalme1(ByteBuffer*, const std::string&, int, int, Pdf417EccLevel, int, int,
                        PrintSettingsInformation*) {}

}  // namespace PrinterCommandBuilder::Printer
