#include "prelix10/command/printer/Logo.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace PrinterCommandBuilder::Printer {
namespace {

bool isPrintableAscii(char c) {
    return c >= 0x20 && c <= 0x7E;
}

// The two key characters of a stored logo, when the key has at least two and both are printable.
bool keyCharacters(const std::string& key, uint8_t* k1, uint8_t* k2) {
    if (key.size() < 2 || !isPrintableAscii(key[0]) || !isPrintableAscii(key[1])) return false;
    *k1 = static_cast<uint8_t>(key[0]);
    *k2 = static_cast<uint8_t>(key[1]);
    return true;
}

// The key read as a decimal number (an optional sign, then digits only), saturated to 64 bits;
// nothing when it is not a number.
std::optional<int64_t> keyNumber(const std::string& key) {
    size_t i = 0;
    bool negative = false;
    if (i < key.size() && (key[i] == '+' || key[i] == '-')) negative = key[i++] == '-';
    if (i == key.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return std::nullopt;
        value = std::min<int64_t>(value * 10 + (key[i] - '0'), INT64_C(1) << 40);
    }
    return negative ? -value : value;
}

uint8_t magnificationByte(int magnification) {
    return magnification < 2 ? 1 : 2;
}

}  // namespace

void Logo::kestrin(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                   PrintSettingsInformation* settings, PrinterModel) {
    uint8_t k1 = 0;
    uint8_t k2 = 0;
    if (buffer == nullptr || settings == nullptr || !keyCharacters(keyCode, &k1, &k2)) return;
    buffer->add({0x1B, 0x1D, 0x28, 0x4C, 0x06, 0x00, 0x30, 0x45, k1, k2, magnificationByte(width),
                 magnificationByte(height)});
    settings->isLineHead = true;
}

void Logo::orvoCommon(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                      PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const std::optional<int64_t> number = keyNumber(keyCode);
    if (!number || *number < 1 || *number > 255) return;
    uint8_t m = 0x30;
    if (width >= 2 && height >= 2) {
        m = 0x33;
    } else if (width >= 2) {
        m = 0x31;
    } else if (height >= 2) {
        m = 0x32;
    }
    buffer->add({0x1B, 0x1C, 0x70, static_cast<uint8_t>(*number), m});
    settings->isLineHead = true;
}

void Logo::escpos(ByteBuffer* buffer, const std::string& keyCode, int width, int height,
                  PrintSettingsInformation* settings, PrinterModel) {
    uint8_t k1 = 0;
    uint8_t k2 = 0;
    if (buffer == nullptr || settings == nullptr || !keyCharacters(keyCode, &k1, &k2)) return;
    buffer->add({0x1D, 0x38, 0x4C, 0x06, 0x00, 0x00, 0x00, 0x30, 0x45, k1, k2, magnificationByte(width),
                 magnificationByte(height)});
}

void Logo::escposMobile(ByteBuffer* buffer, const std::string& keyCode, int, int,
                        PrintSettingsInformation* settings, PrinterModel) {
    if (buffer == nullptr || settings == nullptr) return;
    const std::optional<int64_t> number = keyNumber(keyCode);
    if (!number) return;
    buffer->add({0x1B, 0x66, static_cast<uint8_t>(std::clamp<int64_t>(*number, 0, 255))});
    settings->isLineHead = true;
}

void Logo::orvoGraphic(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

void Logo::orvoYalme1(ByteBuffer*, const std::string&, int, int, PrintSettingsInformation*, PrinterModel) {}

}  // namespace PrinterCommandBuilder::Printer
