#include "prelix10/command/printer/Barcode.hpp"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "prelix10/command/Code128CodeSetChooser.hpp"
#include "prelix10/command/StrUtil.hpp"
#include "prelix10/command/printer/MathUtil.hpp"
#include "prelix10/command/printer/MethodChecker.hpp"
#include "prelix10/command/printer/ModelChecker.hpp"

namespace PrinterCommandBuilder::Printer {

namespace {

using VelmarCommandParser::StrUtil;

// ESC/POS symbology data is counted by one length byte.
constexpr std::size_t maxEscposDataLength = 255;

std::optional<std::uint8_t> pagePrinterSymbology(BarcodeType type) {
    static const std::map<BarcodeType, std::uint8_t> codes = {
        {BarcodeType::UpcE, 0x00},   {BarcodeType::UpcA, 0x01},  {BarcodeType::Jan8, 0x02},
        {BarcodeType::Ean8, 0x02},   {BarcodeType::Jan13, 0x03}, {BarcodeType::Ean13, 0x03},
        {BarcodeType::Code39, 0x04}, {BarcodeType::Itf, 0x05},   {BarcodeType::Code128, 0x06},
        {BarcodeType::Code93, 0x07}, {BarcodeType::NW7, 0x08},
    };
    const auto it = codes.find(type);
    if (it == codes.end()) return std::nullopt;
    return it->second;
}

std::optional<std::uint8_t> escposSymbology(BarcodeType type) {
    static const std::map<BarcodeType, std::uint8_t> codes = {
        {BarcodeType::UpcA, 0x41},   {BarcodeType::UpcE, 0x42},    {BarcodeType::Jan13, 0x43},
        {BarcodeType::Ean13, 0x43},  {BarcodeType::Jan8, 0x44},    {BarcodeType::Ean8, 0x44},
        {BarcodeType::Code39, 0x45}, {BarcodeType::Itf, 0x46},     {BarcodeType::NW7, 0x47},
        {BarcodeType::Code93, 0x48}, {BarcodeType::Code128, 0x49},
    };
    const auto it = codes.find(type);
    if (it == codes.end()) return std::nullopt;
    return it->second;
}

// 0 for LevelMinus1, 1 for Level0, 2 for LevelPlus1; an unknown level counts as Level0.
int ratioIndex(BarRatioLevel level) {
    switch (level) {
        case BarRatioLevel::LevelMinus1:
            return 0;
        case BarRatioLevel::LevelPlus1:
            return 2;
        case BarRatioLevel::Level0:
            break;
    }
    return 1;
}

// The module-width byte of the page-printer barcode: module code plus ratio code.
std::uint8_t pagePrinterModuleWidth(BarcodeType type, int barDots, BarRatioLevel level,
                                    PrintResolution resolution) {
    const int ratio = ratioIndex(level);
    const bool dpi300 = resolution == PrintResolution::Dpi300;
    if (type == BarcodeType::Itf) {
        const int dots = barDots < 3 ? 2 : barDots == 3 ? 3 : barDots <= 5 ? 4 : 6;
        static const std::map<int, int> module = {{2, 1}, {3, 8}, {4, 2}, {6, 3}};
        static const std::map<int, std::vector<int>> ratios = {
            {2, {3, 0, 6}}, {3, {0, 0, 0}}, {4, {3, 0, 7}}, {6, {3, 3, 0}}};
        return static_cast<std::uint8_t>(module.at(dots) + ratios.at(dots)[ratio]);
    }
    const int dots = std::clamp(barDots, 2, dpi300 ? 6 : 4);
    const int moduleCode = dots - 1;
    if (type == BarcodeType::Code39 || type == BarcodeType::NW7) {
        static const int ratios[3][3] = {{6, 3, 0}, {8, 7, 6}, {10, 9, 8}};
        const int row = dots <= 4 ? 0 : dots - 4;
        return static_cast<std::uint8_t>(moduleCode + ratios[row][ratio]);
    }
    return static_cast<std::uint8_t>(moduleCode);
}

const StrUtil::CharacterMap& pagePrinterCharacterMap() {
    static const StrUtil::CharacterMap map = [] {
        StrUtil::CharacterMap m;
        static const char* names = "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
        for (unsigned c = 0; c < 0x20; ++c) {
            m[static_cast<unsigned char>(c)] = std::string("%") + names[c];
        }
        m['%'] = "%0";
        m[0x7F] = "%5";
        return m;
    }();
    return map;
}

const StrUtil::NameMap& pagePrinterCode128Names() {
    static const StrUtil::NameMap map = {
        {"FNC1", "%1"},   {"FNC2", "%2"},    {"FNC3", "%3"},   {"FNC4", "%4"},    {"START_A", "%6"},
        {"CODE_A", "%6"}, {"START_B", "%7"}, {"CODE_B", "%7"}, {"START_C", "%8"}, {"CODE_C", "%8"},
    };
    return map;
}

const StrUtil::NameMap& mobileCode128Names() {
    static const StrUtil::NameMap map = {
        {"FNC1", "{1"},   {"FNC2", "{2"},    {"FNC3", "{3"},   {"FNC4", "{4"},
        {"SHIFT", "{S"},  {"START_A", "{A"}, {"CODE_A", "{A"}, {"START_B", "{B"},
        {"CODE_B", "{B"}, {"START_C", "{C"}, {"CODE_C", "{C"},
    };
    return map;
}

const StrUtil::CharacterMap& mobileCode128Characters() {
    static const StrUtil::CharacterMap map = {{'{', "{{"}};
    return map;
}

const StrUtil::NameMap& escposCode128Functions() {
    static const StrUtil::NameMap map = {
        {"FNC1", std::string(1, static_cast<char>(Code128CodeSetChooser::fnc1))},
        {"FNC2", std::string(1, static_cast<char>(Code128CodeSetChooser::fnc2))},
        {"FNC3", std::string(1, static_cast<char>(Code128CodeSetChooser::fnc3))},
        {"FNC4", std::string(1, static_cast<char>(Code128CodeSetChooser::fnc4))},
    };
    return map;
}

std::uint8_t clampToByte(int value, int low, int high) {
    return static_cast<std::uint8_t>(std::clamp(value, low, high));
}

std::vector<std::uint8_t> decode(const std::string& content, const StrUtil::NameMap* names,
                                 const StrUtil::CharacterMap* characters) {
    ByteBuffer scratch;
    StrUtil::decodeEscape(content, &scratch, names, characters);
    return scratch.toVector();
}

void escposCommon(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri, int barDots,
                  PrintSettingsInformation* settings, double height, bool mobile) {
    if (buffer == nullptr || settings == nullptr) return;
    const auto m = escposSymbology(type);
    if (!m) return;
    const std::uint8_t t = hri ? (mobile ? 0x31 : 0x32) : 0x30;
    const std::uint8_t h =
        clampToByte(MathUtil::mmToDotRound(height, 0.125, BaseMagnificationType::Standard), 1, 255);
    const std::uint8_t w = clampToByte(barDots, 1, mobile ? 8 : 6);

    std::vector<std::uint8_t> data;
    if (type == BarcodeType::Code128 && !mobile) {
        const std::vector<std::uint8_t> decoded = decode(content, &escposCode128Functions(), nullptr);
        data = Code128CodeSetChooser::choose(decoded.data(), decoded.size());
    } else if (type == BarcodeType::Code128) {
        data = decode(content, &mobileCode128Names(), &mobileCode128Characters());
    } else {
        data = decode(content, nullptr, nullptr);
    }
    if (data.size() > maxEscposDataLength) return;

    buffer->add({0x1D, 0x48, t, 0x1D, 0x68, h, 0x1D, 0x77, w, 0x1D, 0x6B, *m,
                 static_cast<std::uint8_t>(data.size())});
    buffer->add(data);
    if (mobile) buffer->add({0x0A});
    settings->isLineHead = true;
}

}  // namespace

void Barcode::orvoCommon(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                         int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                         PrinterModel model, double height) {
    if (buffer == nullptr || settings == nullptr) return;
    if (!MethodChecker::isValidInPageMode(settings, model, MethodCheckCondition())) return;
    const auto s = pagePrinterSymbology(type);
    if (!s) return;
    const PrintResolution resolution = ModelChecker::getPrintResolution(model);
    const std::uint8_t t = hri ? 0x02 : 0x01;
    const std::uint8_t w = pagePrinterModuleWidth(type, barDots, barRatioLevel, resolution);
    const std::uint8_t h =
        clampToByte(MathUtil::mmToDotRound(height, MathUtil::getMmToDotCoefficient(resolution),
                                           BaseMagnificationType::Standard),
                    1, 255);
    buffer->add({0x1B, 0x62, *s, t, w, h});
    if (type == BarcodeType::Code128) {
        StrUtil::decodeEscape(content, buffer, &pagePrinterCode128Names(), &pagePrinterCharacterMap());
    } else if (type == BarcodeType::Code93) {
        StrUtil::decodeEscape(content, buffer, nullptr, &pagePrinterCharacterMap());
    } else {
        StrUtil::decodeEscape(content, buffer, nullptr, nullptr);
    }
    buffer->add({0x1E});
    settings->isLineHead = true;
}

void Barcode::orvoDotImpact(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                            int barDots, BarRatioLevel barRatioLevel, PrintSettingsInformation* settings,
                            double height) {
    if (buffer == nullptr || settings == nullptr) return;
    if (type != BarcodeType::Itf) return;
    const std::uint8_t t = hri ? 0x02 : 0x01;
    const std::uint8_t w = barDots >= 2 ? 3 : (barRatioLevel == BarRatioLevel::LevelPlus1 ? 2 : 1);
    const std::uint8_t h = clampToByte(MathUtil::saturateToInt32(height / 0.352778), 1, 255);
    buffer->add({0x1B, 0x62, 0x05, t, w, h});
    StrUtil::decodeEscape(content, buffer, nullptr, nullptr);
    buffer->add({0x1E});
    settings->isLineHead = true;
}

void Barcode::escpos(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri, int barDots,
                     BarRatioLevel, PrintSettingsInformation* settings, double height) {
    escposCommon(buffer, type, content, hri, barDots, settings, height, false);
}

void Barcode::escposMobile(ByteBuffer* buffer, BarcodeType type, const std::string& content, bool hri,
                           int barDots, BarRatioLevel, PrintSettingsInformation* settings, double height) {
    escposCommon(buffer, type, content, hri, barDots, settings, height, true);
}

void Barcode::orvoGraphic(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                          PrintSettingsInformation*, double) {}

void Barcode::orvoYalme1(ByteBuffer*, BarcodeType, const std::string&, bool, int, BarRatioLevel,
                         PrintSettingsInformation*, double) {}

}  // namespace PrinterCommandBuilder::Printer
